#include "DownloadData.h"
#include "HvGui/DialogLanguage.h"
#include "HvGui/MainWindow.h"
#include "LoggerApplication.h"
#include "LoggerHandOver.h"
#include "LoggerResources.h"
#include "TestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTranslator>

// The logger's window beyond the download: menus, settings, About, Help, the language chooser,
// and the byte conversion of the saved file.
class TestLoggerWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void savedBytes_data();
    void savedBytes();
    void windowAsBuilt();
    void convertCsvDataFollowsTheLocale();
    void aboutAndHelp();
    void languageDialogListsTheLoggersCatalogues();
    void acceptedLanguageAsksForARestart();
    void chosenLanguageIsLoaded();
    void followsKestrovansLanguage_data();
    void followsKestrovansLanguage();
    void longStatusMessagesAreShownWhole();
    void handOverKeyFromTheCommandLine_data();
    void handOverKeyFromTheCommandLine();

private:
    QTemporaryDir m_dir;
};

void TestLoggerWindow::initTestCase()
{
    LoggerApplication::setIdentity();
    initLoggerResources();
}

void TestLoggerWindow::init()
{
    ScriptedPrompts::get().reset();
    TestSupport::openedUrls().clear();
    QSettings().clear();
    QLocale::setDefault(QLocale::c());
}

void TestLoggerWindow::cleanup()
{
    QLocale::setDefault(QLocale::c());
}

void TestLoggerWindow::savedBytes_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray line = "Voc,1.5,2\r\n";
    QTest::newRow("de upper-case suffix") << "de_DE"
                                          << "/x/DATA.CSV" << line << QByteArray("Voc;1,5;2\r\n");
    QTest::newRow("de mixed-case suffix") << "de_DE"
                                          << "/x/a.Csv" << line << QByteArray("Voc;1,5;2\r\n");
    QTest::newRow("fr") << "fr_FR"
                        << "/x/a.csv" << line << QByteArray("Voc;1,5;2\r\n");
    QTest::newRow("de txt") << "de_DE"
                            << "/x/a.txt" << line << line;
    QTest::newRow("de no suffix") << "de_DE"
                                  << "/x/csv" << line << line;
    QTest::newRow("en csv") << "en_US"
                            << "/x/a.csv" << line << line;
    QTest::newRow("C csv") << "C"
                           << "/x/a.csv" << line << line;
    // Top bits go in every case, before the separators are looked at: 0xAC is a comma with
    // its top bit set and becomes a list separator like any comma.
    QTest::newRow("top bits txt") << "en_US"
                                  << "/x/a.txt" << QByteArray("\xC1\xAE\x8D\x0A") << QByteArray("A.\r\n");
    QTest::newRow("top bits de csv") << "de_DE"
                                     << "/x/a.csv"
                                     << QByteArray("1\xAE"
                                                   "5\xAC"
                                                   "2")
                                     << QByteArray("1,5;2");
}

void TestLoggerWindow::savedBytes()
{
    QFETCH(QString, locale);
    QFETCH(QString, fileName);
    QFETCH(QByteArray, received);
    QFETCH(QByteArray, expected);
    QCOMPARE(DownloadData::forSaving(received, fileName, QLocale(locale)), expected);
    QCOMPARE(DownloadData::writesDecimalComma(QLocale(locale)), locale == "de_DE" || locale == "fr_FR");
}

void TestLoggerWindow::windowAsBuilt()
{
    QVERIFY(!QSettings().contains("MainWindow/Geometry"));
    auto owned = std::make_unique<HvGui::MainWindow>();
    HvGui::MainWindow& window = *owned;
    QCOMPARE(window.windowTitle(), QString("Halvern DataLogger"));
    QVERIFY(!window.windowIcon().isNull());
    for (const char* name : { "comPorts", "downloadBtn", "outputTextEdit" })
        QVERIFY2(window.findChild<QWidget*>(name)->isVisibleTo(&window), name);
    for (const char* name : { "cancelBtn", "openBtn", "saveBtn" })
        QVERIFY2(!window.findChild<QWidget*>(name)->isVisibleTo(&window), name);
    // Reachable: Exit, Refresh Ports, Help, About. Connected but out of the menus: the language
    // chooser and the country settings.
    QVERIFY(window.findChild<QAction*>("actionRefreshPorts")->isVisible());
    QVERIFY(!window.findChild<QAction*>("actionChangeLanguage")->isVisible());
    QVERIFY(!window.findChild<QMenu*>("menuCountrySettings")->menuAction()->isVisible());
    QCOMPARE(window.findChild<QAction*>("actionExit")->toolTip(), QString("Quits the application"));
    QCOMPARE(window.findChild<QAction*>("actionRefreshPorts")->toolTip(),
        QString("Refreshes the list of COM ports"));
    QCOMPARE(window.statusBar()->currentMessage(), QString("Please select a port and connect your device"));

    window.show();
    window.resize(600, 500);
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.findChild<QAction*>("actionExit")->trigger();
    QVERIFY(!window.isVisible());
    QVERIFY(!window.restartRequested());
    owned.reset();
    // Geometry and state are stored when the window goes, and the next one takes the size.
    QVERIFY(!QSettings().value("MainWindow/Geometry").toByteArray().isEmpty());
    QVERIFY(!QSettings().value("MainWindow/State").toByteArray().isEmpty());
    HvGui::MainWindow next;
    QCOMPARE(next.size(), QSize(600, 500));
}

