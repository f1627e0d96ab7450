#include "DataLoggerLauncher.h"
#include "DataLoggerProgram.h"
#include "SavedAge.h"
#include "TestSupport.h"

#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWidget>

#include <csignal>
#include <memory>
#include <sys/types.h>

// Starting the data logger and offering what it downloaded, for every owner of a launcher.
class TestDataLoggerLauncher : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void ageText_data();
    void ageText();
    void downloadedFileIsOfferedOnce();
    void fileOlderThanTheStartIsNotOffered();
    void startFailuresAreReported();
    void eachLoggerKeepsItsOwnStartTime();
    void eachLaunchIsOfferedOnlyItsOwnFile_data();
    void eachLaunchIsOfferedOnlyItsOwnFile();
    void closingTheOwnerLeavesTheLoggerRunningSilently();

private:
    QProcess* startWaitingLogger(const QString& gate, const QString& file, bool keepFile = false);
    static void openGate(const QString& gate);
    static bool waitUntilFinished(QProcess* logger);

    QTemporaryDir m_dir;
    std::unique_ptr<QWidget> m_owner;
    DataLoggerLauncher* m_launcher = nullptr;
};

void TestDataLoggerLauncher::init()
{
    TestSupport::resetState();
    QSettings("Halvern", "Halvern DataLogger").clear();
    DataLoggerProgram::overridePathForTests(QStringLiteral(FAKE_LOGGER));
    for (const char* name : { "KESTROVAN_FAKE_LOGGER_CRASH", "KESTROVAN_FAKE_LOGGER_KEEP_FILE",
             "KESTROVAN_FAKE_LOGGER_WAIT_FOR", "KESTROVAN_FAKE_LOGGER_FILE", "KESTROVAN_FAKE_LOGGER_OLD" })
        qunsetenv(name);
    m_owner = std::make_unique<QWidget>();
    m_launcher = new DataLoggerLauncher(m_owner.get(), m_owner.get());
}

void TestDataLoggerLauncher::cleanup()
{
    m_owner.reset();
    DataLoggerProgram::overridePathForTests(QString());
    QCOMPARE(ScriptedPrompts::get().unanswered, 0);
}

QProcess* TestDataLoggerLauncher::startWaitingLogger(const QString& gate, const QString& file, bool keepFile)
{
    // The logger takes its environment when it starts.
    qputenv("KESTROVAN_FAKE_LOGGER_WAIT_FOR", gate.toUtf8());
    qputenv("KESTROVAN_FAKE_LOGGER_FILE", file.toUtf8());
    if (keepFile)
        qputenv("KESTROVAN_FAKE_LOGGER_KEEP_FILE", "1");
    else
        qunsetenv("KESTROVAN_FAKE_LOGGER_KEEP_FILE");
    const QList<QProcess*> before = m_launcher->findChildren<QProcess*>();
    if (!m_launcher->start())
        return nullptr;
    for (QProcess* logger : m_launcher->findChildren<QProcess*>()) {
        if (!before.contains(logger))
            return logger;
    }
    return nullptr;
}

void TestDataLoggerLauncher::openGate(const QString& gate)
{
    QFile file(gate);
    if (file.open(QIODevice::WriteOnly))
        file.write("go");
}

bool TestDataLoggerLauncher::waitUntilFinished(QProcess* logger)
{
    // The launcher deletes the process once it has handled its end.
    QPointer<QProcess> guard(logger);
    QElapsedTimer timer;
    timer.start();
    while (guard && timer.elapsed() < 20000)
        QTest::qWait(10);
    return !guard;
}

void TestDataLoggerLauncher::ageText_data()
{
    QTest::addColumn<qint64>("secondsAgo");
    QTest::addColumn<QString>("expected");
    QTest::newRow("0 s") << qint64(0) << "just now";
    QTest::newRow("1 s") << qint64(1) << "just now";
    QTest::newRow("4 s") << qint64(4) << "just now";
    QTest::newRow("5 s") << qint64(5) << "5 seconds ago";
    QTest::newRow("90 s") << qint64(90) << "90 seconds ago";
    QTest::newRow("119 s") << qint64(119) << "119 seconds ago";
    QTest::newRow("120 s") << qint64(120) << "2 minutes ago";
    QTest::newRow("7199 s") << qint64(7199) << "119 minutes ago";
    QTest::newRow("2 h") << qint64(7200) << "2 hours ago";
    QTest::newRow("86399 s") << qint64(86399) << "23 hours ago";
    // A clock ahead of ours (another machine, a share) must not give a negative age.
    QTest::newRow("1 s ahead") << qint64(-1) << "just now";
    QTest::newRow("an hour ahead") << qint64(-3599) << "just now";
    QTest::newRow("days ahead") << qint64(-3 * 86400) << "just now";
}

