#include "PseudoTerminal.h"
#include "SerialDevice.h"
#include "SerialDeviceAsync.h"
#include "SerialPortInfo.h"
#include "SerialPortSettings.h"
#include "TestSupport.h"
#include "WorkerThread.h"

#include <QMutex>
#include <QSerialPort>
#include <QSignalSpy>
#include <termios.h>

// The logger's serial layer over pseudo-terminals made by the test.
class TestSerial : public QObject
{
    Q_OBJECT
private slots:
    void extraPortsFollowTheSystemPorts();
    void openAppliesTheDownloadLine();
    void portLabelsNameTheAdapter_data();
    void portLabelsNameTheAdapter();
    void preferredPortIsTheRememberedOrTheOnlyAdapter_data();
    void preferredPortIsTheRememberedOrTheOnlyAdapter();
    void idleLineGivesReadTimeOutsOnly();
    void burstArrivesInChunksInOrder();
    void readingPartOfTheBufferLeavesTheRest();
    void closeWithoutWorkerAndReopen();
    void openFailuresAreReported();
    void commandsGoOutOnce();
    void commandsDoNotWaitForTheReadTimeOut_data();
    void commandsDoNotWaitForTheReadTimeOut();
    void readLimitKeepsTheFirstBytes_data();
    void readLimitKeepsTheFirstBytes();
    void openFailureKinds_data();
    void openFailureKinds();
    void failedWriteIsNotSentTwice();
    void hangUpEndsTheWorkerWithTheBytesKept();
};

namespace {
QByteArray pattern(int size)
{
    QByteArray data(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        data[i] = char('A' + (i * 7) % 26);
    return data;
}

// Accepts four bytes, then fails once, then takes everything; reads nothing.
class FlakyDevice : public Hv::SerialDevice
{
public:
    FlakyDevice()
        : SerialDevice(QStringLiteral("/flaky"))
    { }
    bool open(OpenMode mode, int, int) override { return QIODevice::open(mode | QIODevice::Unbuffered); }
    QByteArray sent;
    int calls = 0;

protected:
    qint64 readData(char*, qint64) override
    {
        QThread::msleep(5);
        return 0;
    }
    qint64 writeData(const char* data, qint64 size) override
    {
        ++calls;
        if (calls == 2) {
            setErrorString(QStringLiteral("write failed"));
            return -1;
        }
        const qint64 n = calls == 1 ? qMin<qint64>(4, size) : size;
        sent.append(data, int(n));
        return n;
    }
};
} // namespace

void TestSerial::extraPortsFollowTheSystemPorts()
{
    qputenv("HALVERN_EXTRA_PORTS", "/tmp/first::/dev/pts/77");
    const QList<Hv::SerialPortInfo> ports = Hv::enumeratePorts();
    qunsetenv("HALVERN_EXTRA_PORTS");
    QVERIFY(ports.size() >= 2);
    const Hv::SerialPortInfo& first = ports.at(ports.size() - 2);
    const Hv::SerialPortInfo& second = ports.last();
    QCOMPARE(first.portName, QString("/tmp/first"));
    QCOMPARE(first.devicePath, QString("/tmp/first"));
    QCOMPARE(first.physicalName, QString("/tmp/first"));
    QCOMPARE(second.portName, QString("/dev/pts/77"));
    QCOMPARE(second.vendorId, 0);
    QVERIFY(Hv::extraPorts(QString()).isEmpty());
    QVERIFY(Hv::extraPorts(QStringLiteral(":::")).isEmpty());
}

void TestSerial::portLabelsNameTheAdapter_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("manufacturer");
    QTest::addColumn<int>("vendor");
    QTest::addColumn<int>("product");
    QTest::addColumn<QString>("label");
    QTest::newRow("built-in") << ""
                              << "" << 0 << 0 << "ttyS0";
    QTest::newRow("name again") << "ttyS0"
                                << "" << 0 << 0 << "ttyS0";
    QTest::newRow("usb adapter") << "FT232R USB UART"
                                 << "FTDI" << 0x0403 << 0x6001
                                 << "ttyS0 \u2013 FT232R USB UART (FTDI, USB 0403:6001)";
    QTest::newRow("ids only") << ""
                              << "" << 0x067b << 0x2303 << "ttyS0 (USB 067b:2303)";
    QTest::newRow("maker only") << "  "
                                << "Prolific" << 0 << 0 << "ttyS0 (Prolific)";
}

