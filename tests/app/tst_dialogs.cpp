#include "DialogAbout.h"
#include "DialogSettings.h"
#include "DialogWelcome.h"
#include "Folders.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QUrl>

namespace {
void writeFile(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<html><body>Tutorial</body></html>");
}
} // namespace

// The settings, welcome and About dialogs.
class TestDialogs : public QObject
{
    Q_OBJECT
private slots:
    void init();

    void restoreButtonsFollowTheFavourites();
    void okWithTheSameFolderCloses();
    void okWithAMissingFolderAsksAndNoKeepsTheDialogOpen();
    void browseFillsTheFolderWithoutStoringIt();
    void languageIsStoredOnOk_data();
    void languageIsStoredOnOk();
    void welcomeOkNeedsAChoice();
    void welcomeStoresTheChoiceOnlyOnOk();
    void welcomeOffersTheTutorialOnlyWhenThereIsOne_data();
    void welcomeOffersTheTutorialOnlyWhenThereIsOne();
    void aboutShowsTheVersion();

private:
    QTemporaryDir m_root;
};

void TestDialogs::init()
{
    TestSupport::resetState();
    QSettings().setValue("Directories/RootDir", m_root.path());
}

void TestDialogs::restoreButtonsFollowTheFavourites()
{
    const QString favourite = Folders::instance()->favouriteTemplatePath("kstchk");
    {
        DialogSettings dialog;
        auto* button = dialog.findChild<QPushButton*>("restoreCHKbutton");
        QVERIFY(button);
        QVERIFY(!button->isEnabled());
        QCOMPARE(dialog.findChild<QLabel*>("restoreCHKcomment")->text(),
            QString("The default report has not been modified."));
        QVERIFY(!dialog.findChild<QPushButton*>("restoreIRbutton")->isEnabled());
    }
    // A favourite equal to the built-in template cannot be restored either.
    QVERIFY(QFile::copy(":/res/reports/default.kstchk", favourite));
    QFile::setPermissions(favourite, QFile::ReadOwner | QFile::WriteOwner);
    QVERIFY(!DialogSettings().findChild<QPushButton*>("restoreCHKbutton")->isEnabled());

    {
        QFile f(favourite);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("the user's own checklist");
    }
    DialogSettings dialog;
    auto* button = dialog.findChild<QPushButton*>("restoreCHKbutton");
    auto* comment = dialog.findChild<QLabel*>("restoreCHKcomment");
    QVERIFY(button->isEnabled());
    QCOMPARE(comment->text(),
        QString("File last modified on %1.").arg(QFileInfo(favourite).lastModified().toString(Qt::TextDate)));
    emit button->pressed();
    QVERIFY(!button->isEnabled());
    QCOMPARE(comment->text(), QString("The default report has not been modified."));
    QFile restored(favourite);
    QVERIFY(restored.open(QIODevice::ReadOnly));
    QFile builtIn(":/res/reports/default.kstchk");
    QVERIFY(builtIn.open(QIODevice::ReadOnly));
    QCOMPARE(restored.readAll(), builtIn.readAll());
    QVERIFY(restored.permissions() & QFileDevice::WriteOwner);
}

void TestDialogs::okWithTheSameFolderCloses()
{
    DialogSettings dialog;
    QCOMPARE(dialog.findChild<QLineEdit*>("projectsRootDir")->text(), m_root.path());
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());
}

void TestDialogs::okWithAMissingFolderAsksAndNoKeepsTheDialogOpen()
{
    DialogSettings dialog;
    dialog.show();
    const QString missing = m_root.path() + "/elsewhere";
    dialog.findChild<QLineEdit*>("projectsRootDir")->setText(missing);
    ScriptedPrompts::get().buttons << QMessageBox::No;
    dialog.accept();
    QVERIFY(dialog.isVisible());
    QCOMPARE(ScriptedPrompts::get().messageTexts(),
        QStringList { QString("The path \"%1\" does not exist. Would you like to create it?").arg(missing) });
    QCOMPARE(QSettings().value("Directories/RootDir").toString(), m_root.path());

    ScriptedPrompts::get().buttons << QMessageBox::Yes;
    dialog.accept();
    QVERIFY(!dialog.isVisible());
    QVERIFY(QFileInfo(missing).isDir());
    QCOMPARE(QSettings().value("Directories/RootDir").toString(), missing);
}

void TestDialogs::browseFillsTheFolderWithoutStoringIt()
{
    DialogSettings dialog;
    ScriptedPrompts::get().paths << "/chosen/folder";
    emit dialog.findChild<QPushButton*>("browseProjectsRootButton")->pressed();
    QCOMPARE(ScriptedPrompts::get().asked.last().caption, QString("Select Projects Root Directory"));
    QCOMPARE(ScriptedPrompts::get().asked.last().dir, m_root.path());
    QCOMPARE(dialog.findChild<QLineEdit*>("projectsRootDir")->text(), QString("/chosen/folder"));
    QCOMPARE(QSettings().value("Directories/RootDir").toString(), m_root.path());
}

