#include "AbstractDocument.h"
#include "CsvResultsModel.h"
#include "DataLoggerProgram.h"
#include "DialogImportResults.h"
#include "DocumentFactory.h"
#include "GraphicalReportDocument.h"
#include "MainWindow.h"
#include "TestSupport.h"

#include <QAction>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <csignal>
#include <sys/types.h>

// The main window and the reports start the data logger, and what it downloaded reaches the
// import dialog. The launcher itself has its own tests.
class TestDataLogger : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void downloadedFileIsOfferedForImport();
    void reportDownloadReachesTheImportDialog();
    void reportDownloadLandsInTheReportThatStartedIt();
    void closingWhileTheLoggerRunsLeavesItRunning();
    void importRemembersTheFileAndShowsTheDialog();
    void fileWithoutResultsSaysWhy();

private:
    void runLogger(QAction* download);
    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;
};

void TestDataLogger::init()
{
    TestSupport::resetState();
    QSettings().setValue("Welcome/show", false);
    QSettings().setValue("Directories/RootDir", m_dir.path());
    QSettings("Halvern", "Halvern DataLogger").clear();
    DataLoggerProgram::overridePathForTests(QStringLiteral(FAKE_LOGGER));
    qunsetenv("KESTROVAN_FAKE_LOGGER_CRASH");
    qunsetenv("KESTROVAN_FAKE_LOGGER_KEEP_FILE");
    qunsetenv("KESTROVAN_FAKE_LOGGER_WAIT_FOR");
    m_window = std::make_unique<MainWindow>();
}

void TestDataLogger::cleanup()
{
    m_window.reset();
    DataLoggerProgram::overridePathForTests(QString());
}

void TestDataLogger::runLogger(QAction* download)
{
    download->trigger();
    QPointer<QProcess> logger = m_window->findChild<QProcess*>();
    QVERIFY(logger);
    QVERIFY(logger->waitForFinished(10000));
    QTRY_VERIFY(!logger);
}

void TestDataLogger::downloadedFileIsOfferedForImport()
{
    const QString file = m_dir.filePath("download.csv");
    qputenv("KESTROVAN_FAKE_LOGGER_FILE", file.toUtf8());
    auto& prompts = ScriptedPrompts::get();
    prompts.buttons << QMessageBox::Yes;
    runLogger(m_window->findChild<QAction*>("actionDownload"));
    QCOMPARE(prompts.messageTexts(),
        QStringList { "Would you like to import the last file you just downloaded?" });
    QCOMPARE(prompts.asked.first().message.parent, m_window.get());
    QTRY_VERIFY(m_window->importDialog()->isVisible());
    QCOMPARE(m_window->importDialog()->model()->rowCount(), 1);
    QCOMPARE(QSettings().value("Directories/LastImportDir").toString(), file);
    QCOMPARE(prompts.unanswered, 0);
}

void TestDataLogger::reportDownloadReachesTheImportDialog()
{
    auto* report = qobject_cast<GraphicalReportDocument*>(
        m_window->openDocument(createNewDocument(m_dir.path(), "Array Test Report.kstatr")));
    QVERIFY(report);
    const QString file = m_dir.filePath("from report.csv");
    qputenv("KESTROVAN_FAKE_LOGGER_FILE", file.toUtf8());
    auto& prompts = ScriptedPrompts::get();
    prompts.buttons << QMessageBox::Yes;
    report->downloadAction()->trigger();
    QPointer<QProcess> logger = report->findChild<QProcess*>();
    QVERIFY(logger);
    QVERIFY(logger->waitForFinished(10000));
    QTRY_VERIFY(!logger);
    QCOMPARE(prompts.messageTexts(),
        QStringList { "Would you like to import the last file you just downloaded?" });
    QTRY_VERIFY(m_window->importDialog()->isVisible());
    QCOMPARE(QSettings().value("Directories/LastImportDir").toString(), file);
    QCOMPARE(prompts.unanswered, 0);
}

void TestDataLogger::reportDownloadLandsInTheReportThatStartedIt()
{
    auto* started = qobject_cast<GraphicalReportDocument*>(
        m_window->openDocument(createNewDocument(m_dir.path(), "Array Test Report.kstatr")));
    auto* other = qobject_cast<GraphicalReportDocument*>(
        m_window->openDocument(createNewDocument(m_dir.path(), "Array Test Report 2.kstatr")));
    QVERIFY(started && other && started != other);
    const QString file = m_dir.filePath("results.csv");
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("PV Tester Results,PVT1600 SN:42,Export,2\n"
                "Index,DD/MM/YYYY,TestType,Voc (VDC),Isc (ADC),Irr (W/m2),Viso (V),Riso (MOhm),Rpe (Ohm),"
                "IVCurve\n1,07/12/2026,16,612.4,9.81,812,,,,1:2,0,ABCD\n");
    }
    // The other report is the active one when the download is answered and its rows chosen.
    m_window->setActiveDocument(other);
    emit started->fileToImport(file);
    DialogImportResults* dialog = m_window->importDialog();
    QVERIFY(dialog->isVisible());
    emit dialog->importRow({ dialog->model()->index(0, 0) });
    QVERIFY(started->isModified());
    QVERIFY(!other->isModified());

    // A file chosen with Import goes into the active report, as before.
    ScriptedPrompts::get().paths << file;
    m_window->findChild<QAction*>("actionImport")->trigger();
    emit dialog->importRow({ dialog->model()->index(0, 0) });
    QVERIFY(other->isModified());
    QCOMPARE(ScriptedPrompts::get().unanswered, 0);
}