void TestSerial::portLabelsNameTheAdapter()
{
    QFETCH(QString, description);
    QFETCH(QString, manufacturer);
    QFETCH(int, vendor);
    QFETCH(int, product);
    QFETCH(QString, label);
    Hv::SerialPortInfo port;
    port.portName = "ttyS0";
    port.devicePath = "/dev/ttyS0";
    port.friendlyName = description;
    port.enumeratorName = manufacturer;
    port.vendorId = vendor;
    port.productId = product;
    QCOMPARE(Hv::portLabel(port), label);
}

void TestSerial::preferredPortIsTheRememberedOrTheOnlyAdapter_data()
{
    // Ports as "name:vendor"; vendor 0 is a built-in port.
    QTest::addColumn<QStringList>("ports");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("preferred");
    QTest::newRow("none") << QStringList() << "ttyS0" << -1;
    QTest::newRow("remembered") << QStringList { "ttyS0:0", "ttyUSB0:1027", "ttyUSB1:1659" } << "ttyUSB1"
                                << 2;
    QTest::newRow("remembered built-in") << QStringList { "ttyS0:0", "ttyUSB0:1027" } << "ttyS0" << 0;
    QTest::newRow("only adapter") << QStringList { "ttyS0:0", "ttyS1:0", "ttyUSB0:1027" } << "" << 2;
    QTest::newRow("remembered gone") << QStringList { "ttyS0:0", "ttyUSB0:1027" } << "ttyUSB3" << 1;
    QTest::newRow("two adapters") << QStringList { "ttyS0:0", "ttyUSB0:1027", "ttyUSB1:1659" } << "" << 0;
    QTest::newRow("built-in only") << QStringList { "ttyS0:0", "ttyS1:0" } << "ttyS4" << 0;
}

void TestSerial::preferredPortIsTheRememberedOrTheOnlyAdapter()
{
    QFETCH(QStringList, ports);
    QFETCH(QString, stored);
    QFETCH(int, preferred);
    QList<Hv::SerialPortInfo> infos;
    for (const QString& port : ports) {
        Hv::SerialPortInfo info;
        info.portName = port.section(':', 0, 0);
        info.vendorId = port.section(':', 1, 1).toInt();
        infos << info;
    }
    QCOMPARE(Hv::preferredPort(infos, stored), preferred);
}

void TestSerial::openAppliesTheDownloadLine()
{
    PseudoTerminal pty;
    QVERIFY(pty.isValid());
    // Start from a line set up otherwise, so that every value is seen to change.
    termios before {};
    QCOMPARE(tcgetattr(pty.slaveDescriptor(), &before), 0);
    cfsetispeed(&before, B1200);
    cfsetospeed(&before, B1200);
    before.c_cflag = (before.c_cflag & ~CSIZE) | CS7 | PARENB | CSTOPB;
    QCOMPARE(tcsetattr(pty.slaveDescriptor(), TCSANOW, &before), 0);

    // A set-up with the baud rate alone changes the speed. (QSerialPort opens with 8N1 and no
    // flow control when nothing else is assigned, not with what the line had.)
    Hv::SerialPortSettings onlyBaud;
    onlyBaud.setBaudRate(19200);
    {
        Hv::SerialDeviceAsync partial(nullptr, pty.path());
        partial.setPortSettings(onlyBaud);
        QVERIFY(partial.open(QIODevice::ReadWrite, 50));
        termios after {};
        QCOMPARE(tcgetattr(pty.slaveDescriptor(), &after), 0);
        QCOMPARE(cfgetospeed(&after), speed_t(B19200));
    }

    const Hv::SerialPortSettings line = Hv::SerialPortSettings::downloadLine();
    QVERIFY(line.isAssigned(Hv::SerialPortSettings::BaudRate));
    QVERIFY(!line.isAssigned(Hv::SerialPortSettings::ErrorChar));
    QVERIFY(!line.isAssigned(Hv::SerialPortSettings::EofChar));

    Hv::SerialDeviceAsync device(nullptr, pty.path());
    device.setPortSettings(line);
    QVERIFY2(device.open(QIODevice::ReadWrite, 50), qPrintable(device.errorString()));
    termios after {};
    QCOMPARE(tcgetattr(pty.slaveDescriptor(), &after), 0);
    QCOMPARE(cfgetospeed(&after), speed_t(B9600));
    QCOMPARE(after.c_cflag & CSIZE, tcflag_t(CS8));
    QCOMPARE(after.c_cflag & PARENB, tcflag_t(0));
    QCOMPARE(after.c_cflag & CSTOPB, tcflag_t(0));
    QCOMPARE(after.c_cflag & CRTSCTS, tcflag_t(0));
    QCOMPARE(after.c_iflag & (IXON | IXOFF), tcflag_t(0));
    device.close();
}