void TestDataLoggerLauncher::ageText()
{
    QFETCH(qint64, secondsAgo);
    QFETCH(QString, expected);
    const QDateTime now(QDate(2026, 12, 7), QTime(15, 0, 0));
    QCOMPARE(savedAgoText(now.addSecs(-secondsAgo), now), expected);
    // Days count calendar days: 30 hours back from early morning crosses two midnights.
    const QDateTime early(QDate(2026, 12, 7), QTime(2, 0, 0));
    QCOMPARE(savedAgoText(early.addSecs(-30 * 3600), early), QString("2 days ago"));
    QCOMPARE(savedAgoText(now.addSecs(-30 * 3600), now), QString("1 day ago"));
}

void TestDataLoggerLauncher::downloadedFileIsOfferedOnce()
{
    auto& prompts = ScriptedPrompts::get();
    QSignalSpy toImport(m_launcher, &DataLoggerLauncher::fileToImport);
    const QString file = m_dir.filePath("download.csv");
    QFile::remove(file);
    QProcess* first = startWaitingLogger(m_dir.filePath("gate1"), file);
    QVERIFY(first);
    // The second logger ends without downloading: the store still names the first one's file.
    QProcess* second = startWaitingLogger(m_dir.filePath("gate2"), file, true);
    QVERIFY(second);
    QVERIFY(m_launcher->isRunning());

    prompts.buttons << QMessageBox::Yes;
    openGate(m_dir.filePath("gate1"));
    QVERIFY(waitUntilFinished(first));
    QCOMPARE(prompts.messageTexts(),
        QStringList { "Would you like to import the last file you just downloaded?" });
    QCOMPARE(prompts.asked.first().message.parent, m_owner.get());
    const QString detail = prompts.asked.first().message.informativeText;
    QVERIFY2(QRegularExpression(QString("^File: %1 was saved (just now|[5-9] seconds ago)\\.$")
                                    .arg(QRegularExpression::escape(file)))
                 .match(detail)
                 .hasMatch(),
        qPrintable(detail));
    QCOMPARE(toImport.size(), 1);
    QCOMPARE(toImport.first().first().toString(), file);
    QVERIFY(m_launcher->isRunning());

    openGate(m_dir.filePath("gate2"));
    QVERIFY(waitUntilFinished(second));
    QCOMPARE(prompts.asked.size(), 1);
    QCOMPARE(toImport.size(), 1);
    QVERIFY(!m_launcher->isRunning());

    // Declining imports nothing.
    QFile::remove(m_dir.filePath("gate1"));
    QFile::remove(file);
    prompts.reset();
    prompts.buttons << QMessageBox::No;
    QProcess* third = startWaitingLogger(m_dir.filePath("gate1"), file);
    QVERIFY(third);
    openGate(m_dir.filePath("gate1"));
    QVERIFY(waitUntilFinished(third));
    QCOMPARE(prompts.asked.size(), 1);
    QCOMPARE(toImport.size(), 1);
}

void TestDataLoggerLauncher::fileOlderThanTheStartIsNotOffered()
{
    QSignalSpy toImport(m_launcher, &DataLoggerLauncher::fileToImport);
    const QString file = m_dir.filePath("old.csv");
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old");
        f.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime);
    }
    QProcess* logger = startWaitingLogger(QString(), file, true);
    QVERIFY(logger);
    QVERIFY(waitUntilFinished(logger));
    // A stored path whose file is gone is not offered either.
    QVERIFY(QFile::remove(file));
    logger = startWaitingLogger(QString(), file, true);
    QVERIFY(logger);
    QVERIFY(waitUntilFinished(logger));
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());
    QCOMPARE(toImport.size(), 0);
}

void TestDataLoggerLauncher::startFailuresAreReported()
{
    auto& prompts = ScriptedPrompts::get();
    // Missing program: nothing is started.
    const QString missing = m_dir.filePath("HalvernDataLogger");
    DataLoggerProgram::overridePathForTests(missing);
    QVERIFY(!m_launcher->start());
    QCOMPARE(prompts.messageTexts(),
        QStringList {
            QString("Could not find:\n%1.\nPlease try installing the program again").arg(missing) });
    QCOMPARE(prompts.asked.first().message.icon, QMessageBox::Warning);
    QVERIFY(!m_launcher->findChild<QProcess*>());

    // A file that cannot be executed.
    prompts.reset();
    {
        QFile f(missing);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a program");
    }
    QVERIFY(!m_launcher->start());
    const QString failed
        = "HalvernDataLogger failed to start. A file may be missing or corrupted. Please install again.";
    QCOMPARE(prompts.messageTexts(), QStringList { failed });
    QCOMPARE(prompts.asked.first().message.icon, QMessageBox::Critical);
    QVERIFY(!m_launcher->isRunning());

    // A logger that crashes.
    prompts.reset();
    DataLoggerProgram::overridePathForTests(QStringLiteral(FAKE_LOGGER));
    qputenv("KESTROVAN_FAKE_LOGGER_CRASH", "1");
    QProcess* logger = startWaitingLogger(QString(), QString());
    QVERIFY(logger);
    QVERIFY(waitUntilFinished(logger));
    QCOMPARE(prompts.messageTexts(), QStringList { failed });
    QVERIFY(!m_launcher->isRunning());
}

