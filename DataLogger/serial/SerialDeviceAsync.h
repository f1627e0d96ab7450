#pragma once

#include "SerialDevice.h"

#include <QIODevice>
#include <memory>

namespace Hv {

class SerialPortSettings;
class WorkerThread;

// The serial port as the GUI thread uses it: a non-blocking, buffered QIODevice whose port
// lives on a worker thread. Writes are queued and go out on the worker; readyRead comes once
// per chunk received; readTimeOut once per read time-out while the line is quiet.
class SerialDeviceAsync : public QIODevice
{
    Q_OBJECT
public:
    SerialDeviceAsync(QObject* parent, const QString& devicePath);
    ~SerialDeviceAsync() override;

    // Must be called before open.
    void setPortSettings(const SerialPortSettings& settings);
    // Fails at once while the worker runs. Opens the port with the given read time-out (and a
    // write time-out of 110 ms) on a new worker.
    virtual bool open(OpenMode mode, int readTimeoutMs);
    bool open(OpenMode mode) override { return open(mode, 110); }
    void close() override;
    // Ends the worker but keeps this side open, so that what it received can still be read.
    void stopWorker();
    bool isSequential() const override { return true; }
    bool atEnd() const override;
    qint64 bytesAvailable() const override;
    bool canReadLine() const override;
    bool waitForReadyRead(int msecs) override;
    bool waitForBytesWritten(int msecs) override;
    bool isWorkerRunning() const;
    // Keeps at most this many received bytes (0: no limit); set before open. One byte more
    // ends the worker and sends readLimitReached.
    void setReadLimit(qint64 bytes);
    bool readLimitExceeded() const;
    // Why the last open failed.
    SerialDevice::OpenFailure openFailure() const;

signals:
    void readTimeOut();
    // The line failed during the conversation; the worker has ended.
    void lineLost(const QString& message);
    // More than the read limit arrived; the worker has ended.
    void readLimitReached();

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    std::unique_ptr<SerialDevice> m_device;
    WorkerThread* m_worker;
};

} // namespace Hv
