#include "CsvResultsModel.h"
#include "DataLoggerLauncher.h"
#include "DataLoggerProgram.h"
#include "Instrument.h"
#include "LoggerHandOver.h"
#include "TestSupport.h"
#include "TesterFileGenerator.h"

#include <QMessageBox>
#include <QProcess>
#include <QSignalSpy>
#include <QWidget>

// The whole road once, with the real programs: a tester's results in the simulated instrument,
// the HalvernDataLogger program driven through its window as a user drives it (a toolkit plugin
// clicks for the user; the program is the one users run), and Kestrovan's side of the hand-over
// finding the saved file and reading its results.
class TestEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void downloadIsHandedToKestrovan();
    void twoLoggersEachHandOverTheirOwnFile();
};

void TestEndToEnd::downloadIsHandedToKestrovan()
{
    TesterFileOptions options;
    options.rows = 40;
    const QByteArray results = generateTesterFile(options);
    Instrument instrument(results, { "--rate", "0", "--chunk", "64", "--crlf" });
    QVERIFY(!instrument.path().isEmpty());

    QTemporaryDir dir;
    const QString target = dir.filePath("download.csv");
    QSettings(LoggerHandOver::organisationName(), LoggerHandOver::applicationName()).clear();
    const QDateTime started = QDateTime::currentDateTime().addSecs(-1);

    QProcess logger;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QT_PLUGIN_PATH", LOGGER_DRIVER_PLUGINS);
    env.insert("QT_QPA_GENERIC_PLUGINS", "loggerdriver");
    env.insert("LOGGER_DRIVER_PORT", instrument.path());
    env.insert("LOGGER_DRIVER_FILE", target);
    env.insert("HALVERN_EXTRA_PORTS", instrument.path());
    logger.setProcessEnvironment(env);
    logger.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Arguments of its own it ignores; the toolkit's it hands on.
    logger.start(HALVERN_DATA_LOGGER, { "--some-argument", "file.csv" });
    QVERIFY(logger.waitForStarted(10000));
    QVERIFY2(logger.waitForFinished(120000), "the logger did not finish");
    QCOMPARE(logger.exitStatus(), QProcess::NormalExit);
    QCOMPARE(logger.exitCode(), 0);
    QCOMPARE(logger.readAllStandardOutput(), QByteArray());

    // The logger's store: the port for next time, the read time-out it filled in.
    QSettings store(LoggerHandOver::organisationName(), LoggerHandOver::applicationName());
    QCOMPARE(store.value("Device/PortName").toString(), instrument.path());
    QCOMPARE(store.value("Device/ReadTimeout").toInt(), 110);

    // Kestrovan's side: the path in the hand-over setting, a file newer than the start, the
    // bytes as the instrument sent them, and results its import reads.
    QCOMPARE(DataLoggerProgram::lastSavedFilePath(), target);
    QVERIFY(QFileInfo(target).lastModified() > started);
    QFile saved(target);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QByteArray expected = results;
    expected.replace("\r\n", "\n").replace("\n", "\r\n");
    QCOMPARE(saved.readAll(), expected);
    saved.seek(0);
    CsvResultsModel model;
    QVERIFY(model.load(saved));
    QCOMPARE(model.rowCount(), options.rows);
}

void TestEndToEnd::twoLoggersEachHandOverTheirOwnFile()
{
    // A curve document's two downloads at once, with the real logger: the meter's logger saves
    // M.csv and ends while the tester's is still open; the tester's then ends without a save.
    Instrument meter("Date,Time,Irradiance,Temperature\n07/12/2026,10:00:00,812,25.5\n");
    QVERIFY(!meter.path().isEmpty());
    QTemporaryDir dir;
    const QString meterFile = dir.filePath("M.csv");
    const QString testerDone = dir.filePath("tester done");
    QSettings(LoggerHandOver::organisationName(), LoggerHandOver::applicationName()).clear();
    DataLoggerProgram::overridePathForTests(HALVERN_DATA_LOGGER);
    qputenv("QT_PLUGIN_PATH", LOGGER_DRIVER_PLUGINS);
    qputenv("QT_QPA_GENERIC_PLUGINS", "loggerdriver");
    qputenv("HALVERN_EXTRA_PORTS", meter.path().toLocal8Bit());
    qputenv("LOGGER_DRIVER_EXIT_WHEN", testerDone.toLocal8Bit());

    QWidget document;
    DataLoggerLauncher tester(&document);
    DataLoggerLauncher meterLauncher(&document);
    QSignalSpy testerFiles(&tester, &DataLoggerLauncher::fileToImport);
    QSignalSpy meterFiles(&meterLauncher, &DataLoggerLauncher::fileToImport);
    auto& prompts = ScriptedPrompts::get();
    prompts.buttons << QMessageBox::Yes;

    qputenv("LOGGER_DRIVER_PORT", QByteArray());
    QVERIFY(tester.start());
    qputenv("LOGGER_DRIVER_PORT", meter.path().toLocal8Bit());
    qputenv("LOGGER_DRIVER_FILE", meterFile.toLocal8Bit());
    QVERIFY(meterLauncher.start());
    QTRY_COMPARE_WITH_TIMEOUT(meterFiles.size(), 1, 60000);
    QCOMPARE(meterFiles.first().first().toString(), meterFile);
    QVERIFY(tester.isRunning());

    QFile done(testerDone);
    QVERIFY(done.open(QIODevice::WriteOnly));
    done.close();
    QTRY_VERIFY_WITH_TIMEOUT(!tester.isRunning(), 60000);
    QCoreApplication::processEvents();
    QCOMPARE(prompts.asked.size(), 1);
    QCOMPARE(testerFiles.size(), 0);
    // The shared key still names the last save, for whatever reads only that.
    QCOMPARE(DataLoggerProgram::lastSavedFilePath(), meterFile);
    DataLoggerProgram::overridePathForTests(QString());
    for (const char* name : { "QT_PLUGIN_PATH", "QT_QPA_GENERIC_PLUGINS", "HALVERN_EXTRA_PORTS",
             "LOGGER_DRIVER_EXIT_WHEN", "LOGGER_DRIVER_PORT", "LOGGER_DRIVER_FILE" })
        qunsetenv(name);
}

KESTROVAN_TEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
