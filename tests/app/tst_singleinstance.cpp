#include "DocumentFactory.h"
#include "DocumentLock.h"
#include "DocumentRegistry.h"
#include "MainWindow.h"
#include "SingleInstance.h"
#include "Startup.h"
#include "TestSupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMessageBox>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <atomic>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
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
    void requestsWaitUntilTheWindowIsUp();
    void socketLivesInAPrivateFolder_data();
    void socketLivesInAPrivateFolder();
    void peersOfAnotherUserAreRefused();
    void aHungInstanceIsToldInABox();
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
    const QByteArray path = QFile::encodeName(name);
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
    running.setReceiving(true);
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
    next.setReceiving(true);
    QSignalSpy received(&next, &SingleInstance::filesReceived);
    QCOMPARE(handOverFromThread(settings, { "/y.kstir" }), SingleInstance::HandedOver);
    QTRY_COMPARE(received.count(), 1);
}

void TestSingleInstance::garbageOnTheSocketIsIgnored()
{
    SingleInstance running(SettingsA);
    QVERIFY(running.listen());
    running.setReceiving(true);
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
    // The missing file is named, not dropped in silence; so is a folder given as a file.
    openFilesInWindow(&window, { root.path() });
    const auto& asked = ScriptedPrompts::get().asked;
    QCOMPARE(asked.size(), 2);
    QCOMPARE(asked.at(0).message.text,
        QStringLiteral("The file %1 does not exist.").arg(root.filePath("missing.kstreport")));
    QCOMPARE(asked.at(1).message.text, QStringLiteral("%1 is not a file.").arg(root.path()));
    QCOMPARE(window.documents().size(), 2);
    // Every file named on the command line, as a file manager passes several.
    QCOMPARE(filesFromArguments({ "Kestrovan", "rel/Site A.kstir", "", "/abs/b.kstcrv" }),
        (QStringList { QDir::cleanPath(QDir::currentPath() + "/rel/Site A.kstir"), "/abs/b.kstcrv" }));
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
    first.kill();
    QVERIFY(first.waitForFinished());

    // Two files handed over while the instance still shows its splash screen: both open there,
    // as their lock files tell.
    QSettings().setValue("Directories/RootDir", dir.path());
    QSettings().sync();
    const QStringList reports { createNewDocument(dir.path(), "A.kstir"),
        createNewDocument(dir.path(), "B.kstir") };
    QVERIFY(!reports.contains(QString()));
    first.start(program, QStringList());
    QVERIFY(first.waitForStarted());
    // Listening comes first in start-up, long before the window: from then on the hand-over is
    // taken and waits for the window. (Started blindly at once, a slow first start lets the
    // second take the name, and the two swap roles.)
    QVERIFY(waitForInstance(settingsFile));
    second.start(program, reports);
    QVERIFY(second.waitForFinished(60000));
    QCOMPARE(second.exitCode(), 0);
    for (const QString& report : reports)
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(DocumentLock::lockPathFor(report)), 30000);
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

void TestSingleInstance::requestsWaitUntilTheWindowIsUp()
{
    // Taken while the program has no window yet (its splash screen): kept, not lost.
    SingleInstance running(SettingsA);
    QVERIFY(running.listen());
    QVERIFY(!running.isReceiving());
    QSignalSpy received(&running, &SingleInstance::filesReceived);
    QCOMPARE(handOverFromThread(SettingsA, { "/a.kstir", "/b.kstir" }), SingleInstance::HandedOver);
    QCOMPARE(handOverFromThread(SettingsA, { "/c.kstir" }), SingleInstance::HandedOver);
    QCOMPARE(received.count(), 0);
    running.setReceiving(true);
    QCOMPARE(received.count(), 2);
    QCOMPARE(received.at(0).first().toStringList(), (QStringList { "/a.kstir", "/b.kstir" }));
    QCOMPARE(received.at(1).first().toStringList(), QStringList { "/c.kstir" });
    // Between two windows (a language switch) they wait again.
    running.setReceiving(false);
    QCOMPARE(handOverFromThread(SettingsA, { "/d.kstir" }), SingleInstance::HandedOver);
    QCOMPARE(received.count(), 2);
    running.setReceiving(true);
    QCOMPARE(received.count(), 3);
}

void TestSingleInstance::socketLivesInAPrivateFolder_data()
{
    // What XDG_RUNTIME_DIR holds, and where the socket must then be.
    QTest::addColumn<QString>("runtime");
    QTest::addColumn<QString>("expected");
    QTest::newRow("private runtime folder") << "private"
                                            << "private";
    QTest::newRow("none") << ""
                          << "own";
    QTest::newRow("open to everybody") << "open"
                                       << "own";
    QTest::newRow("a link to a private folder") << "link"
                                                << "own";
    QTest::newRow("relative") << "relative"
                              << "own";
    QTest::newRow("own folder taken by someone else") << ""
                                                      << "none";
}