void TestSerial::idleLineGivesReadTimeOutsOnly()
{
    PseudoTerminal pty;
    Hv::SerialDeviceAsync device(nullptr, pty.path());
    QSignalSpy timeOuts(&device, &Hv::SerialDeviceAsync::readTimeOut);
    QSignalSpy reads(&device, &QIODevice::readyRead);
    QVERIFY(device.open(QIODevice::ReadWrite, 50));
    QTest::qWait(600);
    device.close();
    QCoreApplication::processEvents();
    // About one per time-out: a worker that spins would give thousands, a stuck one none.
    QVERIFY2(timeOuts.count() >= 3 && timeOuts.count() <= 14, qPrintable(QString::number(timeOuts.count())));
    QCOMPARE(reads.count(), 0);
    QVERIFY(device.atEnd());
}

void TestSerial::burstArrivesInChunksInOrder()
{
    PseudoTerminal pty;
    const QByteArray burst = pattern(5000);

    // The worker alone, to see each chunk as it lands in the read buffer.
    Hv::SerialDevice device(pty.path());
    Hv::WorkerThread worker(nullptr, device);
    QMutex sizesMutex;
    QList<qint64> sizes;
    connect(
        &worker, &Hv::WorkerThread::readyRead, &worker,
        [&]() {
            QMutexLocker lock(&sizesMutex);
            sizes.append(worker.bytesAvailable());
        },
        Qt::DirectConnection);
    QVERIFY(worker.startAndOpen(100, 110));
    QVERIFY(pty.write(burst));
    QTRY_COMPARE(worker.bytesAvailable(), qint64(burst.size()));
    worker.stop();
    QVERIFY(sizes.size() >= 5);
    qint64 previous = 0;
    for (qint64 total : sizes) {
        QVERIFY(total - previous > 0);
        QVERIFY2(
            total - previous <= Hv::WorkerThread::ChunkSize, qPrintable(QString::number(total - previous)));
        previous = total;
    }
    QByteArray all(burst.size(), Qt::Uninitialized);
    QCOMPARE(worker.takeData(all.data(), all.size()), qint64(burst.size()));
    QCOMPARE(all, burst);
    QCOMPARE(worker.bytesAvailable(), qint64(0));

    // The same through the GUI's device, drained as the window drains it.
    Hv::SerialDeviceAsync async(nullptr, pty.path());
    QByteArray received;
    int chunkSignals = 0;
    connect(&async, &QIODevice::readyRead, [&]() {
        ++chunkSignals;
        received += async.readAll();
    });
    QVERIFY(async.open(QIODevice::ReadWrite, 100));
    QVERIFY(pty.write(burst));
    QTRY_COMPARE(received.size(), burst.size());
    QCOMPARE(received, burst);
    QVERIFY(chunkSignals >= 5);
}

void TestSerial::readingPartOfTheBufferLeavesTheRest()
{
    PseudoTerminal pty;
    Hv::SerialDeviceAsync device(nullptr, pty.path());
    QVERIFY(device.open(QIODevice::ReadWrite, 50));
    QVERIFY(pty.write("abc"));
    QTRY_COMPARE(device.bytesAvailable(), qint64(3));
    QVERIFY(!device.canReadLine());
    QVERIFY(pty.write("def\nghi"));
    QTRY_COMPARE(device.bytesAvailable(), qint64(10));
    QVERIFY(device.canReadLine());
    QCOMPARE(device.read(2), QByteArray("ab"));
    QCOMPARE(device.bytesAvailable(), qint64(8));
    QVERIFY(!device.atEnd());
    QCOMPARE(device.read(5), QByteArray("cdef\n"));
    // The line feed has been read: the rest is no line.
    QVERIFY(!device.canReadLine());
    QCOMPARE(device.read(100), QByteArray("ghi"));
    QCOMPARE(device.bytesAvailable(), qint64(0));
    QVERIFY(device.atEnd());
    QCOMPARE(device.read(10), QByteArray());
    // After the buffer ran dry it fills from the start again.
    QVERIFY(pty.write("xyz\n"));
    QTRY_COMPARE(device.bytesAvailable(), qint64(4));
    QCOMPARE(device.readAll(), QByteArray("xyz\n"));
}