void TestDataLoggerLauncher::eachLoggerKeepsItsOwnStartTime()
{
    auto& prompts = ScriptedPrompts::get();
    QSignalSpy toImport(m_launcher, &DataLoggerLauncher::fileToImport);
    const QString fileA = m_dir.filePath("a.csv");
    const QString fileB = m_dir.filePath("b.csv");
    QProcess* a = startWaitingLogger(m_dir.filePath("gateA"), fileA);
    QProcess* b = startWaitingLogger(m_dir.filePath("gateB"), fileB);
    QVERIFY(a && b);

    // The one started second finishes first; the first one's hand-over must still come.
    prompts.buttons << QMessageBox::Yes << QMessageBox::Yes;
    openGate(m_dir.filePath("gateB"));
    QVERIFY(waitUntilFinished(b));
    openGate(m_dir.filePath("gateA"));
    QVERIFY(waitUntilFinished(a));
    QCOMPARE(prompts.asked.size(), 2);
    QCOMPARE(toImport.size(), 2);
    QCOMPARE(toImport.at(0).first().toString(), fileB);
    QCOMPARE(toImport.at(1).first().toString(), fileA);
}

void TestDataLoggerLauncher::eachLaunchIsOfferedOnlyItsOwnFile_data()
{
    QTest::addColumn<bool>("oldLogger");
    QTest::newRow("loggers that take the key") << false;
    // One that knows only the shared key still hands over what it saved.
    QTest::newRow("logger without keys") << true;
}

void TestDataLoggerLauncher::eachLaunchIsOfferedOnlyItsOwnFile()
{
    QFETCH(bool, oldLogger);
    if (oldLogger)
        qputenv("KESTROVAN_FAKE_LOGGER_OLD", "1");
    // A curve document's two downloads: the tester's and the meter's, each with its launcher.
    DataLoggerLauncher* tester = m_launcher;
    auto* meter = new DataLoggerLauncher(m_owner.get(), m_owner.get());
    QSignalSpy testerFiles(tester, &DataLoggerLauncher::fileToImport);
    QSignalSpy meterFiles(meter, &DataLoggerLauncher::fileToImport);
    auto& prompts = ScriptedPrompts::get();

    const QString meterFile = m_dir.filePath("M.csv");
    QFile::remove(meterFile);
    const QString tag = QTest::currentDataTag();
    const QString testerGate = m_dir.filePath("gateT " + tag);
    const QString meterGate = m_dir.filePath("gateM " + tag);
    // The tester's logger saves nothing.
    QProcess* testerLogger = startWaitingLogger(testerGate, QString());
    qputenv("KESTROVAN_FAKE_LOGGER_WAIT_FOR", meterGate.toUtf8());
    qputenv("KESTROVAN_FAKE_LOGGER_FILE", meterFile.toUtf8());
    QVERIFY(meter->start());
    QProcess* meterLogger = meter->findChild<QProcess*>();
    QVERIFY(testerLogger && meterLogger);

    prompts.buttons << QMessageBox::Yes;
    openGate(meterGate);
    QVERIFY(waitUntilFinished(meterLogger));
    QCOMPARE(meterFiles.size(), 1);
    QCOMPARE(meterFiles.first().first().toString(), meterFile);
    if (!oldLogger) {
        openGate(testerGate);
        QVERIFY(waitUntilFinished(testerLogger));
        QCOMPARE(prompts.asked.size(), 1);
        QCOMPARE(testerFiles.size(), 0);
        // Nothing is left behind in the logger's store for either launch.
        const QStringList keys = QSettings("Halvern", "Halvern DataLogger").allKeys();
        QVERIFY2(keys.filter("HandOver/").isEmpty(), qPrintable(keys.join(' ')));
    } else {
        prompts.buttons << QMessageBox::No;
        openGate(testerGate);
        QVERIFY(waitUntilFinished(testerLogger));
    }
}

void TestDataLoggerLauncher::closingTheOwnerLeavesTheLoggerRunningSilently()
{
    const QString gate = m_dir.filePath("gateClose");
    QProcess* logger = startWaitingLogger(gate, m_dir.filePath("late.csv"));
    QVERIFY(logger);
    const qint64 pid = logger->processId();
    QVERIFY(pid > 0);
    m_owner.reset();
    QCoreApplication::processEvents();
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());
    // Still the user's window: alive after its launcher went away.
    QCOMPARE(::kill(pid_t(pid), 0), 0);

    // When it ends later, nobody is asked anything.
    openGate(gate);
    QElapsedTimer timer;
    timer.start();
    while (::kill(pid_t(pid), 0) == 0 && timer.elapsed() < 20000)
        QTest::qWait(10);
    QVERIFY(::kill(pid_t(pid), 0) != 0);
    QTest::qWait(50);
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());
    m_owner = std::make_unique<QWidget>();
}

KESTROVAN_TEST_MAIN(TestDataLoggerLauncher)
#include "tst_dataloggerlauncher.moc"
