#pragma once

#include "SerialPortSettings.h"

#include <QIODevice>
#include <atomic>
#include <memory>

class QSerialPort;

namespace Hv {

// One serial port used with blocking calls. Everything but construction and destruction runs
// on the thread that drives the port (the download's worker): the QSerialPort is created,
// opened, read, written and closed there.
class SerialDevice : public QIODevice
{
    Q_OBJECT
public:
    // Why the last open failed, as far as the user can do something about it.
    enum class OpenFailure { None, NotFound, PermissionDenied, InUse, Other };

    explicit SerialDevice(const QString& portName, QObject* parent = nullptr);
    ~SerialDevice() override;

    QString portName() const { return m_portName; }
    void setPortSettings(const SerialPortSettings& settings) { m_settings = settings; }
    const SerialPortSettings& portSettings() const { return m_settings; }

    // Opens the port for exclusive use with the line set-up applied. A read waits at most
    // readTimeoutMs for the first byte; a write waits at most writeTimeoutMs to go out.
    virtual bool open(OpenMode mode, int readTimeoutMs, int writeTimeoutMs);
    bool open(OpenMode mode) override { return open(mode, 110, 110); }
    void close() override;
    bool isSequential() const override { return true; }

    // A read gives up its wait soon after this flag is raised (by the thread that stops the
    // reader), so that stopping never waits out a whole read time-out.
    void setAbortFlag(const std::atomic<bool>* flag) { m_abort = flag; }
    // The same for bytes queued to be sent: they need not wait for the read time-out.
    void setWakeFlag(const std::atomic<bool>* flag) { m_wake = flag; }

    OpenFailure openFailure() const { return m_openFailure; }
    // QSerialPort reports a port we may not open and one another program holds with the same
    // error; whether we may read and write the device node (accessErrno from access(), 0 when
    // we may) tells them apart.
    static OpenFailure classifyOpenError(int serialPortError, int accessErrno);

    // How an error is reported, as the serial layer writes it to standard error.
    static QString openErrorMessage(const QString& reason);

protected:
    // Reads what is waiting, else waits up to the read time-out for the first byte; 0 when
    // nothing came, -1 when the line failed (the error string says why).
    qint64 readData(char* data, qint64 maxSize) override;
    // Writes and waits until the bytes went out; -1 when the line failed.
    qint64 writeData(const char* data, qint64 size) override;
    // For devices that need more than the line set-up; runs after it was applied.
    virtual void customizeState(QSerialPort& port);

private:
    bool fail(const QString& message);
    void applySettings(QSerialPort& port) const;

    QString m_portName;
    SerialPortSettings m_settings;
    std::unique_ptr<QSerialPort> m_port;
    int m_readTimeoutMs = 110;
    int m_writeTimeoutMs = 110;
    const std::atomic<bool>* m_abort = nullptr;
    const std::atomic<bool>* m_wake = nullptr;
    OpenFailure m_openFailure = OpenFailure::None;
};

} // namespace Hv