void TestDataLogger::closingWhileTheLoggerRunsLeavesItRunning()
{
    const QString gate = m_dir.filePath("gate");
    qputenv("KESTROVAN_FAKE_LOGGER_WAIT_FOR", gate.toUtf8());
    qputenv("KESTROVAN_FAKE_LOGGER_FILE", m_dir.filePath("late.csv").toUtf8());
    m_window->findChild<QAction*>("actionDownload")->trigger();
    QProcess* logger = m_window->findChild<QProcess*>();
    QVERIFY(logger);
    QVERIFY(logger->waitForStarted(10000));
    const qint64 pid = logger->processId();
    m_window->close();
    m_window.reset();
    QCoreApplication::processEvents();
    // No "failed to start" on a window that is going away, and the user's logger lives on.
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());
    QCOMPARE(::kill(pid_t(pid), 0), 0);
    QFile go(gate);
    QVERIFY(go.open(QIODevice::WriteOnly));
    go.close();
    QElapsedTimer timer;
    timer.start();
    while (::kill(pid_t(pid), 0) == 0 && timer.elapsed() < 20000)
        QTest::qWait(10);
    QVERIFY(::kill(pid_t(pid), 0) != 0);
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());
}

void TestDataLogger::importRemembersTheFileAndShowsTheDialog()
{
    auto& prompts = ScriptedPrompts::get();
    prompts.paths << QString(); // cancelled
    m_window->findChild<QAction*>("actionImport")->trigger();
    QCOMPARE(prompts.asked.size(), 1);
    QCOMPARE(prompts.asked[0].caption, QString("Import CSV File"));
    QCOMPARE(prompts.asked[0].filter, QString("CSV Files (*.csv)"));
    QCOMPARE(prompts.asked[0].dir, m_dir.path());
    QVERIFY(!m_window->importDialog()->isVisible());

    const QString file = m_dir.filePath("results.csv");
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("T,SN\nIndex,TestType\n1,2\n");
    }
    prompts.paths << file;
    m_window->findChild<QAction*>("actionImport")->trigger();
    QVERIFY(m_window->importDialog()->isVisible());
    QCOMPARE(QSettings().value("Directories/LastImportDir").toString(), file);
    prompts.paths << QString();
    m_window->findChild<QAction*>("actionImport")->trigger();
    QCOMPARE(prompts.asked.last().dir, file);
}

void TestDataLogger::fileWithoutResultsSaysWhy()
{
    auto& prompts = ScriptedPrompts::get();
    struct Case
    {
        const char* name;
        QByteArray content;
        const char* expected;
    };
    const QString text16 = QStringLiteral("T,SN 1\r\nIndex,TestType\r\n1,2\r\n");
    const QByteArray utf16 = QByteArray("\xff\xfe", 2)
        + QByteArray(reinterpret_cast<const char*>(text16.utf16()), 2 * text16.size());
    const QList<Case> cases = {
        { "empty.csv", QByteArray(), "is empty: it holds no test results." },
        { "header.csv", "PV Tester Results,SN 1\nIndex,TestType,IVCurve\n",
            "holds only its header lines: there are no test results in it." },
        { "title.csv", "PV Tester Results,SN 1\n", "has no line of column names" },
        { "utf16.csv", utf16, "is saved as UTF-16 text" },
    };
    for (const Case& c : cases) {
        prompts.reset();
        const QString file = m_dir.filePath(c.name);
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(c.content);
        }
        m_window->importFile(file);
        QCOMPARE(prompts.asked.size(), 1);
        const QString text = prompts.asked.first().message.text;
        QVERIFY2(text.startsWith(QString("\"%1\"").arg(file)) && text.contains(c.expected), qPrintable(text));
        QCOMPARE(prompts.asked.first().message.icon, QMessageBox::Warning);
        QVERIFY(!m_window->importDialog()->isVisible());
        QVERIFY(QSettings().value("Directories/LastImportDir").toString() != file);
    }
}

KESTROVAN_TEST_MAIN(TestDataLogger)
#include "tst_datalogger.moc"
