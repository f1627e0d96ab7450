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

// What the port list shows for a port: its name, then the system's description and the
// adapter (manufacturer, USB vendor and product ids) where they are known, such as
// "ttyUSB0 – FT232R USB UART (FTDI, USB 0403:6001)".
QString portLabel(const SerialPortInfo& port);

// The port to preselect: the one named stored (a port name) when present, else the only USB
// adapter, else the first; -1 for an empty list.
int preferredPort(const QList<SerialPortInfo>& ports, const QString& stored);

// The extra ports alone, from a HALVERN_EXTRA_PORTS value.
QList<SerialPortInfo> extraPorts(const QString& variable);

} // namespace Hv