void TestLoggerWindow::convertCsvDataFollowsTheLocale()
{
    QSettings().setValue("ConvertData", true);
    {
        QLocale::setDefault(QLocale("de_DE"));
        HvGui::MainWindow window;
        auto* convert = window.findChild<QAction*>("actionConvertCsvData");
        QVERIFY(convert->isChecked());
        convert->setChecked(false);
        QCOMPARE(QSettings().value("ConvertData").toBool(), false);
        convert->setChecked(true);
        QCOMPARE(QSettings().value("ConvertData").toBool(), true);
    }
    {
        // Under a period-decimal locale the setting is not read.
        QLocale::setDefault(QLocale("en_GB"));
        HvGui::MainWindow window;
        QVERIFY(!window.findChild<QAction*>("actionConvertCsvData")->isChecked());
    }
    {
        QSettings().remove("ConvertData");
        QLocale::setDefault(QLocale("de_DE"));
        HvGui::MainWindow window;
        QVERIFY(!window.findChild<QAction*>("actionConvertCsvData")->isChecked());
    }
}

void TestLoggerWindow::aboutAndHelp()
{
    HvGui::MainWindow window;
    window.findChild<QAction*>("actionAbout")->trigger();
    auto& prompts = ScriptedPrompts::get();
    QCOMPARE(prompts.asked.size(), 1);
    QCOMPARE(prompts.asked[0].message.title, QString("About Halvern DataLogger"));
    QCOMPARE(prompts.asked[0].message.text, QString("Halvern DataLogger\n\n 3.0\n"));

    window.findChild<QAction*>("actionHelp")->trigger();
    QCOMPARE(TestSupport::openedUrls().size(), 1);
    QVERIFY(TestSupport::openedUrls()[0].isLocalFile());
    QVERIFY(TestSupport::openedUrls()[0].toLocalFile().startsWith(LoggerApplication::helpFolder()));

    // The page in the user's language where there is one, else the English one.
    const QString folder = m_dir.filePath("Help");
    QVERIFY(QDir().mkpath(folder));
    for (const char* lang : { "en", "de" }) {
        QFile page(QString("%1/HalvernDataLoggerHelp_%2.html").arg(folder, lang));
        QVERIFY(page.open(QIODevice::WriteOnly));
    }
    QCOMPARE(
        LoggerApplication::helpFile(QLocale("de_AT"), folder), folder + "/HalvernDataLoggerHelp_de.html");
    QCOMPARE(
        LoggerApplication::helpFile(QLocale("en_GB"), folder), folder + "/HalvernDataLoggerHelp_en.html");
    QCOMPARE(
        LoggerApplication::helpFile(QLocale("fr_FR"), folder), folder + "/HalvernDataLoggerHelp_en.html");
}

