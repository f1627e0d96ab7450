#include "DownloadData.h"
#include "HvGui/MainWindow.h"
#include "Instrument.h"
#include "LoggerApplication.h"
#include "LoggerHandOver.h"
#include "LoggerResources.h"
#include "SerialDeviceAsync.h"
#include "TestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <sys/resource.h>

// One download from the simulated instrument through the logger's window, and what is saved.
class TestDownload : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void savedFileIsTheAnswerWithTopBitsCleared();
    void commaDecimalLocaleConvertsCsvFiles_data();
    void commaDecimalLocaleConvertsCsvFiles();
    void cancelBeforeAnyByteSavesNothing();
    void readTimeoutSettingIsRepaired_data();
    void readTimeoutSettingIsRepaired();
    void portIsRememberedAndOpenFailureReported();
    void cancellingTheSaveDialogKeepsTheSetting();
    void failedSaveKeepsTheDataForAnotherTry();
    void unpluggedLineKeepsWhatArrived();
    void endlessAnswerStopsAtTheLimit();
    void limitCutIsSaidBeforeTheSave_data();
    void limitCutIsSaidBeforeTheSave();
    void longDownloadShowsItsLastPart();
    void chosenFilterSuffixIsAdded_data();
    void chosenFilterSuffixIsAdded();
    void openIsOnlyForAFileThisDownloadSaved();
    void connectionMessagesSayWhatHappened();
    void fileSizeLimitFailsTheSaveOnly();
    void portListFollowsAdaptersComingAndGoing();
    void instrumentAnsweringTheFirstCommand();

private:
    std::unique_ptr<HvGui::MainWindow> makeWindow(const QString& port);
    // Presses Download and waits until the download has ended.
    void download(HvGui::MainWindow& window);
    QByteArray fileBytes(const QString& path);
    QTemporaryDir m_dir;
};

namespace {
QSettings loggerSettings()
{
    return QSettings(LoggerHandOver::organisationName(), LoggerHandOver::applicationName());
}

template <typename T> T* child(QWidget& window, const char* name)
{
    T* widget = window.findChild<T*>(QLatin1String(name));
    Q_ASSERT(widget);
    return widget;
}

const QByteArray testerAnswer = "PV Tester Results,SN 1\nIndex,Voc (VDC),Isc (ADC)\n1,612.5,8.25\n2,1.5,2\n";
} // namespace

void TestDownload::initTestCase()
{
    LoggerApplication::setIdentity();
    initLoggerResources();
}

void TestDownload::init()
{
    ScriptedPrompts::get().reset();
    TestSupport::openedUrls().clear();
    QSettings().clear();
    QLocale::setDefault(QLocale::c());
}

void TestDownload::cleanup()
{
    qunsetenv("HALVERN_EXTRA_PORTS");
    QLocale::setDefault(QLocale::c());
}

std::unique_ptr<HvGui::MainWindow> TestDownload::makeWindow(const QString& port)
{
    qputenv("HALVERN_EXTRA_PORTS", port.toLocal8Bit());
    auto window = std::make_unique<HvGui::MainWindow>();
    auto* ports = window->findChild<QComboBox*>("comPorts");
    const int index = ports->findData(port);
    if (index >= 0)
        ports->setCurrentIndex(index);
    return window;
}

void TestDownload::download(HvGui::MainWindow& window)
{
    child<QPushButton>(window, "downloadBtn")->click();
    QVERIFY(window.isDownloading());
    QTRY_VERIFY_WITH_TIMEOUT(!window.isDownloading(), 20000);
}

