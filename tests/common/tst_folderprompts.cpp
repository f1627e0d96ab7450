#include "Folders.h"
#include "TestSupport.h"

#include <QDir>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>

// What the user is asked while the projects root is settled, through the installed prompts.
class TestFolders : public QObject
{
    Q_OBJECT
private slots:
    void init() { TestSupport::resetState(); }
    void cleanup() { QDir(Folders::instance()->defaultProjectsFolder()).removeRecursively(); }

    void missingStoredFolderAsksForOne();
    void cancelledChooserFallsBackToTheDefaultFolder();
    void defaultFolderThatCannotBeMadeAsksForOne();
    void setProjectsFolderOffersToCreateAMissingFolder();
};

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
#include "tst_folderprompts.moc"
