#include "Folders.h"
#include "TestSupport.h"

#include <QDir>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>

// How the projects root and the data folder are found, on a first start and later.
class TestFolders : public QObject
{
    Q_OBJECT
private slots:
    void init() { TestSupport::resetState(); }
    void cleanup() { QDir(Folders::instance()->defaultProjectsFolder()).removeRecursively(); }

    void defaultFoldersFollowTheDesktop();
    void firstStartWithExistingDefaultFolderAsksNothing();
    void firstStartWithoutDefaultFolderAsksForOne();
    void cancelledChooserFallsBackToTheDefaultFolder();
    void storedRootIsUsedAndCached();
    void setProjectsFolderOffersToCreateAMissingFolder();
};

void TestFolders::defaultFoldersFollowTheDesktop()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QVERIFY(documents.startsWith(TestSupport::homeFolder()));
    QCOMPARE(Folders::instance()->defaultProjectsFolder(), documents + "/Shared Kestrovan Projects");
    const QString data = Folders::instance()->appDataFolder();
    QCOMPARE(data, TestSupport::homeFolder() + "/.local/share/Halvern/Kestrovan Elements");
    QVERIFY(QFileInfo(data).isDir());
    QCOMPARE(Folders::instance()->favouriteTemplatePath("kstchk"), data + "/default.kstchk");
}

void TestFolders::firstStartWithExistingDefaultFolderAsksNothing()
{
    const QString root = Folders::instance()->defaultProjectsFolder();
    QVERIFY(QDir().mkpath(root));
    QSignalSpy changed(Folders::instance(), &Folders::projectsFolderChanged);
    QCOMPARE(Folders::instance()->projectsFolder(), root);
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());
    QCOMPARE(changed.count(), 1);
    QCOMPARE(QSettings().value("Directories/RootDir").toString(), root);
}

void TestFolders::firstStartWithoutDefaultFolderAsksForOne()
{
    QTemporaryDir chosen;
    auto& prompts = ScriptedPrompts::get();
    prompts.paths << chosen.path();
    const QString root = Folders::instance()->projectsFolder();
    QCOMPARE(root, chosen.path());

    QCOMPARE(prompts.asked.size(), 2);
    QCOMPARE(prompts.asked[0].kind, QString("message"));
    QCOMPARE(prompts.asked[0].message.icon, Prompt::Critical);
    QCOMPARE(prompts.asked[0].message.text,
        "Could not find the projects root directory: " + Folders::instance()->defaultProjectsFolder());
    QCOMPARE(
        prompts.asked[0].message.informativeText, QString("Please select a new projects root directory."));
    QCOMPARE(prompts.asked[1].kind, QString("directory"));
    QCOMPARE(prompts.asked[1].caption, QString("Select Projects Root Directory"));
    QCOMPARE(prompts.asked[1].dir, Folders::instance()->defaultProjectsFolder());
    QCOMPARE(QSettings().value("Directories/RootDir").toString(), chosen.path());
}

void TestFolders::cancelledChooserFallsBackToTheDefaultFolder()
{
    auto& prompts = ScriptedPrompts::get();
    prompts.paths << QString(); // the chooser is cancelled
    const QString root = Folders::instance()->projectsFolder();
    QCOMPARE(root, Folders::instance()->defaultProjectsFolder());
    QVERIFY(QFileInfo(root).isDir());
    const QStringList texts = prompts.messageTexts();
    QCOMPARE(texts.size(), 2);
    QCOMPARE(
        texts.last(), QString("No projects directory was set. Defaulting to the public documents directory"));
}

void TestFolders::storedRootIsUsedAndCached()
{
    QTemporaryDir stored;
    QSettings().setValue("Directories/RootDir", stored.path());
    QCOMPARE(Folders::instance()->projectsFolder(), stored.path());
    QTemporaryDir other;
    QSettings().setValue("Directories/RootDir", other.path());
    QCOMPARE(Folders::instance()->projectsFolder(), stored.path());
    // A restart recreates the holder, which reads the setting again.
    QCOMPARE(Folders::instance(true)->projectsFolder(), other.path());
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());
}

void TestFolders::setProjectsFolderOffersToCreateAMissingFolder()
{
    QTemporaryDir base;
    const QString missing = base.path() + "/new/root";
    auto& prompts = ScriptedPrompts::get();
    QSignalSpy changed(Folders::instance(), &Folders::projectsFolderChanged);

    prompts.buttons << Prompt::No;
    QVERIFY(!Folders::instance()->setProjectsFolder(missing));
    QVERIFY(!QFileInfo::exists(missing));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(prompts.asked.last().message.text,
        QString("The path \"%1\" does not exist. Would you like to create it?").arg(missing));
    QCOMPARE(prompts.asked.last().message.icon, Prompt::Question);

    prompts.buttons << Prompt::Yes;
    QVERIFY(Folders::instance()->setProjectsFolder(missing));
    QVERIFY(QFileInfo(missing).isDir());
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().first().toString(), missing);
    QCOMPARE(QSettings().value("Directories/RootDir").toString(), missing);
}

KESTROVAN_TEST_MAIN(TestFolders)
#include "tst_folders.moc"