QByteArray TestDownload::fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void TestDownload::savedFileIsTheAnswerWithTopBitsCleared()
{
    Instrument instrument(testerAnswer, { "--rate", "0", "--chunk", "7", "--crlf", "--topbit" });
    QVERIFY(!instrument.path().isEmpty());
    auto window = makeWindow(instrument.path());
    QCOMPARE(window->findChild<QComboBox*>("comPorts")->currentText(), instrument.path());
    const QString target = m_dir.filePath("download.csv");
    auto& prompts = ScriptedPrompts::get();
    prompts.paths << target;
    download(*window);

    QByteArray withCrLf = testerAnswer;
    withCrLf.replace("\n", "\r\n");
    // What came over the line is kept unchanged, top bits included ...
    QCOMPARE(window->receivedData().size(), withCrLf.size());
    QVERIFY(window->receivedData() != withCrLf);
    QCOMPARE(quint8(window->receivedData().at(2)), quint8(withCrLf.at(2) | 0x80));
    // ... the file has them cleared and keeps the carriage returns.
    QCOMPARE(fileBytes(target), withCrLf);
    // The view never shows a carriage return.
    const QString shown = child<QPlainTextEdit>(*window, "outputTextEdit")->toPlainText();
    QVERIFY(!shown.contains(QLatin1Char('\r')));
    QCOMPARE(shown.count(QLatin1Char('\n')), window->receivedData().count('\n'));
    QVERIFY(shown.startsWith("PV"));

    QCOMPARE(prompts.asked.size(), 1);
    QCOMPARE(prompts.asked[0].kind, QString("save"));
    QCOMPARE(prompts.asked[0].caption, QString("Save downloaded data to file"));
    // With no earlier save the dialog starts in a folder that exists.
    QVERIFY(QFileInfo(prompts.asked[0].dir).isDir());
    QCOMPARE(prompts.asked[0].filter,
        QString("Comma Separated Value files (*.csv);;Text files (*.txt);;All files (*.*)"));
    QCOMPARE(loggerSettings().value("Device/LastSavedFilePath").toString(), target);
    QCOMPARE(QSettings().value("Device/ReadTimeout").toInt(), 110);
    QCOMPARE(window->statusBar()->currentMessage(), QString("File successfully saved"));
    QVERIFY(child<QPushButton>(*window, "saveBtn")->isVisibleTo(window.get()));
    QVERIFY(child<QPushButton>(*window, "downloadBtn")->isVisibleTo(window.get()));
    QVERIFY(!child<QPushButton>(*window, "cancelBtn")->isVisibleTo(window.get()));
    QVERIFY(child<QComboBox>(*window, "comPorts")->isEnabled());

    child<QPushButton>(*window, "openBtn")->click();
    QCOMPARE(TestSupport::openedUrls(), QList<QUrl> { QUrl::fromLocalFile(target) });

    // The next save starts where the last one went.
    prompts.reset();
    prompts.paths << QString();
    child<QPushButton>(*window, "saveBtn")->click();
    QCOMPARE(prompts.asked.at(0).dir, target);
}

void TestDownload::commaDecimalLocaleConvertsCsvFiles_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("de csv") << "de_DE"
                            << "DATA.CSV" << QByteArray("1,5;2\r\n3;4,25\r\n");
    QTest::newRow("fr csv") << "fr_FR"
                            << "mesures.csv" << QByteArray("1,5;2\r\n3;4,25\r\n");
    QTest::newRow("de txt") << "de_DE"
                            << "data.txt" << QByteArray("1.5,2\r\n3,4.25\r\n");
    QTest::newRow("en csv") << "en_US"
                            << "data.csv" << QByteArray("1.5,2\r\n3,4.25\r\n");
}

void TestDownload::commaDecimalLocaleConvertsCsvFiles()
{
    QFETCH(QString, locale);
    QFETCH(QString, fileName);
    QFETCH(QByteArray, expected);
    QLocale::setDefault(QLocale(locale));
    Instrument instrument("1.5,2\r\n3,4.25\r\n");
    auto window = makeWindow(instrument.path());
    const QString target = m_dir.filePath(fileName);
    ScriptedPrompts::get().paths << target;
    download(*window);
    QCOMPARE(fileBytes(target), expected);
    // What is kept in memory stays as received.
    QCOMPARE(window->receivedData(), QByteArray("1.5,2\r\n3,4.25\r\n"));
}

