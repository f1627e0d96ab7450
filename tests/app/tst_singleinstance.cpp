#include "DocumentRegistry.h"
#include "MainWindow.h"
#include "SingleInstance.h"
#include "Startup.h"
#include "TestSupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <atomic>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

// One running Kestrovan per settings store: later starts hand their file over and leave.
class TestSingleInstance : public QObject
{
    Q_OBJECT
private slots:
    void init() { TestSupport::resetState(); }

    void filesReachTheRunningInstance();
    void otherSettingsStoresNeverMeet();
    void leftoverSocketDoesNotBlockANewStart();
    void garbageOnTheSocketIsIgnored();
    void handedFilesOpenAsTabs();
    void secondProgramHandsOverAndExits();
};

namespace {
const QString SettingsA = QStringLiteral("/home/anna/.config/Halvern/Kestrovan Elements.conf");
const QString SettingsB = QStringLiteral("/home/ben/.config/Halvern/Kestrovan Elements.conf");

// handOver() blocks until the instance answers, so it runs on a thread of its own while this
// thread's event loop serves the instance.
SingleInstance::HandOver handOverFromThread(const QString& settings, const QStringList& files)
{
    std::atomic<SingleInstance::HandOver> result { SingleInstance::NotAnswering };
    std::atomic<bool> done { false };
    std::thread client([&] {
        result = SingleInstance(settings).handOver(files);
        done = true;
    });
    QDeadlineTimer deadline(30000);
    while (!done && !deadline.hasExpired())
        QTest::qWait(5);
    client.join();
    return result;
}

// Until the program listens, a hand-over finds nobody; once it does, it confirms.
bool waitForInstance(const QString& settingsFile)
{
    QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired()) {
        if (SingleInstance(settingsFile).handOver({}) == SingleInstance::HandedOver)
            return true;
        QTest::qWait(200);
    }
    return false;
}

// What a crashed instance leaves behind: a socket file nobody listens on.
void makeLeftoverSocket(const QString& name)
{
    const QByteArray path = QFile::encodeName(QDir::tempPath() + QLatin1Char('/') + name);
    QFile::remove(QString::fromLocal8Bit(path));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(fd >= 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    QVERIFY(size_t(path.size()) < sizeof(address.sun_path));
    memcpy(address.sun_path, path.constData(), size_t(path.size()));
    QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
    QVERIFY(QFileInfo::exists(QString::fromLocal8Bit(path)));
}
} // namespace

void TestSingleInstance::filesReachTheRunningInstance()
{
    SingleInstance running(SettingsA);
    QVERIFY(running.listen());
    QSignalSpy received(&running, &SingleInstance::filesReceived);

    const QStringList files { "/projects/Site A/Roof.kstatr", "/projects/Ünïcode name; with spaces.kstir" };
    QCOMPARE(handOverFromThread(SettingsA, files), SingleInstance::HandedOver);
    QTRY_COMPARE(received.count(), 1);
    QCOMPARE(received.first().first().toStringList(), files);

    // Started without a file: the running window is only brought to the front.
    QCOMPARE(handOverFromThread(SettingsA, {}), SingleInstance::HandedOver);
    QTRY_COMPARE(received.count(), 2);
    QVERIFY(received.last().first().toStringList().isEmpty());
}

void TestSingleInstance::otherSettingsStoresNeverMeet()
{
    QVERIFY(SingleInstance::serverNameFor(SettingsA) != SingleInstance::serverNameFor(SettingsB));
    SingleInstance anna(SettingsA);
    QVERIFY(anna.listen());
    QCOMPARE(SingleInstance(SettingsB).handOver({ "/x.kstir" }, 500), SingleInstance::NoInstance);
    SingleInstance ben(SettingsB);
    QVERIFY(ben.listen());
}

