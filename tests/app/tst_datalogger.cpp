#include "CsvResultsModel.h"
#include "DataLoggerProgram.h"
#include "DialogImportResults.h"
#include "MainWindow.h"
#include "SavedAge.h"
#include "TestSupport.h"

#include <QAction>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>

// Starting the data logger, and offering what it downloaded for import.
class TestDataLogger : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void ageText_data();
    void ageText();
    void downloadedFileIsOfferedForImport();
    void fileOlderThanTheStartIsNotOffered();
    void missingLoggerIsReported();
    void crashingLoggerIsReported();
    void importRemembersTheFileAndShowsTheDialog();

private:
    void runLogger();
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
    m_window = std::make_unique<MainWindow>();
}

void TestDataLogger::cleanup()
{
    m_window.reset();
    DataLoggerProgram::overridePathForTests(QString());
}

void TestDataLogger::ageText_data()
{
    QTest::addColumn<qint64>("secondsAgo");
    QTest::addColumn<QString>("expected");
    QTest::newRow("90 s") << qint64(90) << "90 seconds ago";
    QTest::newRow("119 s") << qint64(119) << "119 seconds ago";
    QTest::newRow("120 s") << qint64(120) << "2 minutes ago";
    QTest::newRow("7199 s") << qint64(7199) << "119 minutes ago";
    QTest::newRow("2 h") << qint64(7200) << "2 hours ago";
    QTest::newRow("86399 s") << qint64(86399) << "23 hours ago";
}

void TestDataLogger::ageText()
{
    QFETCH(qint64, secondsAgo);
    QFETCH(QString, expected);
    const QDateTime now(QDate(2026, 12, 7), QTime(15, 0, 0));
    QCOMPARE(savedAgoText(now.addSecs(-secondsAgo), now), expected);
    // Days count calendar days: 30 hours back from early morning crosses two midnights.
    const QDateTime early(QDate(2026, 12, 7), QTime(2, 0, 0));
    QCOMPARE(savedAgoText(early.addSecs(-30 * 3600), early), QString("2 days ago"));
    QCOMPARE(savedAgoText(now.addSecs(-30 * 3600), now), QString("1 days ago"));
}

void TestDataLogger::runLogger()
{
    m_window->findChild<QAction*>("actionDownload")->trigger();
    QProcess* logger = m_window->findChild<QProcess*>();
    QVERIFY(logger);
    QVERIFY(logger->waitForFinished(10000));
    QCoreApplication::processEvents();
}

void TestDataLogger::downloadedFileIsOfferedForImport()
{
    const QString file = m_dir.filePath("download.csv");
    qputenv("KESTROVAN_FAKE_LOGGER_FILE", file.toUtf8());
    auto& prompts = ScriptedPrompts::get();
    prompts.buttons << QMessageBox::Yes;
    runLogger();
    QCOMPARE(prompts.messageTexts(),
        QStringList { "Would you like to import the last file you just downloaded?" });
    const QString detail = prompts.asked.first().message.informativeText;
    QVERIFY2(QRegularExpression(
                 QString("^File: %1 was saved [0-9] seconds ago\\.$").arg(QRegularExpression::escape(file)))
                 .match(detail)
                 .hasMatch(),
        qPrintable(detail));
    QTRY_VERIFY(m_window->importDialog()->isVisible());
    QCOMPARE(m_window->importDialog()->model()->rowCount(), 1);
    QCOMPARE(QSettings().value("Directories/LastImportDir").toString(), file);
}

void TestDataLogger::fileOlderThanTheStartIsNotOffered()
{
    const QString file = m_dir.filePath("old.csv");
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old");
        f.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime);
    }
    qputenv("KESTROVAN_FAKE_LOGGER_FILE", file.toUtf8());
    qputenv("KESTROVAN_FAKE_LOGGER_KEEP_FILE", "1");
    runLogger();
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());
    QVERIFY(!m_window->importDialog()->isVisible());
}

void TestDataLogger::missingLoggerIsReported()
{
    DataLoggerProgram::overridePathForTests(m_dir.filePath("HalvernDataLogger"));
    m_window->findChild<QAction*>("actionDownload")->trigger();
    QCOMPARE(ScriptedPrompts::get().messageTexts(),
        QStringList { QString("Could not find:\n%1.\nPlease try installing the program again")
                          .arg(m_dir.filePath("HalvernDataLogger")) });
    QVERIFY(!m_window->findChild<QProcess*>());
}

void TestDataLogger::crashingLoggerIsReported()
{
    qputenv("KESTROVAN_FAKE_LOGGER_CRASH", "1");
    runLogger();
    QCOMPARE(ScriptedPrompts::get().messageTexts(),
        QStringList {
            "HalvernDataLogger failed to start. A file may be missing or corrupted. Please install again." });
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

KESTROVAN_TEST_MAIN(TestDataLogger)
#include "tst_datalogger.moc"
