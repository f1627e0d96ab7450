#include "SerialPortInfo.h"

#include <QSerialPortInfo>

namespace Hv {

QList<SerialPortInfo> extraPorts(const QString& variable)
{
    QList<SerialPortInfo> ports;
    const QStringList paths = variable.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& path : paths) {
        SerialPortInfo info;
        info.portName = path;
        info.physicalName = path;
        info.devicePath = path;
        ports.append(info);
    }
    return ports;
}

QList<SerialPortInfo> enumeratePorts()
{
    QList<SerialPortInfo> ports;
    const QList<QSerialPortInfo> available = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& port : available) {
        SerialPortInfo info;
        info.portName = port.portName();
        info.physicalName = port.systemLocation();
        info.devicePath = port.systemLocation();
        info.deviceObjectName = port.systemLocation();
        info.friendlyName = port.description();
        info.enumeratorName = port.manufacturer();
        info.vendorId = port.hasVendorIdentifier() ? port.vendorIdentifier() : 0;
        info.productId = port.hasProductIdentifier() ? port.productIdentifier() : 0;
        ports.append(info);
    }
    ports.append(extraPorts(qEnvironmentVariable("HALVERN_EXTRA_PORTS")));
    return ports;
}

} // namespace Hv
