#include "Folders.h"
#include "ProjectsFolderPrompts.h"
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
    void cleanup()
    {
        QDir(Folders::instance()->defaultProjectsFolder()).removeRecursively();
        Folders::setQuestions(std::make_unique<ProjectsFolderPrompts>());
    }

    void defaultFoldersFollowTheDesktop();
    void firstStartWithExistingDefaultFolderAsksNothing();
    void firstStartMakesTheDefaultFolder();
    void missingStoredFolderAsksForOne();
    void cancelledChooserFallsBackToTheDefaultFolder();
    void defaultFolderThatCannotBeMadeAsksForOne();
    void storedRootIsUsedAndCached();
    void setProjectsFolderOffersToCreateAMissingFolder();
    void tildeAndRelativeFoldersBecomeAbsolute();
    void withNobodyToAskTheCautiousAnswersHold();
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

void TestFolders::firstStartMakesTheDefaultFolder()
{
    // No installer made the shared folder: the first start makes it and greets, it does not warn.
    const QString root = Folders::instance()->defaultProjectsFolder();
    QVERIFY(!QFileInfo::exists(root));
    QCOMPARE(Folders::instance()->projectsFolder(), root);
    QVERIFY(QFileInfo(root).isDir());
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());
    QCOMPARE(QSettings().value("Directories/RootDir").toString(), root);
}

void TestFolders::missingStoredFolderAsksForOne()
{
    QTemporaryDir base;
    const QString gone = base.path() + "/unplugged stick";
    QSettings().setValue("Directories/RootDir", gone);
    QTemporaryDir chosen;
    auto& prompts = ScriptedPrompts::get();
    prompts.paths << chosen.path();
    QCOMPARE(Folders::instance()->projectsFolder(), chosen.path());
    QVERIFY(!QFileInfo::exists(gone)); // a stored folder that went missing is never made anew

    QCOMPARE(prompts.asked.size(), 2);
    QCOMPARE(prompts.asked[0].kind, QString("message"));
    QCOMPARE(prompts.asked[0].message.icon, Prompt::Critical);
    QCOMPARE(prompts.asked[0].message.text, "Could not find the projects root directory: " + gone);
    QCOMPARE(
        prompts.asked[0].message.informativeText, QString("Please select a new projects root directory."));
    QCOMPARE(prompts.asked[1].kind, QString("directory"));
    QCOMPARE(prompts.asked[1].caption, QString("Select Projects Root Directory"));
    QCOMPARE(prompts.asked[1].dir, Folders::instance()->defaultProjectsFolder());
    QCOMPARE(QSettings().value("Directories/RootDir").toString(), chosen.path());
}

void TestFolders::cancelledChooserFallsBackToTheDefaultFolder()
{
    QTemporaryDir base;
    QSettings().setValue("Directories/RootDir", base.path() + "/gone");
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

void TestFolders::defaultFolderThatCannotBeMadeAsksForOne()
{
    // A plain file where the documents folder should be: the default cannot be made.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QDir(documents).removeRecursively();
    QFile blocker(documents);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QTemporaryDir chosen;
    auto& prompts = ScriptedPrompts::get();
    prompts.paths << chosen.path();
    QCOMPARE(Folders::instance()->projectsFolder(), chosen.path());
    QCOMPARE(prompts.asked.size(), 2);
    QCOMPARE(prompts.asked[0].message.text,
        "Could not find the projects root directory: " + Folders::instance()->defaultProjectsFolder());
    QVERIFY(QFile::remove(documents));
    QVERIFY(QDir().mkpath(documents));
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

void TestFolders::tildeAndRelativeFoldersBecomeAbsolute()
{
    const QString home = TestSupport::homeFolder();
    QCOMPARE(Folders::normalisedFolderPath("~"), home);
    QCOMPARE(Folders::normalisedFolderPath("  ~/tilde proj/ "), home + "/tilde proj");
    QCOMPARE(Folders::normalisedFolderPath("relproj"), home + "/relproj");
    QCOMPARE(Folders::normalisedFolderPath("a/../b/./c"), home + "/b/c");
    QCOMPARE(Folders::normalisedFolderPath("/srv//projects/"), QString("/srv/projects"));
    // Only a leading "~/" is the home folder; "~x" is a name like any other.
    QCOMPARE(Folders::normalisedFolderPath("~x"), home + "/~x");
    QCOMPARE(Folders::normalisedFolderPath("   "), QString());

    // Started from elsewhere, the folders land in the home folder and are stored absolute.
    QTemporaryDir elsewhere;
    const QString before = QDir::currentPath();
    QDir::setCurrent(elsewhere.path());
    auto& prompts = ScriptedPrompts::get();
    prompts.buttons << Prompt::Yes << Prompt::Yes;
    QVERIFY(Folders::instance()->setProjectsFolder("~/tilde proj"));
    QVERIFY(QFileInfo(home + "/tilde proj").isDir());
    QCOMPARE(QSettings().value("Directories/RootDir").toString(), home + "/tilde proj");
    QVERIFY(prompts.asked.first().message.text.contains(home + "/tilde proj"));
    QVERIFY(Folders::instance()->setProjectsFolder("relproj"));
    QCOMPARE(QSettings().value("Directories/RootDir").toString(), home + "/relproj");
    QCOMPARE(Folders::instance()->projectsFolder(), home + "/relproj");
    QVERIFY(!QFileInfo::exists(elsewhere.filePath("~")));
    QVERIFY(!QFileInfo::exists(elsewhere.filePath("relproj")));
    QDir::setCurrent(before);

    // A relative path stored by an earlier version is read the same way.
    QSettings().setValue("Directories/RootDir", "relproj");
    Folders::instance(true);
    QCOMPARE(Folders::instance()->projectsFolder(), home + "/relproj");
    QCOMPARE(ScriptedPrompts::get().unanswered, 0);
    QDir(home + "/tilde proj").removeRecursively();
    QDir(home + "/relproj").removeRecursively();
}

void TestFolders::withNobodyToAskTheCautiousAnswersHold()
{
    // A program without windows installs no prompts: a missing folder gives way to the default
    // one without a question, and a folder that does not exist is not made.
    Folders::setQuestions(nullptr);
    QTemporaryDir base;
    const QString gone = base.path() + "/unplugged stick";
    QSettings().setValue("Directories/RootDir", gone);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("missing: .*unplugged stick$"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("the default one is taken$"));
    const QString root = Folders::instance()->projectsFolder();
    QCOMPARE(root, Folders::instance()->defaultProjectsFolder());
    QVERIFY(QFileInfo(root).isDir());
    QVERIFY(!QFileInfo::exists(gone));
    QCOMPARE(QSettings().value("Directories/RootDir").toString(), root);

    const QString missing = base.path() + "/new/root";
    QVERIFY(!Folders::instance()->setProjectsFolder(missing));
    QVERIFY(!QFileInfo::exists(missing));
    QCOMPARE(Folders::instance()->projectsFolder(), root);
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());
}

KESTROVAN_TEST_MAIN(TestFolders)
#include "tst_folders.moc"