void TestDownload::cancelBeforeAnyByteSavesNothing()
{
    Instrument instrument(testerAnswer, { "--never-answer" });
    auto window = makeWindow(instrument.path());
    child<QPushButton>(*window, "downloadBtn")->click();
    QVERIFY(window->isDownloading());
    QCOMPARE(window->statusBar()->currentMessage(), QString("Now initiate the download on the tester"));
    QVERIFY(!child<QComboBox>(*window, "comPorts")->isEnabled());
    QVERIFY(!window->findChild<QAction*>("actionRefreshPorts")->isEnabled());
    // Read time-outs come and go while the instrument keeps quiet; none ends the download.
    QTest::qWait(400);
    QVERIFY(window->isDownloading());
    child<QPushButton>(*window, "cancelBtn")->click();
    QVERIFY(!window->isDownloading());
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());
    QVERIFY(!child<QPushButton>(*window, "openBtn")->isVisibleTo(window.get()));
    QVERIFY(!child<QPushButton>(*window, "saveBtn")->isVisibleTo(window.get()));
    QVERIFY(!child<QPushButton>(*window, "cancelBtn")->isVisibleTo(window.get()));
    QVERIFY(child<QPushButton>(*window, "downloadBtn")->isVisibleTo(window.get()));
    QVERIFY(child<QComboBox>(*window, "comPorts")->isEnabled());
    QVERIFY(window->findChild<QAction*>("actionRefreshPorts")->isEnabled());
    QVERIFY(!loggerSettings().contains("Device/LastSavedFilePath"));

    // The port was given back: a second download can open it.
    child<QPushButton>(*window, "downloadBtn")->click();
    QVERIFY(window->isDownloading());
    child<QPushButton>(*window, "cancelBtn")->click();
    QVERIFY(ScriptedPrompts::get().messageTexts().isEmpty());
}

void TestDownload::readTimeoutSettingIsRepaired_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("expected");
    QTest::newRow("text") << QVariant("abc") << 110;
    QTest::newRow("zero") << QVariant(0) << 110;
    QTest::newRow("negative") << QVariant(-5) << 110;
    QTest::newRow("sensible") << QVariant(250) << 250;
    QTest::newRow("sensible text") << QVariant("300") << 300;
}

void TestDownload::readTimeoutSettingIsRepaired()
{
    QFETCH(QVariant, stored);
    QFETCH(int, expected);
    QSettings().setValue("Device/ReadTimeout", stored);
    Instrument instrument("1\n");
    auto window = makeWindow(instrument.path());
    ScriptedPrompts::get().paths << m_dir.filePath("timeout.txt");
    download(*window);
    QCOMPARE(QSettings().value("Device/ReadTimeout").toInt(), expected);
    QCOMPARE(fileBytes(m_dir.filePath("timeout.txt")), QByteArray("1\n"));
}

void TestDownload::portIsRememberedAndOpenFailureReported()
{
    const QString missing = m_dir.filePath("no-such-port");
    Instrument instrument("x\n");
    {
        auto window = makeWindow(instrument.path() + ":" + missing);
        auto* ports = child<QComboBox>(*window, "comPorts");
        ports->setCurrentIndex(ports->findData(missing));
        QCOMPARE(ports->currentText(), missing);

        child<QPushButton>(*window, "downloadBtn")->click();
        QCOMPARE(ScriptedPrompts::get().messageTexts(),
            QStringList { "Failed to connect. Please check the device is connected and switched on" });
        QCOMPARE(ScriptedPrompts::get().asked.at(0).message.icon, QMessageBox::Warning);
        QVERIFY(!window->isDownloading());
        QVERIFY(child<QPushButton>(*window, "downloadBtn")->isVisibleTo(window.get()));
        QVERIFY(!child<QPushButton>(*window, "cancelBtn")->isVisibleTo(window.get()));
        QVERIFY(!child<QPushButton>(*window, "saveBtn")->isVisibleTo(window.get()));
    }
    QCOMPARE(QSettings().value("Device/PortName").toString(), missing);
    {
        auto window = std::make_unique<HvGui::MainWindow>();
        QCOMPARE(child<QComboBox>(*window, "comPorts")->currentText(), missing);
    }
    // A remembered port that has gone leaves the first port current.
    qputenv("HALVERN_EXTRA_PORTS", instrument.path().toLocal8Bit());
    HvGui::MainWindow window;
    QCOMPARE(child<QComboBox>(window, "comPorts")->currentIndex(), 0);
}