void TestSerial::closeWithoutWorkerAndReopen()
{
    PseudoTerminal pty;
    Hv::SerialDeviceAsync device(nullptr, pty.path());
    device.close();
    QVERIFY(!device.isWorkerRunning());
    QVERIFY(!device.isOpen());

    QVERIFY(device.open(QIODevice::ReadWrite, 50));
    QVERIFY(device.isWorkerRunning());
    // A second open while the worker runs is refused and changes nothing.
    QVERIFY(!device.open(QIODevice::ReadWrite, 50));
    QVERIFY(device.isOpen());
    device.close();
    QVERIFY(!device.isWorkerRunning());
    QVERIFY(!device.isOpen());
    // Closed, the port is free again, also for this device.
    QVERIFY(device.open(QIODevice::ReadWrite, 50));
    QVERIFY(pty.write("again"));
    QTRY_COMPARE(device.bytesAvailable(), qint64(5));
    QCOMPARE(device.readAll(), QByteArray("again"));
}

void TestSerial::openFailuresAreReported()
{
    PseudoTerminal pty;
    Hv::SerialDeviceAsync holder(nullptr, pty.path());
    QVERIFY(holder.open(QIODevice::ReadWrite, 50));

    Hv::SerialDeviceAsync second(nullptr, pty.path());
    QVERIFY(!second.open(QIODevice::ReadWrite, 50));
    QVERIFY(!second.isWorkerRunning());
    QVERIFY(!second.isOpen());
    QVERIFY2(second.errorString().startsWith("SerialDevice::open failed with error: "),
        qPrintable(second.errorString()));
    QVERIFY(second.errorString().size() > QString("SerialDevice::open failed with error: ").size());
    QCOMPARE(second.openFailure(), Hv::SerialDevice::OpenFailure::InUse);

    Hv::SerialDeviceAsync missing(nullptr, QStringLiteral("/dev/no-such-port-here"));
    QVERIFY(!missing.open(QIODevice::ReadWrite, 50));
    QVERIFY(missing.errorString().startsWith("SerialDevice::open failed with error: "));
    QCOMPARE(missing.openFailure(), Hv::SerialDevice::OpenFailure::NotFound);

    // Too long a path is refused whole, never cut down to another file's name.
    Hv::SerialDeviceAsync tooLong(nullptr, QStringLiteral("/dev/") + QString(5000, QLatin1Char('x')));
    QVERIFY(!tooLong.open(QIODevice::ReadWrite, 50));
    QVERIFY(tooLong.errorString().startsWith("SerialDevice::open failed with error: "));

    // The holder is not disturbed by the failed attempts.
    QVERIFY(pty.write("still here"));
    QTRY_COMPARE(holder.bytesAvailable(), qint64(10));
    QCOMPARE(holder.readAll(), QByteArray("still here"));
}

void TestSerial::commandsGoOutOnce()
{
    PseudoTerminal pty;
    Hv::SerialDeviceAsync device(nullptr, pty.path());
    QSignalSpy written(&device, &QIODevice::bytesWritten);
    QVERIFY(device.open(QIODevice::ReadWrite, 50));
    device.write("SYST:REM\r\n");
    device.write("MEM:DATA? ALL\r\n");
    QCOMPARE(pty.readFor(400), QByteArray("SYST:REM\r\nMEM:DATA? ALL\r\n"));
    QTRY_VERIFY(!written.isEmpty());
    qint64 total = 0;
    for (const QList<QVariant>& args : written)
        total += args.at(0).toLongLong();
    QCOMPARE(total, qint64(25));
}

void TestSerial::commandsDoNotWaitForTheReadTimeOut_data()
{
    QTest::addColumn<int>("readTimeout");
    QTest::newRow("2 s") << 2000;
    QTest::newRow("5 s") << 5000;
    QTest::newRow("30 s") << 30000;
}

void TestSerial::commandsDoNotWaitForTheReadTimeOut()
{
    QFETCH(int, readTimeout);
    PseudoTerminal pty;
    Hv::SerialDeviceAsync device(nullptr, pty.path());
    QSignalSpy timeOuts(&device, &Hv::SerialDeviceAsync::readTimeOut);
    QVERIFY(device.open(QIODevice::ReadWrite, readTimeout));
    // The worker is in its first read wait by now; the command must not wait for its end.
    QTest::qWait(50);
    device.write("SYST:REM\r\n");
    QCOMPARE(pty.readFor(1000), QByteArray("SYST:REM\r\n"));
    // Cutting the wait short for a write is no silence on the line.
    QCoreApplication::processEvents();
    QCOMPARE(timeOuts.count(), 0);
    device.close();
}

