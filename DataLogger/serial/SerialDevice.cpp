#include "SerialDevice.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QtDebug>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace Hv {

SerialDevice::SerialDevice(const QString& portName, QObject* parent)
    : QIODevice(parent)
    , m_portName(portName)
{ }

SerialDevice::~SerialDevice()
{
    close();
}

QString SerialDevice::openErrorMessage(const QString& reason)
{
    return QStringLiteral("SerialDevice::open failed with error: %1").arg(reason);
}

bool SerialDevice::fail(const QString& message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    setErrorString(message);
    qDebug().noquote() << message;
    return false;
}

SerialDevice::OpenFailure SerialDevice::classifyOpenError(int serialPortError, int accessErrno)
{
    switch (serialPortError) {
    case QSerialPort::NoError:
        return OpenFailure::None;
    case QSerialPort::DeviceNotFoundError:
        return OpenFailure::NotFound;
    case QSerialPort::PermissionError:
        return accessErrno == EACCES || accessErrno == EPERM ? OpenFailure::PermissionDenied
                                                             : OpenFailure::InUse;
    default:
        return OpenFailure::Other;
    }
}

bool SerialDevice::open(OpenMode mode, int readTimeoutMs, int writeTimeoutMs)
{
    m_openFailure = OpenFailure::None;
    qDebug("SerialDevice::open()");
    close();
    m_readTimeoutMs = readTimeoutMs;
    m_writeTimeoutMs = writeTimeoutMs;
    // A longer path could only be opened cut short, which would be another file.
    if (m_portName.isEmpty() || m_portName.toLocal8Bit().size() >= PATH_MAX) {
        m_openFailure = OpenFailure::NotFound;
        return fail(openErrorMessage(
            QString::fromLocal8Bit(std::strerror(m_portName.isEmpty() ? ENOENT : ENAMETOOLONG))));
    }

    m_port = std::make_unique<QSerialPort>();
    m_port->setPortName(m_portName);
    // QSerialPort takes the port for exclusive use (a lock file and TIOCEXCL).
    if (!m_port->open(QIODevice::ReadWrite)) {
        const QString reason = m_port->errorString();
        const int accessErrno = ::access(m_portName.toLocal8Bit().constData(), R_OK | W_OK) == 0 ? 0 : errno;
        m_openFailure = classifyOpenError(m_port->error(), accessErrno);
        m_port.reset();
        return fail(openErrorMessage(reason));
    }
    applySettings(*m_port);
    customizeState(*m_port);
    if (m_port->error() != QSerialPort::NoError) {
        m_openFailure = OpenFailure::Other;
        const QString reason = m_port->errorString();
        m_port.reset();
        return fail(openErrorMessage(reason));
    }
    // Nothing left over from an earlier conversation on the line.
    m_port->clear();
    m_port->clearError();
    if (!QIODevice::open(mode | QIODevice::Unbuffered)) {
        m_openFailure = OpenFailure::Other;
        m_port.reset();
        return fail(openErrorMessage(QStringLiteral("the device could not be opened in this mode")));
    }
    return true;
}