void TestDownload::cancellingTheSaveDialogKeepsTheSetting()
{
    const QString previous = m_dir.filePath("earlier.csv");
    loggerSettings().setValue("Device/LastSavedFilePath", previous);
    Instrument instrument(testerAnswer);
    auto window = makeWindow(instrument.path());
    ScriptedPrompts::get().paths << QString();
    download(*window);
    QCOMPARE(ScriptedPrompts::get().asked.size(), 1);
    QCOMPARE(ScriptedPrompts::get().asked[0].dir, previous);
    QCOMPARE(loggerSettings().value("Device/LastSavedFilePath").toString(), previous);
    QVERIFY(window->lastSavedFilePath().isEmpty());
    QCOMPARE(window->receivedData(), testerAnswer);
    // Save is still offered for the data in memory.
    QVERIFY(child<QPushButton>(*window, "saveBtn")->isVisibleTo(window.get()));
}

void TestDownload::failedSaveKeepsTheDataForAnotherTry()
{
    // A folder where the file should go: the save cannot replace it.
    const QString blocked = m_dir.filePath("blocked.csv");
    QVERIFY(QDir().mkpath(blocked));
    QFile inside(blocked + "/keep.txt");
    QVERIFY(inside.open(QIODevice::WriteOnly));
    inside.write("kept");
    inside.close();
    const QString earlier = m_dir.filePath("earlier.csv");
    loggerSettings().setValue("Device/LastSavedFilePath", earlier);

    Instrument instrument(testerAnswer);
    auto window = makeWindow(instrument.path());
    auto& prompts = ScriptedPrompts::get();
    prompts.paths << blocked;
    download(*window);
    QCOMPARE(prompts.messageTexts(),
        QStringList {
            QString("Error opening \"%1\" for writing. Is it open already or read only?").arg(blocked) });
    QCOMPARE(loggerSettings().value("Device/LastSavedFilePath").toString(), earlier);
    QVERIFY(QFileInfo(blocked).isDir());
    QCOMPARE(fileBytes(blocked + "/keep.txt"), QByteArray("kept"));
    QVERIFY(child<QPushButton>(*window, "saveBtn")->isVisibleTo(window.get()));

    const QString good = m_dir.filePath("second-try.csv");
    prompts.paths << good;
    child<QPushButton>(*window, "saveBtn")->click();
    QCOMPARE(fileBytes(good), testerAnswer);
    QCOMPARE(loggerSettings().value("Device/LastSavedFilePath").toString(), good);
}

void TestDownload::unpluggedLineKeepsWhatArrived()
{
    // A long read time-out, so that the hang-up comes before the silence would end the download.
    QSettings().setValue("Device/ReadTimeout", 3000);
    QByteArray answer;
    for (int i = 0; i < 100; ++i)
        answer += QByteArray::number(i) + ",1.5\n";
    Instrument instrument(answer, { "--rate", "0", "--chunk", "10", "--hangup-after", "120" });
    auto window = makeWindow(instrument.path());
    const QString target = m_dir.filePath("partial.txt");
    ScriptedPrompts::get().paths << target;
    download(*window);
    QCOMPARE(window->receivedData(), answer.left(120));
    QCOMPARE(fileBytes(target), answer.left(120));
    QCOMPARE(loggerSettings().value("Device/LastSavedFilePath").toString(), target);
    QVERIFY(child<QPushButton>(*window, "downloadBtn")->isVisibleTo(window.get()));
    QVERIFY(!child<QPushButton>(*window, "cancelBtn")->isVisibleTo(window.get()));
    QCOMPARE(window->statusBar()->currentMessage(),
        QString("The connection to the device was lost. The data received so far is kept."));
}

void TestDownload::endlessAnswerStopsAtTheLimit()
{
    QByteArray answer(20000, 'a');
    for (int i = 0; i < answer.size(); i += 50)
        answer[i] = '\n';
    Instrument instrument(answer);
    auto window = makeWindow(instrument.path());
    window->setDownloadLimit(4096);
    const QString target = m_dir.filePath("limited.txt");
    ScriptedPrompts::get().paths << target;
    download(*window);
    QCOMPARE(window->receivedData(), answer.left(4096));
    QCOMPARE(fileBytes(target), answer.left(4096));
    QVERIFY(child<QPushButton>(*window, "saveBtn")->isVisibleTo(window.get()));
    QVERIFY(window->statusBar()->currentMessage().startsWith("The download was stopped at"));
}

