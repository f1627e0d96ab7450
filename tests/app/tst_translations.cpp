#include "TestSupport.h"
#include "Translations.h"

#include <QCoreApplication>
#include <QDate>
#include <QSettings>
#include <QTemporaryDir>
#include <QTranslator>

// Which catalogue the "locale" setting picks from the Translations folder.
class TestTranslations : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { TestSupport::resetState(); }
    void cleanup();

    void firstStartWritesEnglish();
    void firstStartFollowsTheDesktop_data();
    void firstStartFollowsTheDesktop();
    void firstStartTakesTheSystemLanguage();
    void languageSelectsTheCatalogue_data();
    void languageSelectsTheCatalogue();
    void chosenLanguageOrDesktop_data();
    void chosenLanguageOrDesktop();
    void reloadingRemovesTheOldTranslators();
    void missingFolderGivesEnglish();

private:
    QTemporaryDir m_folder;
};

void TestTranslations::initTestCase()
{
    // The catalogues the build put beside the program, in a folder of the test's own.
    const QString built = TestSupport::binaryFolder() + "/Translations";
    QVERIFY2(QFile::copy(built + "/kestrovan_de.qm", m_folder.filePath("kestrovan_de.qm")),
        "the build must produce Translations/kestrovan_de.qm");
    for (const QString& file : QDir(built).entryList({ "qt*_de.qm" }))
        QFile::copy(built + "/" + file, m_folder.filePath(file));
}

void TestTranslations::cleanup()
{
    QSettings().remove("localeFollowsSystem");
    QSettings().setValue("locale", "en");
    Translations::load(m_folder.path());
}

void TestTranslations::firstStartWritesEnglish()
{
    QVERIFY(!QSettings().contains("locale"));
    Translations::load(m_folder.path(), QLocale(QLocale::English, QLocale::UnitedKingdom));
    QCOMPARE(QSettings().value("locale").toString(), QString("en"));
    QCOMPARE(Translations::applicationTranslator(), nullptr);
    QCOMPARE(QCoreApplication::translate("MainWindow", "File"), QString("File"));
}

void TestTranslations::firstStartFollowsTheDesktop_data()
{
    QTest::addColumn<QString>("desktop");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("fileMenu");
    QTest::newRow("German desktop") << "de_DE"
                                    << "de_DE"
                                    << "Datei";
    QTest::newRow("Austrian desktop keeps its country") << "de_AT"
                                                        << "de_AT"
                                                        << "Datei";
    QTest::newRow("French desktop, no catalogue") << "fr_FR"
                                                  << "en"
                                                  << "File";
    QTest::newRow("English desktop") << "en_US"
                                     << "en"
                                     << "File";
    QTest::newRow("C locale") << "C"
                              << "en"
                              << "File";
}

void TestTranslations::firstStartFollowsTheDesktop()
{
    QFETCH(QString, desktop);
    QFETCH(QString, written);
    QFETCH(QString, fileMenu);
    QVERIFY(!QSettings().contains("locale"));
    Translations::load(m_folder.path(), QLocale(desktop));
    QCOMPARE(QSettings().value("locale").toString(), written);
    QCOMPARE(QCoreApplication::translate("MainWindow", "File"), fileMenu);

    // From then on the setting decides, whatever the desktop says.
    QSettings().setValue("locale", "en");
    Translations::load(m_folder.path(), QLocale(desktop));
    QCOMPARE(QSettings().value("locale").toString(), QString("en"));
    QCOMPARE(QCoreApplication::translate("MainWindow", "File"), QString("File"));
    QSettings().setValue("locale", "de_DE");
    Translations::load(m_folder.path(), QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(QSettings().value("locale").toString(), QString("de_DE"));
    QCOMPARE(QCoreApplication::translate("MainWindow", "File"), QString("Datei"));

    // A German desktop without our catalogue beside the program still starts (in English).
    QSettings().remove("locale");
    Translations::load(m_folder.path() + "/missing", QLocale(desktop));
    QCOMPARE(QSettings().value("locale").toString(), QString("en"));
    QCOMPARE(QCoreApplication::translate("MainWindow", "File"), QString("File"));
}

// Run by the "app.translations.desktop" test with the desktop's language in LANG/LC_ALL/LANGUAGE.
void TestTranslations::firstStartTakesTheSystemLanguage()
{
    const QString expected = qEnvironmentVariable("KESTROVAN_TEST_EXPECT_LOCALE");
    if (expected.isEmpty())
        QSKIP("needs the environment set by the app.translations.desktop test");
    QVERIFY(!QSettings().contains("locale"));
    Translations::load(m_folder.path());
    QCOMPARE(QSettings().value("locale").toString(), expected);
    const bool german = expected.startsWith("de");
    QCOMPARE(QCoreApplication::translate("MainWindow", "File"), QString(german ? "Datei" : "File"));
}

void TestTranslations::languageSelectsTheCatalogue_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("fileMenu");
    QTest::newRow("de_DE") << "de_DE"
                           << "Datei";
    QTest::newRow("de") << "de"
                        << "Datei";
    QTest::newRow("de_AT: countries do not count") << "de_AT"
                                                   << "Datei";
    QTest::newRow("fr has no file") << "fr_FR"
                                    << "File";
}