void TestSerial::readLimitKeepsTheFirstBytes_data()
{
    QTest::addColumn<int>("sent");
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<int>("kept");
    QTest::addColumn<bool>("exceeded");
    QTest::newRow("no limit") << 5000 << qint64(0) << 5000 << false;
    QTest::newRow("just fits") << 3000 << qint64(3000) << 3000 << false;
    QTest::newRow("one byte over") << 3001 << qint64(3000) << 3000 << true;
    // Small enough for the line's own buffer to take what the worker no longer reads.
    QTest::newRow("far over") << 3000 << qint64(1500) << 1500 << true;
    QTest::newRow("limit below a chunk") << 100 << qint64(10) << 10 << true;
}

void TestSerial::readLimitKeepsTheFirstBytes()
{
    QFETCH(int, sent);
    QFETCH(qint64, limit);
    QFETCH(int, kept);
    QFETCH(bool, exceeded);
    PseudoTerminal pty;
    Hv::SerialDeviceAsync device(nullptr, pty.path());
    device.setReadLimit(limit);
    QSignalSpy reached(&device, &Hv::SerialDeviceAsync::readLimitReached);
    QVERIFY(device.open(QIODevice::ReadWrite, 100));
    const QByteArray data = pattern(sent);
    QVERIFY(pty.write(data));
    if (exceeded) {
        QTRY_COMPARE(reached.count(), 1);
        // The worker stopped reading: the rest stays on the line, not in our memory.
        QTRY_VERIFY(!device.isWorkerRunning());
    } else {
        QTRY_COMPARE(device.bytesAvailable(), qint64(kept));
        QVERIFY(device.isWorkerRunning());
    }
    QCOMPARE(device.readLimitExceeded(), exceeded);
    QCOMPARE(device.readAll(), data.left(kept));
    QCOMPARE(reached.count(), exceeded ? 1 : 0);
    device.close();
}

void TestSerial::openFailureKinds_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("accessErrno");
    QTest::addColumn<int>("kind");
    using F = Hv::SerialDevice::OpenFailure;
    QTest::newRow("opened") << int(QSerialPort::NoError) << 0 << int(F::None);
    QTest::newRow("missing") << int(QSerialPort::DeviceNotFoundError) << ENOENT << int(F::NotFound);
    QTest::newRow("not in dialout") << int(QSerialPort::PermissionError) << EACCES
                                    << int(F::PermissionDenied);
    QTest::newRow("not permitted") << int(QSerialPort::PermissionError) << EPERM << int(F::PermissionDenied);
    QTest::newRow("held by another") << int(QSerialPort::PermissionError) << 0 << int(F::InUse);
    QTest::newRow("busy") << int(QSerialPort::PermissionError) << EBUSY << int(F::InUse);
    QTest::newRow("other") << int(QSerialPort::OpenError) << 0 << int(F::Other);
}

void TestSerial::openFailureKinds()
{
    QFETCH(int, error);
    QFETCH(int, accessErrno);
    QFETCH(int, kind);
    QCOMPARE(int(Hv::SerialDevice::classifyOpenError(error, accessErrno)), kind);
}

void TestSerial::failedWriteIsNotSentTwice()
{
    FlakyDevice device;
    Hv::WorkerThread worker(nullptr, device);
    QVERIFY(worker.startAndOpen(10, 10));
    worker.queueWrite("ABCDEFGHIJ", 10);
    QTRY_COMPARE(worker.pendingWriteSize(), qint64(0));
    worker.stop();
    QCOMPARE(device.sent, QByteArray("ABCDEFGHIJ"));
    QCOMPARE(device.calls, 3);
}

void TestSerial::hangUpEndsTheWorkerWithTheBytesKept()
{
    PseudoTerminal pty;
    Hv::SerialDeviceAsync device(nullptr, pty.path());
    QSignalSpy lost(&device, &Hv::SerialDeviceAsync::lineLost);
    QVERIFY(device.open(QIODevice::ReadWrite, 50));
    QVERIFY(pty.write("partial"));
    QTRY_COMPARE(device.bytesAvailable(), qint64(7));
    pty.hangUp();
    QTRY_COMPARE(lost.count(), 1);
    QVERIFY(lost.first().at(0).toString().startsWith("SerialDevice::readData failed with error: "));
    QTRY_VERIFY(!device.isWorkerRunning());
    QCOMPARE(device.readAll(), QByteArray("partial"));
    device.close();
}

KESTROVAN_TEST_MAIN(TestSerial)
#include "tst_serial.moc"
