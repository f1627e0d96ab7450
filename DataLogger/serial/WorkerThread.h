#pragma once

#include <QByteArray>
#include <QMutex>
#include <QSemaphore>
#include <QThread>
#include <atomic>

namespace Hv {

class SerialDevice;

// Drives one SerialDevice on its own thread: opens it, sends what was queued, reads what
// arrives in chunks of at most 1024 bytes, and reports by signals (queued to the GUI thread).
// The device is used only from here once the thread runs; the GUI side touches the buffers.
class WorkerThread : public QThread
{
    Q_OBJECT
public:
    WorkerThread(QObject* parent, SerialDevice& device);
    ~WorkerThread() override;

    static constexpr int ChunkSize = 1024;

    // Starts the thread, which opens the device, and waits for the outcome. On failure the
    // thread has already ended and errorString() says why.
    bool startAndOpen(int readTimeoutMs, int writeTimeoutMs);
    QString errorString() const;
    // Asks the loop to leave at its next check and waits until it did.
    void stop();
    SerialDevice& device() { return m_device; }

    // Keeps at most this many received bytes (0: no limit; set before the start). One byte
    // beyond it ends the reading: the loop leaves, readLimitReached follows, and the bytes kept
    // are still there to take.
    void setReadLimit(qint64 bytes) { m_readLimit = bytes; }
    bool readLimitExceeded() const { return m_limitExceeded; }

    // Read side, for the GUI thread.
    qint64 takeData(char* data, qint64 maxSize);
    qint64 bytesAvailable() const;
    bool canReadLine() const;
    bool waitForReadyRead(int msecs);

    // Write side, for the GUI thread.
    void queueWrite(const char* data, qint64 size);
    bool waitForBytesWritten(int msecs);
    qint64 pendingWriteSize() const;

signals:
    void readyRead();
    void readTimeOut();
    void bytesWritten(qlonglong bytes);
    // The line failed while reading (an adapter unplugged, the other end hung up); the loop
    // has ended and the port is closed.
    void lineLost(const QString& message);
    // More than the read limit arrived; the loop has ended and the port is closed.
    void readLimitReached();

protected:
    void run() override;

private:
    bool stopRequested() const;
    void sendQueued();

    SerialDevice& m_device;
    int m_readTimeoutMs = 110;
    int m_writeTimeoutMs = 110;
    bool m_opened = false;
    QString m_error;
    QSemaphore m_openDone;

    mutable QMutex m_bufferMutex; // m_readBuffer, m_readPosition, m_stopRequested
    QByteArray m_readBuffer;
    qint64 m_readPosition = 0;
    bool m_stopRequested = false;
    std::atomic<bool> m_stopFlag { false }; // the same, for the device's waits
    std::atomic<bool> m_writeQueued { false }; // ends the device's read wait for a queued write
    qint64 m_readLimit = 0;
    qint64 m_received = 0;
    std::atomic<bool> m_limitExceeded { false };
    QMutex m_readCycleLock; // held by the loop except while it emits readyRead

    mutable QMutex m_writeQueueMutex; // m_writeBuffer
    QByteArray m_writeBuffer;
    QMutex m_writeCycleLock; // held by the loop except while it emits bytesWritten
};

} // namespace Hv