void TestLoggerWindow::languageDialogListsTheLoggersCatalogues()
{
    const QString folder = m_dir.filePath("Translations");
    QVERIFY(QDir().mkpath(folder));
    for (const char* name : { "halverndatalogger_de.qm", "qt_de.qm", "qtbase_de.qm", "kestrovan_de.qm",
             "halverndatalogger_en.qm", "readme.txt" }) {
        QFile file(folder + "/" + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QCOMPARE(HvGui::DialogLanguage::languageCode("/a/b/halverndatalogger_de.qm"), QString("de"));
    {
        HvGui::DialogLanguage dialog(folder);
        auto* combo = dialog.findChild<QComboBox*>("languageCombo");
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemData(0).toString(), folder + "/halverndatalogger_en.qm");
        QCOMPARE(combo->itemData(0, Qt::UserRole + 1).toString(), QString("en"));
        QCOMPARE(combo->itemText(0), QString("English"));
        QCOMPARE(combo->itemData(1).toString(), folder + "/halverndatalogger_de.qm");
        QCOMPARE(combo->itemText(1), QString("Deutsch"));
        combo->setCurrentIndex(1);
        dialog.accept();
    }
    QCOMPARE(
        QSettings().value("HvGui/DialogLanguage/FilePath").toString(), folder + "/halverndatalogger_de.qm");
    QCOMPARE(QSettings().value("HvGui/DialogLanguage/Iso639Code").toString(), QString("de"));
    {
        // The stored choice is selected the next time.
        HvGui::DialogLanguage dialog(folder);
        QCOMPARE(dialog.findChild<QComboBox*>("languageCombo")->currentIndex(), 1);
    }
    {
        // An empty folder gives an empty list; accepting it stores empty values.
        HvGui::DialogLanguage dialog(m_dir.filePath("nothing-here"));
        QCOMPARE(dialog.findChild<QComboBox*>("languageCombo")->count(), 0);
        dialog.accept();
        QCOMPARE(QSettings().value("HvGui/DialogLanguage/FilePath").toString(), QString());
    }
}

void TestLoggerWindow::acceptedLanguageAsksForARestart()
{
    auto& prompts = ScriptedPrompts::get();
    {
        HvGui::MainWindow window;
        window.show();
        prompts.dialogHandler = [](QDialog*) { return int(QDialog::Rejected); };
        window.findChild<QAction*>("actionChangeLanguage")->trigger();
        QVERIFY(prompts.messageTexts().isEmpty());
        QVERIFY(!window.restartRequested());
        QVERIFY(window.isVisible());
    }
    {
        HvGui::MainWindow window;
        window.show();
        prompts.reset();
        prompts.dialogHandler = [](QDialog*) { return int(QDialog::Accepted); };
        prompts.buttons << QMessageBox::No;
        window.findChild<QAction*>("actionChangeLanguage")->trigger();
        QCOMPARE(prompts.asked.at(0).dialogClass, QString("HvGui::DialogLanguage"));
        QCOMPARE(prompts.messageTexts(),
            QStringList { "The language will be changed next time Halvern DataLogger is started." });
        QCOMPARE(prompts.asked.at(1).message.informativeText, QString("Would you like to restart now?"));
        QVERIFY(!window.restartRequested());
        prompts.buttons << QMessageBox::Yes;
        window.findChild<QAction*>("actionChangeLanguage")->trigger();
        QVERIFY(window.restartRequested());
        QVERIFY(!window.isVisible());
    }
}

void TestLoggerWindow::chosenLanguageIsLoaded()
{
    const QString folder = TestSupport::binaryFolder() + "/Translations";
    QSettings().setValue("HvGui/DialogLanguage/FilePath", folder + "/halverndatalogger_de.qm");
    QSettings().setValue("HvGui/DialogLanguage/Iso639Code", "de");
    LoggerApplication::installTranslations();
    {
        HvGui::MainWindow window;
        QCOMPARE(window.findChild<QPushButton*>("downloadBtn")->text(), QString("Herunterladen"));
        QCOMPARE(window.findChild<QMenu*>("menuFile")->title(), QString("Datei"));
        QCOMPARE(window.statusBar()->currentMessage(),
            QString("Bitte wählen Sie einen Anschluss und schließen Sie Ihr Gerät an"));
    }
    // Every text of the window has its German form in the catalogue.
    QTranslator german;
    QVERIFY(german.load(folder + "/halverndatalogger_de.qm"));
    for (const char* text :
        { "Device Connection", "Downloaded Output", "Now initiate the download on the tester",
            "Save downloaded data to file", "File successfully saved" })
        QVERIFY2(!german.translate("HvGui::MainWindow", text).isEmpty(), text);

    // Back to English the next time the window is built.
    QSettings().setValue("HvGui/DialogLanguage/FilePath", folder + "/halverndatalogger_en.qm");
    QSettings().setValue("HvGui/DialogLanguage/Iso639Code", "en");
    LoggerApplication::installTranslations();
    HvGui::MainWindow window;
    QCOMPARE(window.findChild<QPushButton*>("downloadBtn")->text(), QString("Download"));
}

void TestLoggerWindow::followsKestrovansLanguage_data()
{
    QTest::addColumn<QString>("kestrovan");
    QTest::addColumn<QString>("own");
    QTest::addColumn<QString>("download");
    QTest::addColumn<int>("language");
    QTest::newRow("German in Kestrovan") << "de_DE"
                                         << ""
                                         << "Herunterladen" << int(QLocale::German);
    QTest::newRow("English in Kestrovan") << "en"
                                          << ""
                                          << "Download" << int(QLocale::English);
    QTest::newRow("the logger's own choice first") << "de"
                                                   << "en"
                                                   << "Download" << int(QLocale::English);
}

void TestLoggerWindow::followsKestrovansLanguage()
{
    QFETCH(QString, kestrovan);
    QFETCH(QString, own);
    QFETCH(QString, download);
    QFETCH(int, language);
    QSettings store("Halvern", "Kestrovan Elements");
    store.setValue("locale", kestrovan);
    store.sync();
    if (!own.isEmpty()) {
        QSettings().setValue("HvGui/DialogLanguage/FilePath",
            TestSupport::binaryFolder() + "/Translations/halverndatalogger_" + own + ".qm");
        QSettings().setValue("HvGui/DialogLanguage/Iso639Code", own);
    }
    LoggerApplication::installTranslations(TestSupport::binaryFolder() + "/Translations");
    {
        HvGui::MainWindow window;
        QCOMPARE(window.findChild<QPushButton*>("downloadBtn")->text(), download);
        // Dates and numbers too, when the language is not the desktop's.
        if (QLocale::system().language() != QLocale::Language(language))
            QCOMPARE(int(QLocale().language()), language);
    }
    // Following the desktop again in Kestrovan makes the logger follow it too.
    store.clear();
    store.setValue("locale", kestrovan);
    store.setValue("localeFollowsSystem", true);
    store.sync();
    QSettings().remove("HvGui/DialogLanguage");
    LoggerApplication::installTranslations(TestSupport::binaryFolder() + "/Translations");
    QCOMPARE(QLocale(), QLocale::system());
    store.clear();
}

void TestLoggerWindow::longStatusMessagesAreShownWhole()
{
    HvGui::MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const int lineHeight = window.statusBar()->fontMetrics().height();
    QCOMPARE(window.width(), 451);
    // Three lines' worth at the window's designed width: cut off at the edge before.
    const QString message = "The download was stopped at 64 MiB because the instrument sent more. Only the "
                            "first 64 MiB were kept; the rest was dropped. The connection to the device was "
                            "lost. The data received so far is kept.";
    window.statusBar()->showMessage(message);
    QTRY_VERIFY2(window.statusBar()->height() >= 3 * lineHeight,
        qPrintable(QString::number(window.statusBar()->height())));
    QCOMPARE(window.width(), 451);
    // A short one gives the room back.
    window.statusBar()->showMessage("Saved");
    QTRY_VERIFY(window.statusBar()->height() < 2 * lineHeight + 10);
}

void TestLoggerWindow::handOverKeyFromTheCommandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("key");
    QTest::newRow("none") << QStringList { "HalvernDataLogger" } << "";
    QTest::newRow("key") << QStringList { "HalvernDataLogger", "--hand-over-key", "0b6e-41aF" }
                         << "0b6e-41aF";
    QTest::newRow("among others") << QStringList { "HalvernDataLogger", "x", "--hand-over-key", "K1", "y" }
                                  << "K1";
    QTest::newRow("missing value") << QStringList { "HalvernDataLogger", "--hand-over-key" } << "";
    QTest::newRow("as the program") << QStringList { "--hand-over-key", "K2" } << "";
    QTest::newRow("group path") << QStringList { "HalvernDataLogger", "--hand-over-key", "../Device" } << "";
    QTest::newRow("slash") << QStringList { "HalvernDataLogger", "--hand-over-key", "a/b" } << "";
    QTest::newRow("too long") << QStringList { "HalvernDataLogger", "--hand-over-key", QString(65, 'a') }
                              << "";
}

void TestLoggerWindow::handOverKeyFromTheCommandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, key);
    QSettings store(LoggerHandOver::organisationName(), LoggerHandOver::applicationName());
    store.clear();
    QCOMPARE(LoggerApplication::readCommandLine(arguments), key);
    QCOMPARE(LoggerApplication::handOverKey(), key);
    // Taken keys are acknowledged, so that the launcher knows this logger keeps them.
    QCOMPARE(store.allKeys(), key.isEmpty() ? QStringList() : QStringList { "HandOver/" + key });
    LoggerApplication::readCommandLine({});
}

KESTROVAN_TEST_MAIN(TestLoggerWindow)
#include "tst_loggerwindow.moc"