void TestDialogs::languageIsStoredOnOk_data()
{
    QTest::addColumn<QString>("stored"); // "" for no setting, "system" for following the desktop
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QString>("storedAfter");
    QTest::addColumn<bool>("followsAfter");
    QTest::newRow("English to German") << "en"
                                       << "English"
                                       << "Deutsch" << true << "de" << false;
    QTest::newRow("German to English") << "de_DE"
                                       << "Deutsch"
                                       << "English" << true << "en" << false;
    QTest::newRow("Austrian German kept") << "de_AT"
                                          << "Deutsch"
                                          << "Deutsch" << false << "de_AT" << false;
    QTest::newRow("German to the desktop's") << "de_DE"
                                             << "Deutsch"
                                             << "System default" << true << "de_DE" << true;
    QTest::newRow("desktop's to English") << "system"
                                          << "System default"
                                          << "English" << true << "en" << false;
    QTest::newRow("desktop's kept") << "system"
                                    << "System default"
                                    << "System default" << false << "de_DE" << true;
    QTest::newRow("no setting reads as English") << ""
                                                 << "English"
                                                 << "English" << false << "" << false;
}

void TestDialogs::languageIsStoredOnOk()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QFETCH(QString, choice);
    QFETCH(bool, changed);
    QFETCH(QString, storedAfter);
    QFETCH(bool, followsAfter);
    if (stored == "system") {
        QSettings().setValue("locale", "de_DE");
        QSettings().setValue("localeFollowsSystem", true);
    } else if (!stored.isEmpty()) {
        QSettings().setValue("locale", stored);
    }
    DialogSettings dialog;
    auto* combo = dialog.findChild<QComboBox*>("languageCombo");
    QVERIFY(combo);
    QCOMPARE(combo->currentText(), shown);
    combo->setCurrentIndex(combo->findText(choice));
    // Cancel stores nothing.
    dialog.reject();
    QCOMPARE(QSettings().value("locale").toString(), stored == "system" ? QString("de_DE") : stored);
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.languageChanged(), changed);
    QCOMPARE(QSettings().value("locale").toString(), storedAfter);
    QCOMPARE(QSettings().value("localeFollowsSystem", false).toBool(), followsAfter);
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());
}

void TestDialogs::welcomeOkNeedsAChoice()
{
    DialogWelcome dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), QString("Welcome to Kestrovan!"));
    auto* buttons = dialog.findChild<QDialogButtonBox*>("buttonBox");
    QVERIFY(!buttons->isEnabled());
    QTest::mouseClick(dialog.findChild<QRadioButton*>("radioUseApp"), Qt::LeftButton);
    QVERIFY(buttons->isEnabled());
    QCOMPARE(dialog.height(), 305);
}

void TestDialogs::welcomeStoresTheChoiceOnlyOnOk()
{
    QVERIFY(DialogWelcome::shouldShow());
    {
        DialogWelcome dialog;
        dialog.findChild<QCheckBox*>("checkHideInFuture")->setChecked(true);
        dialog.reject();
        QVERIFY(DialogWelcome::shouldShow());
    }
    QTemporaryDir help;
    writeFile(help.filePath("KestrovanTutorial_en.html"));
    {
        DialogWelcome dialog(nullptr, help.path());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseClick(dialog.findChild<QRadioButton*>("radioWatchVideo"), Qt::LeftButton);
        QVERIFY(dialog.findChild<QRadioButton*>("radioWatchVideo")->isChecked());
        dialog.findChild<QCheckBox*>("checkHideInFuture")->setChecked(true);
        dialog.findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
    QVERIFY(!DialogWelcome::shouldShow());
    QCOMPARE(TestSupport::openedUrls(),
        QList<QUrl> { QUrl::fromLocalFile(help.filePath("KestrovanTutorial_en.html")) });
    QCOMPARE(DialogWelcome().exec(), 0); // not shown any more
}

void TestDialogs::welcomeOffersTheTutorialOnlyWhenThereIsOne_data()
{
    QTest::addColumn<QStringList>("pages");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");
    const QString en = "KestrovanTutorial_en.html";
    const QString de = "KestrovanTutorial_de.html";
    QTest::newRow("English") << QStringList { en, de } << "en_GB" << en;
    QTest::newRow("German") << QStringList { en, de } << "de_DE" << de;
    QTest::newRow("French, none in it") << QStringList { en, de } << "fr_FR" << en;
    QTest::newRow("no setting") << QStringList { en } << QString() << en;
    QTest::newRow("none installed") << QStringList() << "de_DE" << QString();
}

void TestDialogs::welcomeOffersTheTutorialOnlyWhenThereIsOne()
{
    QFETCH(QStringList, pages);
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    QTemporaryDir help;
    for (const QString& page : pages)
        writeFile(help.filePath(page));
    if (!locale.isEmpty())
        QSettings().setValue("locale", locale);
    const QString page = expected.isEmpty() ? QString() : help.filePath(expected);
    QCOMPARE(DialogWelcome::tutorialPage(help.path()), page);

    DialogWelcome dialog(nullptr, help.path());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* watch = dialog.findChild<QRadioButton*>("radioWatchVideo");
    QCOMPARE(watch->isVisible(), !page.isEmpty());
    // Whatever is offered opens a page that is there.
    QTest::mouseClick(
        page.isEmpty() ? dialog.findChild<QRadioButton*>("radioUseApp") : watch, Qt::LeftButton);
    dialog.findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Ok)->click();
    QCOMPARE(TestSupport::openedUrls(),
        page.isEmpty() ? QList<QUrl>() : QList<QUrl> { QUrl::fromLocalFile(page) });
}

void TestDialogs::aboutShowsTheVersion()
{
    DialogAbout dialog;
    QCOMPARE(dialog.windowTitle(), QString("About Kestrovan"));
    QCOMPARE(dialog.size(), QSize(400, 300));
    auto* version = dialog.findChild<QLabel*>("version");
    QCOMPARE(version->text(), QString("V3.0"));
    QCOMPARE(version->geometry(), QRect(0, 280, 401, 20));
}

KESTROVAN_TEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