void TestSingleInstance::leftoverSocketDoesNotBlockANewStart()
{
    const QString settings = TestSupport::homeFolder() + "/crashed.conf";
    makeLeftoverSocket(SingleInstance::serverNameFor(settings));
    if (QTest::currentTestFailed())
        return;
    SingleInstance next(settings);
    QCOMPARE(next.handOver({ "/x.kstir" }, 500), SingleInstance::NoInstance);
    QVERIFY(next.listen());
    QSignalSpy received(&next, &SingleInstance::filesReceived);
    QCOMPARE(handOverFromThread(settings, { "/y.kstir" }), SingleInstance::HandedOver);
    QTRY_COMPARE(received.count(), 1);
}

void TestSingleInstance::garbageOnTheSocketIsIgnored()
{
    SingleInstance running(SettingsA);
    QVERIFY(running.listen());
    QSignalSpy received(&running, &SingleInstance::filesReceived);
    {
        // Far more than any request, without ever ending it: dropped, nothing opened.
        QLocalSocket hostile;
        hostile.connectToServer(running.serverName());
        QVERIFY(hostile.waitForConnected(2000));
        hostile.write(QByteArray(512 * 1024, 'x'));
        hostile.flush();
        QTRY_VERIFY(hostile.state() == QLocalSocket::UnconnectedState);
    }
    QCOMPARE(received.count(), 0);
    QCOMPARE(handOverFromThread(SettingsA, { "/after.kstir" }), SingleInstance::HandedOver);
    QTRY_COMPARE(received.count(), 1);
    QCOMPARE(received.first().first().toStringList(), QStringList { "/after.kstir" });
}

void TestSingleInstance::handedFilesOpenAsTabs()
{
    DocumentRegistry::registerKind(
        GenericReport, [](const QString& path, QWidget* parent) { return new TestDocument(path, parent); });
    QTemporaryDir root;
    QSettings().setValue("Directories/RootDir", root.path());
    QSettings().setValue("Welcome/show", false);
    for (const char* name : { "one.kstreport", "two.kstreport" }) {
        QFile file(root.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    MainWindow window;
    window.show();
    openFilesInWindow(&window, { root.filePath("one.kstreport") });
    QCOMPARE(window.documents().size(), 1);
    // A second hand-over of another file adds a tab; a missing file and the same file again do not.
    openFilesInWindow(&window,
        { root.filePath("two.kstreport"), root.filePath("missing.kstreport"),
            root.filePath("one.kstreport") });
    QCOMPARE(window.documents().size(), 2);
    QCOMPARE(filesFromArguments({ "Kestrovan", "rel/Site A.kstir" }),
        QStringList { QDir::cleanPath(QDir::currentPath() + "/rel/Site A.kstir") });
    QVERIFY(filesFromArguments({ "Kestrovan" }).isEmpty());
    QCOMPARE(ScriptedPrompts::get().unanswered, 0);
}

void TestSingleInstance::secondProgramHandsOverAndExits()
{
    // The real program, with this test's HOME and so the same settings store as this process.
    const QString program = TestSupport::binaryFolder() + "/Kestrovan";
    QSettings().setValue("Welcome/show", false);
    QSettings().sync();
    const QString settingsFile = QSettings().fileName();
    QProcess first;
    first.setProcessChannelMode(QProcess::ForwardedChannels);
    first.start(program, QStringList());
    QVERIFY(first.waitForStarted());
    // It listens once it is up; until then a hand-over finds nobody.
    QVERIFY(waitForInstance(settingsFile));

    QTemporaryDir dir;
    const QString report = dir.filePath("handed.kstir");
    QFile(report).open(QIODevice::WriteOnly);
    QProcess second;
    second.setProcessChannelMode(QProcess::ForwardedChannels);
    second.start(program, { report });
    QVERIFY(second.waitForFinished(60000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);

    // A crash leaves the socket behind; the next start must still come up and take the name.
    first.kill();
    QVERIFY(first.waitForFinished());
    QProcess third;
    third.setProcessChannelMode(QProcess::ForwardedChannels);
    third.start(program, QStringList());
    QVERIFY(third.waitForStarted());
    QVERIFY(waitForInstance(settingsFile));
    QCOMPARE(third.state(), QProcess::Running);
    third.kill();
    third.waitForFinished();
}

KESTROVAN_TEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
