#include "WorkerThread.h"

#include "SerialDevice.h"

#include <QMutexLocker>

namespace Hv {

WorkerThread::WorkerThread(QObject* parent, SerialDevice& device)
    : QThread(parent)
    , m_device(device)
{
    m_device.setAbortFlag(&m_stopFlag);
    m_device.setWakeFlag(&m_writeQueued);
}

WorkerThread::~WorkerThread()
{
    stop();
}

bool WorkerThread::startAndOpen(int readTimeoutMs, int writeTimeoutMs)
{
    if (isRunning())
        return false;
    m_readTimeoutMs = readTimeoutMs;
    m_writeTimeoutMs = writeTimeoutMs;
    {
        QMutexLocker lock(&m_bufferMutex);
        m_stopRequested = false;
        m_stopFlag = false;
        m_readBuffer.clear();
        m_readPosition = 0;
    }
    m_received = 0;
    m_limitExceeded = false;
    {
        QMutexLocker lock(&m_writeQueueMutex);
        m_writeBuffer.clear();
    }
    start(QThread::InheritPriority);
    m_openDone.acquire();
    if (!m_opened)
        wait();
    return m_opened;
}

QString WorkerThread::errorString() const
{
    return m_error;
}

void WorkerThread::stop()
{
    {
        QMutexLocker lock(&m_bufferMutex);
        m_stopRequested = true;
        m_stopFlag = true;
    }
    wait();
}

bool WorkerThread::stopRequested() const
{
    QMutexLocker lock(&m_bufferMutex);
    return m_stopRequested;
}

qint64 WorkerThread::takeData(char* data, qint64 maxSize)
{
    QMutexLocker lock(&m_bufferMutex);
    const qint64 n = qMin(maxSize, qint64(m_readBuffer.size()) - m_readPosition);
    if (n <= 0)
        return 0;
    memcpy(data, m_readBuffer.constData() + m_readPosition, size_t(n));
    m_readPosition += n;
    if (m_readPosition == m_readBuffer.size()) {
        m_readBuffer.clear();
        m_readPosition = 0;
    }
    return n;
}

qint64 WorkerThread::bytesAvailable() const
{
    QMutexLocker lock(&m_bufferMutex);
    return m_readBuffer.size() - m_readPosition;
}

bool WorkerThread::canReadLine() const
{
    QMutexLocker lock(&m_bufferMutex);
    return m_readBuffer.indexOf('\n', int(m_readPosition)) >= 0;
}

bool WorkerThread::waitForReadyRead(int msecs)
{
    if (!m_readCycleLock.tryLock(msecs))
        return false;
    m_readCycleLock.unlock();
    return true;
}

void WorkerThread::queueWrite(const char* data, qint64 size)
{
    QMutexLocker lock(&m_writeQueueMutex);
    m_writeBuffer.append(data, int(size));
    m_writeQueued = true;
}

bool WorkerThread::waitForBytesWritten(int msecs)
{
    if (!m_writeCycleLock.tryLock(msecs))
        return false;
    m_writeCycleLock.unlock();
    return true;
}

qint64 WorkerThread::pendingWriteSize() const
{
    QMutexLocker lock(&m_writeQueueMutex);
    return m_writeBuffer.size();
}

void WorkerThread::sendQueued()
{
    QMutexLocker lock(&m_writeQueueMutex);
    qint64 written = 0;
    while (written < m_writeBuffer.size()) {
        const qint64 r = m_device.write(m_writeBuffer.constData() + written, m_writeBuffer.size() - written);
        if (r < 0)
            break;
        m_writeCycleLock.unlock();
        emit bytesWritten(r);
        m_writeCycleLock.lock();
        written += r;
        if (r == 0 || stopRequested())
            break;
    }
    // Only what did not go out stays queued: sending the whole buffer again after a failure
    // would repeat commands the instrument already received.
    m_writeBuffer.remove(0, int(written));
}

void WorkerThread::run()
{
    m_readCycleLock.lock();
    m_writeCycleLock.lock();
    m_opened = m_device.open(QIODevice::ReadWrite, m_readTimeoutMs, m_writeTimeoutMs);
    m_error = m_opened ? QString() : m_device.errorString();
    m_openDone.release();

    QString lost;
    while (m_opened && !stopRequested()) {
        // Cleared before sending, so that a write queued from here on cuts the read wait short.
        m_writeQueued = false;
        sendQueued();
        // With a limit, one byte beyond it is asked for: it tells a cut answer from one that
        // just fits.
        qint64 wanted = ChunkSize;
        if (m_readLimit > 0)
            wanted = qMin<qint64>(wanted, m_readLimit - m_received + 1);
        QByteArray data(int(wanted), Qt::Uninitialized);
        const qint64 n = m_device.read(data.data(), wanted);
        if (n < 0) {
            lost = m_device.errorString();
            break;
        }
        data.truncate(int(n));
        if (m_readLimit > 0 && m_received + n > m_readLimit) {
            data.truncate(int(m_readLimit - m_received));
            m_limitExceeded = true;
        }
        if (!data.isEmpty()) {
            m_received += data.size();
            {
                QMutexLocker lock(&m_bufferMutex);
                m_readBuffer.append(data);
            }
            m_readCycleLock.unlock();
            emit readyRead();
            m_readCycleLock.lock();
        }
        if (m_limitExceeded || stopRequested())
            break;
        if (n == 0 && !m_writeQueued)
            emit readTimeOut();
    }
    m_device.close();
    m_writeCycleLock.unlock();
    m_readCycleLock.unlock();
    if (!lost.isEmpty())
        emit lineLost(lost);
    else if (m_limitExceeded)
        emit readLimitReached();
}

} // namespace Hv
