#include "SerialDeviceAsync.h"

#include "SerialDevice.h"
#include "WorkerThread.h"

namespace Hv {

SerialDeviceAsync::SerialDeviceAsync(QObject* parent, const QString& devicePath)
    : QIODevice(parent)
    , m_device(std::make_unique<SerialDevice>(devicePath))
    , m_worker(new WorkerThread(this, *m_device))
{
    connect(m_worker, &WorkerThread::readyRead, this, &QIODevice::readyRead);
    connect(m_worker, &WorkerThread::readTimeOut, this, &SerialDeviceAsync::readTimeOut);
    connect(m_worker, &WorkerThread::bytesWritten, this, &QIODevice::bytesWritten);
    connect(m_worker, &WorkerThread::lineLost, this, &SerialDeviceAsync::lineLost);
    connect(m_worker, &WorkerThread::readLimitReached, this, &SerialDeviceAsync::readLimitReached);
}

SerialDeviceAsync::~SerialDeviceAsync()
{
    close();
    // The worker is a child and goes with this object; it must have ended before the device.
    delete m_worker;
}

void SerialDeviceAsync::setPortSettings(const SerialPortSettings& settings)
{
    m_device->setPortSettings(settings);
}

bool SerialDeviceAsync::open(OpenMode mode, int readTimeoutMs)
{
    if (m_worker->isRunning())
        return false;
    if (!m_worker->startAndOpen(readTimeoutMs, 110)) {
        setErrorString(m_worker->errorString());
        return false;
    }
    return QIODevice::open(mode | QIODevice::Unbuffered);
}

void SerialDeviceAsync::close()
{
    if (isOpen())
        QIODevice::close();
    if (m_worker->isRunning())
        m_worker->stop();
}

void SerialDeviceAsync::stopWorker()
{
    if (m_worker->isRunning())
        m_worker->stop();
}

void SerialDeviceAsync::setReadLimit(qint64 bytes)
{
    m_worker->setReadLimit(bytes);
}

bool SerialDeviceAsync::readLimitExceeded() const
{
    return m_worker->readLimitExceeded();
}

SerialDevice::OpenFailure SerialDeviceAsync::openFailure() const
{
    return m_device->openFailure();
}

bool SerialDeviceAsync::isWorkerRunning() const
{
    return m_worker->isRunning();
}

bool SerialDeviceAsync::atEnd() const
{
    return m_worker->bytesAvailable() == 0;
}

qint64 SerialDeviceAsync::bytesAvailable() const
{
    return m_worker->bytesAvailable() + QIODevice::bytesAvailable();
}

bool SerialDeviceAsync::canReadLine() const
{
    return m_worker->canReadLine() || QIODevice::canReadLine();
}

bool SerialDeviceAsync::waitForReadyRead(int msecs)
{
    return m_worker->waitForReadyRead(msecs);
}

bool SerialDeviceAsync::waitForBytesWritten(int msecs)
{
    return m_worker->waitForBytesWritten(msecs);
}

qint64 SerialDeviceAsync::readData(char* data, qint64 maxSize)
{
    return m_worker->takeData(data, maxSize);
}

qint64 SerialDeviceAsync::writeData(const char* data, qint64 size)
{
    m_worker->queueWrite(data, size);
    return size;
}

} // namespace Hv
