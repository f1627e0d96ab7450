#pragma once

#include <QList>
#include <QString>

namespace Hv {

// One serial port present on the machine.
struct SerialPortInfo
{
    QString portName; // what the user sees, such as ttyUSB0
    QString physicalName; // the path that is opened, such as /dev/ttyUSB0
    QString devicePath; // same as physicalName; the port list keeps it as item data
    QString deviceObjectName;
    QString friendlyName; // the port's description
    QString enumeratorName; // the manufacturer, where the system knows it
    int vendorId = 0;
    int productId = 0;
};

// The ports the system reports, in its order, followed by the paths listed in the environment
// variable HALVERN_EXTRA_PORTS (separated by ':'), each named by its path. Pseudo-terminals,
// such as the instrument simulator's, are only reachable that way.
QList<SerialPortInfo> enumeratePorts();

// The extra ports alone, from a HALVERN_EXTRA_PORTS value.
QList<SerialPortInfo> extraPorts(const QString& variable);

} // namespace Hv