void TestTranslations::languageSelectsTheCatalogue()
{
    QFETCH(QString, locale);
    QFETCH(QString, fileMenu);
    QSettings().setValue("locale", locale);
    Translations::load(m_folder.path());
    QCOMPARE(QCoreApplication::translate("MainWindow", "File"), fileMenu);
    const bool german = fileMenu == "Datei";
    QCOMPARE(Translations::applicationTranslator() != nullptr, german);
    QCOMPARE(Translations::qtTranslator() != nullptr, german);
    if (german)
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QString("&Ja"));
}

// A language the user chose shows dates and numbers in it too; "System default" takes the
// desktop's language again at every start, whatever was stored before.
void TestTranslations::chosenLanguageOrDesktop_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("followsSystem");
    QTest::addColumn<QString>("desktop");
    QTest::addColumn<QString>("storedAfter");
    QTest::addColumn<QString>("fileMenu");
    QTest::addColumn<QString>("display");
    QTest::newRow("German under C") << "de_DE" << false << "C"
                                    << "de_DE"
                                    << "Datei"
                                    << "de_DE";
    QTest::newRow("Austrian German under en_US") << "de_AT" << false << "en_US"
                                                 << "de_AT"
                                                 << "Datei"
                                                 << "de_AT";
    QTest::newRow("German on an Austrian desktop keeps its country") << "de" << false << "de_AT"
                                                                     << "de"
                                                                     << "Datei"
                                                                     << "de_AT";
    QTest::newRow("English on a German desktop") << "en" << false << "de_DE"
                                                 << "en"
                                                 << "File"
                                                 << "en_US";
    QTest::newRow("English on a British desktop") << "en" << false << "en_GB"
                                                  << "en"
                                                  << "File"
                                                  << "en_GB";
    QTest::newRow("no catalogue: shown and formatted in English") << "fr_FR" << false << "C"
                                                                  << "fr_FR"
                                                                  << "File"
                                                                  << "en_US";
    QTest::newRow("system default on a British desktop") << "de_DE" << true << "en_GB"
                                                         << "en"
                                                         << "File"
                                                         << "en_GB";
    QTest::newRow("system default on a German desktop") << "en" << true << "de_CH"
                                                        << "de_CH"
                                                        << "Datei"
                                                        << "de_CH";
}

void TestTranslations::chosenLanguageOrDesktop()
{
    QFETCH(QString, stored);
    QFETCH(bool, followsSystem);
    QFETCH(QString, desktop);
    QFETCH(QString, storedAfter);
    QFETCH(QString, fileMenu);
    QFETCH(QString, display);
    QSettings().setValue("locale", stored);
    if (followsSystem)
        QSettings().setValue("localeFollowsSystem", true);
    QLocale::setDefault(QLocale::c());
    Translations::load(m_folder.path(), QLocale(desktop));
    QCOMPARE(QCoreApplication::translate("MainWindow", "File"), fileMenu);
    QCOMPARE(QSettings().value("locale").toString(), storedAfter);
    QCOMPARE(QSettings().value("localeFollowsSystem", false).toBool(), followsSystem);
    QCOMPARE(QLocale().name(), display);
    if (display == "de_DE") {
        QCOMPARE(QLocale().toString(QDate(2026, 12, 8), QLocale::ShortFormat), QString("08.12.26"));
        QCOMPARE(QLocale().toString(4883), QString("4.883"));
    }
}

void TestTranslations::reloadingRemovesTheOldTranslators()
{
    QSettings().setValue("locale", "de_DE");
    Translations::load(m_folder.path());
    QCOMPARE(QCoreApplication::translate("MainWindow", "File"), QString("Datei"));
    // A restart after switching to a language without a catalogue shows English again.
    QSettings().setValue("locale", "fr");
    Translations::load(m_folder.path());
    QCOMPARE(QCoreApplication::translate("MainWindow", "File"), QString("File"));
    QCOMPARE(Translations::applicationTranslator(), nullptr);
}

void TestTranslations::missingFolderGivesEnglish()
{
    QSettings().setValue("locale", "de_DE");
    Translations::load(m_folder.path() + "/missing");
    QCOMPARE(QCoreApplication::translate("MainWindow", "File"), QString("File"));
}

KESTROVAN_TEST_MAIN(TestTranslations)
#include "tst_translations.moc"
