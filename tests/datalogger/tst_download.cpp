#include "DownloadData.h"
#include "HvGui/MainWindow.h"
#include "Instrument.h"
#include "LoggerApplication.h"
#include "LoggerHandOver.h"
#include "LoggerResources.h"
#include "TestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>

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

KESTROVAN_TEST_MAIN(TestDownload)
#include "tst_download.moc"