void TestDownload::instrumentAnsweringTheFirstCommand()
{
    // An instrument that starts sending on "SYST:REM" alone: its answer is the download all
    // the same, and the second command does not disturb it.
    Instrument instrument(testerAnswer, { "--rate", "0", "--first-only" });
    auto window = makeWindow(instrument.path());
    const QString target = m_dir.filePath("first-only.csv");
    ScriptedPrompts::get().paths << target;
    download(*window);
    QCOMPARE(fileBytes(target), testerAnswer);
}

void TestDownload::limitCutIsSaidBeforeTheSave_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("answerSize");
    QTest::addColumn<bool>("cut");
    // Sent at full speed and then silent: the limit is met while the window is still behind.
    QTest::newRow("cut, then silent") << QStringList { "--rate", "0", "--size", "300000" } << 300000 << true;
    QTest::newRow("never silent") << QStringList { "--rate", "0", "--endless" } << 0 << true;
    QTest::newRow("fits exactly") << QStringList { "--rate", "0", "--size", "65536" } << 65536 << false;
    QTest::newRow("fits") << QStringList { "--rate", "0", "--size", "60000" } << 60000 << false;
}

void TestDownload::limitCutIsSaidBeforeTheSave()
{
    QFETCH(QStringList, options);
    QFETCH(int, answerSize);
    QFETCH(bool, cut);
    constexpr int limit = 65536;
    QByteArray line = "0123456789,1.5,2.25,abcdefghijklmnopqrstuvwxyz\n";
    Instrument instrument(line, options);
    auto window = makeWindow(instrument.path());
    window->setDownloadLimit(limit);
    const QString target = m_dir.filePath("limited.txt");
    auto& prompts = ScriptedPrompts::get();
    prompts.paths << target;
    download(*window);

    const int kept = cut ? limit : answerSize;
    QByteArray expected;
    while (expected.size() < kept)
        expected += line;
    expected.truncate(kept);
    QCOMPARE(window->receivedData().size(), kept);
    QCOMPARE(window->receivedData(), expected);
    QCOMPARE(fileBytes(target), expected);
    if (cut) {
        const QString said
            = "The download was stopped at 64 KiB because the instrument sent more. Only the first 64 KiB "
              "were kept; the rest was dropped.";
        QCOMPARE(prompts.asked.size(), 2);
        QCOMPARE(prompts.asked.at(0).kind, QString("message"));
        QCOMPARE(prompts.asked.at(0).message.text, said);
        QCOMPARE(prompts.asked.at(0).message.icon, QMessageBox::Warning);
        QCOMPARE(prompts.asked.at(1).kind, QString("save"));
        QCOMPARE(window->statusBar()->currentMessage(), said);
    } else {
        QCOMPARE(prompts.asked.size(), 1);
        QCOMPARE(window->statusBar()->currentMessage(), QString("File successfully saved"));
    }
}

void TestDownload::longDownloadShowsItsLastPart()
{
    QByteArray answer;
    for (int i = 0; answer.size() < 3 * HvGui::MainWindow::ViewLimit; ++i)
        answer += "line " + QByteArray::number(i) + ",12.5,3.75\r\n";
    Instrument instrument(answer);
    auto window = makeWindow(instrument.path());
    const QString target = m_dir.filePath("long.txt");
    ScriptedPrompts::get().paths << target;
    download(*window);
    QCOMPARE(window->receivedData(), answer);
    QCOMPARE(fileBytes(target), answer);
    const QString shown = child<QPlainTextEdit>(*window, "outputTextEdit")->toPlainText();
    QVERIFY2(shown.size() < HvGui::MainWindow::ViewLimit, qPrintable(QString::number(shown.size())));
    QVERIFY2(shown.startsWith("This download is too long to show whole: "), qPrintable(shown.left(200)));
    QVERIFY(shown.contains(QLocale().formattedDataSize(answer.size())));
    // It ends with the last line, whole, and starts its part at a line's start.
    const QList<QByteArray> lines = answer.split('\n');
    QVERIFY(shown.endsWith(QString::fromLatin1(lines.at(lines.size() - 2)).remove('\r') + "\n"));
    const QString firstShown = shown.section("\n", 2, 2);
    QVERIFY2(firstShown.startsWith("line "), qPrintable(firstShown));
    QVERIFY(!shown.contains('\r'));

    // A short download after it is shown whole again.
    Instrument small(testerAnswer);
    qputenv("HALVERN_EXTRA_PORTS", small.path().toLocal8Bit());
    window->refreshPorts();
    auto* ports = child<QComboBox>(*window, "comPorts");
    ports->setCurrentIndex(ports->findData(small.path()));
    ScriptedPrompts::get().paths << QString();
    download(*window);
    QCOMPARE(child<QPlainTextEdit>(*window, "outputTextEdit")->toPlainText(), QString(testerAnswer));
}