void SerialDevice::applySettings(QSerialPort& port) const
{
    const SerialPortSettings& s = m_settings;
    const SerialPortSettings::Values& v = s.values();
    if (s.isAssigned(SerialPortSettings::BaudRate))
        port.setBaudRate(qint32(v.baudRate));
    if (s.isAssigned(SerialPortSettings::ByteSize) && v.byteSize >= 5 && v.byteSize <= 8)
        port.setDataBits(QSerialPort::DataBits(v.byteSize));
    if (s.isAssigned(SerialPortSettings::StopBits)) {
        static const QSerialPort::StopBits stops[]
            = { QSerialPort::OneStop, QSerialPort::OneAndHalfStop, QSerialPort::TwoStop };
        if (v.stopBits < 3)
            port.setStopBits(stops[v.stopBits]);
    }
    if (s.isAssigned(SerialPortSettings::Parity)) {
        static const QSerialPort::Parity parities[] = { QSerialPort::NoParity, QSerialPort::OddParity,
            QSerialPort::EvenParity, QSerialPort::MarkParity, QSerialPort::SpaceParity };
        if (v.parity < 5)
            port.setParity(parities[v.parity]);
    }
    const bool flowAssigned = s.isAssigned(SerialPortSettings::FOutxCtsFlow)
        || s.isAssigned(SerialPortSettings::FOutX) || s.isAssigned(SerialPortSettings::FInX)
        || s.isAssigned(SerialPortSettings::FRtsControl);
    const bool hardwareFlow = v.fOutxCtsFlow || v.fRtsControl == 2;
    if (flowAssigned) {
        port.setFlowControl(hardwareFlow ? QSerialPort::HardwareControl
                : (v.fOutX || v.fInX)    ? QSerialPort::SoftwareControl
                                         : QSerialPort::NoFlowControl);
    }
    // A pseudo-terminal has no modem lines and refuses DTR and RTS; that is not a failure.
    const QSerialPort::SerialPortError before = port.error();
    if (s.isAssigned(SerialPortSettings::FDtrControl) && v.fDtrControl < 2)
        port.setDataTerminalReady(v.fDtrControl == 1);
    if (s.isAssigned(SerialPortSettings::FRtsControl) && v.fRtsControl < 2 && !hardwareFlow)
        port.setRequestToSend(v.fRtsControl == 1);
    if (before == QSerialPort::NoError)
        port.clearError();
}

void SerialDevice::customizeState(QSerialPort&) { }

void SerialDevice::close()
{
    if (m_port) {
        qDebug("SerialDevice::close()");
        m_port->close();
        m_port.reset();
    }
    if (isOpen())
        QIODevice::close();
}

qint64 SerialDevice::readData(char* data, qint64 maxSize)
{
    if (!m_port)
        return -1;
    if (m_port->bytesAvailable() == 0) {
        // The wait is cut into short slices only to notice a stop request; the line is
        // watched without a gap, so the first byte still ends the wait at once.
        constexpr int slice = 20;
        QElapsedTimer waited;
        waited.start();
        bool ready = false;
        while (!ready) {
            const int left = m_readTimeoutMs - int(waited.elapsed());
            if (left <= 0 || (m_abort && m_abort->load()) || (m_wake && m_wake->load()))
                return 0;
            ready = m_port->waitForReadyRead(m_abort || m_wake ? qMin(left, slice) : left);
            if (!ready && m_port->error() != QSerialPort::TimeoutError
                && m_port->error() != QSerialPort::NoError) {
                fail(QStringLiteral("SerialDevice::readData failed with error: %1")
                         .arg(m_port->errorString()));
                return -1;
            }
            m_port->clearError();
        }
    }
    const qint64 n = m_port->read(data, maxSize);
    if (n < 0)
        fail(QStringLiteral("SerialDevice::readData failed with error: %1").arg(m_port->errorString()));
    return n;
}

qint64 SerialDevice::writeData(const char* data, qint64 size)
{
    if (!m_port)
        return -1;
    const qint64 n = m_port->write(data, size);
    if (n < 0) {
        fail(QStringLiteral("SerialDevice::writeData failed with error: %1").arg(m_port->errorString()));
        return -1;
    }
    // Bytes still queued after the time-out go out with the next write or read; they count as
    // written, so that nobody sends them again.
    if (m_port->bytesToWrite() > 0 && !m_port->waitForBytesWritten(m_writeTimeoutMs)
        && m_port->error() != QSerialPort::TimeoutError && m_port->error() != QSerialPort::NoError) {
        fail(QStringLiteral("SerialDevice::writeData failed with error: %1").arg(m_port->errorString()));
        return -1;
    }
    m_port->clearError();
    return n;
}

} // namespace Hv
