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

QString portLabel(const SerialPortInfo& port)
{
    QString label = port.portName;
    const QString description = port.friendlyName.trimmed();
    // Linux often describes a port by its own name again; that says nothing new.
    if (!description.isEmpty() && description != port.portName)
        label += QStringLiteral(" \u2013 ") + description;
    QStringList adapter;
    if (!port.enumeratorName.trimmed().isEmpty())
        adapter << port.enumeratorName.trimmed();
    if (port.vendorId != 0 || port.productId != 0)
        adapter << QStringLiteral("USB %1:%2")
                       .arg(port.vendorId, 4, 16, QLatin1Char('0'))
                       .arg(port.productId, 4, 16, QLatin1Char('0'));
    if (!adapter.isEmpty())
        label += QStringLiteral(" (%1)").arg(adapter.join(QStringLiteral(", ")));
    return label;
}

int preferredPort(const QList<SerialPortInfo>& ports, const QString& stored)
{
    if (ports.isEmpty())
        return -1;
    int usb = -1;
    int usbCount = 0;
    for (int i = 0; i < ports.size(); ++i) {
        if (!stored.isEmpty() && ports.at(i).portName == stored)
            return i;
        if (ports.at(i).vendorId != 0) {
            usb = i;
            ++usbCount;
        }
    }
    // With several adapters plugged in, guessing would be worse than the system's order.
    return usbCount == 1 ? usb : 0;
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