void TestDownload::chosenFilterSuffixIsAdded_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("saved");
    const QString csv = "Comma Separated Value files (*.csv)";
    QTest::newRow("csv added") << "messung1" << csv << "messung1.csv";
    QTest::newRow("dot typed") << "messung1." << csv << "messung1.csv";
    QTest::newRow("txt added") << "messung1"
                               << "Text files (*.txt)"
                               << "messung1.txt";
    QTest::newRow("all files") << "messung1"
                               << "All files (*.*)"
                               << "messung1";
    QTest::newRow("own suffix kept") << "messung1.dat" << csv << "messung1.dat";
    QTest::newRow("dotted folder") << "mess.ungen/messung1" << csv << "mess.ungen/messung1.csv";
}

void TestDownload::chosenFilterSuffixIsAdded()
{
    QFETCH(QString, typed);
    QFETCH(QString, filter);
    QFETCH(QString, saved);
    QVERIFY(QDir(m_dir.path()).mkpath("mess.ungen"));
    QLocale::setDefault(QLocale("de_DE"));
    Instrument instrument("1.5,2\r\n");
    auto window = makeWindow(instrument.path());
    auto& prompts = ScriptedPrompts::get();
    prompts.paths << m_dir.filePath(typed);
    prompts.selectedFilters << filter;
    LoggerApplication::readCommandLine({ "HalvernDataLogger", "--hand-over-key", "launch-1" });
    download(*window);
    LoggerApplication::readCommandLine({});
    const QString target = m_dir.filePath(saved);
    // Converted as a .csv file under a comma-decimal locale when it became one.
    QCOMPARE(fileBytes(target), saved.endsWith(".csv") ? QByteArray("1,5;2\r\n") : QByteArray("1.5,2\r\n"));
    QCOMPARE(loggerSettings().value("Device/LastSavedFilePath").toString(), target);
    // The launcher that gave this logger its key finds the file under it.
    QCOMPARE(loggerSettings().value("HandOver/launch-1").toString(), target);
    QCOMPARE(window->lastSavedFilePath(), target);
    if (saved != typed)
        QVERIFY(!QFileInfo::exists(m_dir.filePath(typed)) || QFileInfo(m_dir.filePath(typed)).isDir());
}

void TestDownload::openIsOnlyForAFileThisDownloadSaved()
{
    Instrument instrument(testerAnswer);
    auto window = makeWindow(instrument.path());
    auto* open = child<QPushButton>(*window, "openBtn");
    auto& prompts = ScriptedPrompts::get();
    const QString first = m_dir.filePath("first.csv");
    prompts.paths << first;
    download(*window);
    QVERIFY(open->isVisibleTo(window.get()));

    // The next download's save dialog is cancelled: its data has no file to open.
    prompts.paths << QString();
    download(*window);
    QVERIFY(!open->isVisibleTo(window.get()));
    QVERIFY(window->lastSavedFilePath().isEmpty());

    // A save that fails leaves nothing to open either, least of all the earlier file.
    const QString blocked = m_dir.filePath("blocked.csv");
    QVERIFY(QDir().mkpath(blocked));
    prompts.paths << blocked;
    child<QPushButton>(*window, "saveBtn")->click();
    QCOMPARE(prompts.messageTexts().size(), 1);
    QVERIFY(!open->isVisibleTo(window.get()));
    QVERIFY(window->lastSavedFilePath().isEmpty());
    window->openFile();
    QVERIFY(TestSupport::openedUrls().isEmpty());

    const QString second = m_dir.filePath("second.csv");
    prompts.paths << second;
    child<QPushButton>(*window, "saveBtn")->click();
    QVERIFY(open->isVisibleTo(window.get()));
    open->click();
    QCOMPARE(TestSupport::openedUrls(), QList<QUrl> { QUrl::fromLocalFile(second) });
}