void TestSingleInstance::socketLivesInAPrivateFolder()
{
    QFETCH(QString, runtime);
    QFETCH(QString, expected);
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    const QString savedTemp = qEnvironmentVariable("TMPDIR");
    QTemporaryDir scratch;
    const QString privateFolder = scratch.filePath("private");
    QVERIFY(QDir().mkdir(privateFolder));
    QVERIFY(QFile::setPermissions(
        privateFolder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    const QString open = scratch.filePath("open");
    QVERIFY(QDir().mkdir(open));
    QVERIFY(QFile::setPermissions(open,
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
            | QFileDevice::WriteOther | QFileDevice::ExeOther));
    QVERIFY(QFile::link(privateFolder, scratch.filePath("link")));
    // The temporary folder in which our own folder is made.
    const QString temp = scratch.filePath("tmp");
    QVERIFY(QDir().mkdir(temp));
    qputenv("TMPDIR", temp.toUtf8());
    const QString own = temp + QStringLiteral("/kestrovan-%1").arg(::geteuid());
    if (QTest::currentDataTag() == QLatin1String("own folder taken by someone else")) {
        if (::geteuid() != 0)
            QSKIP("Giving a folder to another user needs privileges this test does not have");
        QVERIFY(QDir().mkdir(own));
        QCOMPARE(::chown(QFile::encodeName(own).constData(), 65534, 65534), 0);
    }
    if (runtime.isEmpty())
        qunsetenv("XDG_RUNTIME_DIR");
    else if (runtime == QLatin1String("relative"))
        qputenv("XDG_RUNTIME_DIR", "private");
    else
        qputenv("XDG_RUNTIME_DIR", scratch.filePath(runtime).toUtf8());

    const QString name = SingleInstance::serverNameFor(SettingsA);
    SingleInstance instance(SettingsA);
    const bool listening = instance.listen();
    const SingleInstance::HandOver other = SingleInstance(SettingsA).handOver({}, 500);
    qputenv("XDG_RUNTIME_DIR", saved);
    if (savedTemp.isEmpty())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", savedTemp.toUtf8());

    if (expected == QLatin1String("none")) {
        // Nothing is shared at all: this process runs on its own.
        QVERIFY(name.isEmpty());
        QVERIFY(!listening);
        QCOMPARE(other, SingleInstance::NoInstance);
        return;
    }
    const QString folder = expected == QLatin1String("private") ? privateFolder : own;
    QCOMPARE(QFileInfo(name).path(), folder);
    QVERIFY(listening);
    QVERIFY(QFileInfo(name).exists());
    QCOMPARE(QFile::permissions(folder)
            & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther),
        QFileDevice::Permissions());
    QCOMPARE(other, SingleInstance::NotAnswering); // it listens, and this thread cannot answer
}

void TestSingleInstance::peersOfAnotherUserAreRefused()
{
    if (::geteuid() != 0)
        QSKIP("Connecting as another user needs privileges this test does not have");
    SingleInstance running(SettingsA);
    QVERIFY(running.listen());
    running.setReceiving(true);
    QSignalSpy received(&running, &SingleInstance::filesReceived);
    // Let the other user reach the socket at all, so that only its user id keeps it out.
    const QByteArray path = QFile::encodeName(running.serverName());
    QCOMPARE(::chmod(path.constData(), 0777), 0);
    const QByteArray runtime = QFile::encodeName(QFileInfo(running.serverName()).path());
    const QByteArray home = QFile::encodeName(TestSupport::homeFolder());
    QVERIFY(runtime.startsWith(home));
    QCOMPARE(::chmod(home.constData(), 0755), 0);
    QCOMPARE(::chmod(runtime.constData(), 0755), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        // Another user asks to open a file and waits for the answer (nothing but system calls here).
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(3);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        memcpy(address.sun_path, path.constData(), size_t(path.size()));
        if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0)
            ::_exit(4);
        const char request[] = "open /etc/stolen.kstir\nend\n";
        if (::write(fd, request, sizeof(request) - 1) != ssize_t(sizeof(request) - 1))
            ::_exit(5);
        char answer[8] = {};
        ::_exit(::read(fd, answer, sizeof(answer)) <= 0 ? 0 : 6);
    }
    QVERIFY(child > 0);
    int status = 0;
    QDeadlineTimer deadline(30000);
    while (::waitpid(child, &status, WNOHANG) == 0 && !deadline.hasExpired())
        QTest::qWait(5);
    ::chmod(runtime.constData(), 0700);
    ::chmod(home.constData(), 0700);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0); // connected, refused without an answer
    QCOMPARE(received.count(), 0);
    // Our own user is still served.
    QCOMPARE(handOverFromThread(SettingsA, { "/mine.kstir" }), SingleInstance::HandedOver);
    QCOMPARE(received.count(), 1);
}

void TestSingleInstance::aHungInstanceIsToldInABox()
{
    // Something of ours listens on the name but never answers (a hung first instance).
    QLocalServer hung;
    QLocalServer::removeServer(SingleInstance::serverNameFor(SettingsA));
    QVERIFY(hung.listen(SingleInstance::serverNameFor(SettingsA)));
    SingleInstance later(SettingsA);
    QCOMPARE(decideStart(later, { "/p/a.kstir", "/p/b.kstir" }, 300), StartDecision::LeaveWithError);
    const auto& asked = ScriptedPrompts::get().asked;
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().message.icon, PromptIcon(QMessageBox::Critical));
    QCOMPARE(asked.first().message.text,
        QStringLiteral("Kestrovan is already running for this user but does not answer."));
    QVERIFY(asked.first().message.informativeText.contains("/p/a.kstir, /p/b.kstir"));
    hung.close();

    // Nobody there: this process runs and listens; a later one hands over to it.
    SingleInstance first(SettingsA);
    QCOMPARE(decideStart(first, {}, 300), StartDecision::Run);
    QVERIFY(first.isReceiving() == false);
    QCOMPARE(handOverFromThread(SettingsA, {}), SingleInstance::HandedOver);
}

KESTROVAN_TEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