void TestDownload::connectionMessagesSayWhatHappened()
{
    auto& prompts = ScriptedPrompts::get();
    {
        // A line that goes dead before anything arrived has nothing to keep.
        QSettings().setValue("Device/ReadTimeout", 3000);
        Instrument instrument(testerAnswer, { "--rate", "0", "--hangup-after", "0" });
        auto window = makeWindow(instrument.path());
        download(*window);
        QCOMPARE(window->statusBar()->currentMessage(), QString("The connection to the device was lost."));
        QVERIFY(prompts.asked.isEmpty());
        QVERIFY(!child<QPushButton>(*window, "saveBtn")->isVisibleTo(window.get()));
    }
    {
        // Another program holds the port.
        Instrument instrument(testerAnswer);
        Hv::SerialDeviceAsync holder(nullptr, instrument.path());
        QVERIFY(holder.open(QIODevice::ReadWrite, 50));
        auto window = makeWindow(instrument.path());
        child<QPushButton>(*window, "downloadBtn")->click();
        QCOMPARE(prompts.messageTexts(),
            QStringList { QString("The port %1 is in use by another program. Close that program, or choose "
                                  "another port.")
                              .arg(instrument.path()) });
        QVERIFY(!window->isDownloading());
    }
}

void TestDownload::fileSizeLimitFailsTheSaveOnly()
{
    LoggerApplication::prepareProcess();
    rlimit before {};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &before), 0);
    QByteArray answer;
    while (answer.size() < 20000)
        answer += testerAnswer;
    Instrument instrument(answer);
    auto window = makeWindow(instrument.path());
    const QString target = m_dir.filePath("too-big.csv");
    auto& prompts = ScriptedPrompts::get();
    prompts.paths << target;
    rlimit small = before;
    small.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    download(*window);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &before), 0);
    QCOMPARE(prompts.messageTexts(),
        QStringList {
            QString("Error opening \"%1\" for writing. Is it open already or read only?").arg(target) });
    QVERIFY(!QFileInfo::exists(target));
    QCOMPARE(window->receivedData(), answer);
    QVERIFY(child<QPushButton>(*window, "saveBtn")->isVisibleTo(window.get()));
    QVERIFY(!child<QPushButton>(*window, "openBtn")->isVisibleTo(window.get()));
    // With room again the same data saves whole.
    prompts.paths << target;
    child<QPushButton>(*window, "saveBtn")->click();
    QCOMPARE(fileBytes(target), answer);
}

void TestDownload::portListFollowsAdaptersComingAndGoing()
{
    const QString a = m_dir.filePath("portA");
    const QString b = m_dir.filePath("portB");
    const QString c = m_dir.filePath("portC");
    qputenv("HALVERN_EXTRA_PORTS", (a + ":" + b).toLocal8Bit());
    HvGui::MainWindow window;
    auto* ports = child<QComboBox>(window, "comPorts");
    const int system = ports->count() - 2;
    QCOMPARE(ports->currentIndex(), 0);
    // The user picks b; a port plugged in does not move the choice.
    ports->setCurrentIndex(ports->findData(b));
    emit ports->activated(ports->currentIndex());
    qputenv("HALVERN_EXTRA_PORTS", (c + ":" + a + ":" + b).toLocal8Bit());
    window.portsMayHaveChanged();
    QCOMPARE(ports->count(), system + 3);
    QVERIFY(ports->findData(c) >= 0);
    QCOMPARE(ports->currentData().toString(), b);
    // The chosen port unplugged: the preferred one of what is left.
    qputenv("HALVERN_EXTRA_PORTS", (c + ":" + a).toLocal8Bit());
    window.portsMayHaveChanged();
    QCOMPARE(ports->count(), system + 2);
    QCOMPARE(ports->findData(b), -1);
    QCOMPARE(ports->currentIndex(), 0);
}

KESTROVAN_TEST_MAIN(TestDownload)
#include "tst_download.moc"
