#include "Folders.h"
#include "TestSupport.h"

#include <QDir>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {
// Records what settling the projects folder asks, as "missing <path>", "choose <start>",
// "default", "create <path>" and "not created <path>", and answers from the script.
class RecordedQuestions : public ProjectsFolderQuestions
{
public:
    QStringList asked;
    QStringList chosen;
    QList<bool> creates;

    void tellMissing(const QString& missing) override { asked << "missing " + missing; }
    QString chooseFolder(const QString& start) override
    {
        asked << "choose " + start;
        return chosen.isEmpty() ? QString() : chosen.takeFirst();
    }
    void tellDefaultTaken() override { asked << QStringLiteral("default"); }
    bool confirmCreate(const QString& path) override
    {
        asked << "create " + path;
        return !creates.isEmpty() && creates.takeFirst();
    }
    void tellNotCreated(const QString& path) override { asked << "not created " + path; }
};
} // namespace

// How the projects root and the data folder are found, on a first start and later, and in which
// order the user is asked; what the questions look like is the widget layer's (tst_folderprompts).
class TestFolders : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { QDir(Folders::instance()->defaultProjectsFolder()).removeRecursively(); }

    void defaultFoldersFollowTheDesktop();
    void firstStartWithExistingDefaultFolderAsksNothing();
    void firstStartMakesTheDefaultFolder();
    void storedRootIsUsedAndCached();
    void tildeAndRelativeFoldersBecomeAbsolute();
    void questionsComeInOrder_data();
    void questionsComeInOrder();
    void withNobodyToAskTheCautiousAnswersHold();

private:
    RecordedQuestions* m_questions = nullptr;
};

void TestFolders::init()
{
    TestSupport::resetState();
    auto questions = std::make_unique<RecordedQuestions>();
    m_questions = questions.get();
    Folders::setQuestions(std::move(questions));
}

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
    QVERIFY(m_questions->asked.isEmpty());
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
    QVERIFY(m_questions->asked.isEmpty());
    QCOMPARE(QSettings().value("Directories/RootDir").toString(), root);
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
    QVERIFY(m_questions->asked.isEmpty());
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
    m_questions->creates << true << true;
    QVERIFY(Folders::instance()->setProjectsFolder("~/tilde proj"));
    QVERIFY(QFileInfo(home + "/tilde proj").isDir());
    QCOMPARE(QSettings().value("Directories/RootDir").toString(), home + "/tilde proj");
    QCOMPARE(m_questions->asked.first(), "create " + home + "/tilde proj");
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
    QCOMPARE(
        m_questions->asked, QStringList({ "create " + home + "/tilde proj", "create " + home + "/relproj" }));
    QDir(home + "/tilde proj").removeRecursively();
    QDir(home + "/relproj").removeRecursively();
}

void TestFolders::questionsComeInOrder_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("setTo");
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<QList<bool>>("creates");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QString>("root");

    // %gone a folder that went missing, %chosen one that exists, %new one that does not, %blocked
    // one that cannot be made (a file is in its way), %default the default projects folder.
    const QStringList missing { "missing %gone", "choose %default" };
    QTest::newRow("missing, another chosen")
        << "%gone" << QString() << QStringList { "%chosen" } << QList<bool>() << missing << "%chosen";
    QTest::newRow("missing, chooser cancelled")
        << "%gone" << QString() << QStringList { QString() } << QList<bool>()
        << missing + QStringList { "default" } << "%default";
    QTest::newRow("missing, a new one chosen and made")
        << "%gone" << QString() << QStringList { "%new" } << QList<bool> { true }
        << missing + QStringList { "create %new" } << "%new";
    QTest::newRow("missing, a new one chosen but not made")
        << "%gone" << QString() << QStringList { "%new" } << QList<bool> { false }
        << missing + QStringList { "create %new" } << QString();
    QTest::newRow("set to a new one, made")
        << "%chosen"
        << "%new" << QStringList() << QList<bool> { true } << QStringList { "create %new" } << "%new";
    QTest::newRow("set to a new one, refused")
        << "%chosen"
        << "%new" << QStringList() << QList<bool> { false } << QStringList { "create %new" } << "%chosen";
    QTest::newRow("set to one that cannot be made")
        << "%chosen"
        << "%blocked" << QStringList() << QList<bool> { true }
        << QStringList { "create %blocked", "not created %blocked" } << "%chosen";
}

void TestFolders::questionsComeInOrder()
{
    QFETCH(QString, stored);
    QFETCH(QString, setTo);
    QFETCH(QStringList, chosen);
    QFETCH(QList<bool>, creates);
    QFETCH(QStringList, asked);
    QFETCH(QString, root);

    QTemporaryDir base;
    QVERIFY(QDir().mkpath(base.filePath("chosen")));
    QFile blocker(base.filePath("file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString defaultFolder = Folders::instance()->defaultProjectsFolder();
    auto place = [&](QString text) {
        return text.replace("%gone", base.filePath("gone"))
            .replace("%chosen", base.filePath("chosen"))
            .replace("%new", base.filePath("new/root"))
            .replace("%blocked", base.filePath("file/sub"))
            .replace("%default", defaultFolder);
    };
    for (const QString& path : chosen)
        m_questions->chosen << place(path);
    m_questions->creates = creates;
    QSettings().setValue("Directories/RootDir", place(stored));
    if (!setTo.isEmpty()) {
        QCOMPARE(Folders::instance()->projectsFolder(), place(stored));
        QCOMPARE(Folders::instance()->setProjectsFolder(place(setTo)), place(root) == place(setTo));
    }
    QCOMPARE(Folders::instance()->projectsFolder(), place(root));
    QStringList expected;
    for (const QString& question : asked)
        expected << place(question);
    QCOMPARE(m_questions->asked, expected);
    // A folder that went missing is never made anew; one the user did not want made is not.
    QVERIFY(!QFileInfo::exists(base.filePath("gone")));
    QCOMPARE(QFileInfo::exists(base.filePath("new/root")), place(root) == base.filePath("new/root"));
}

void TestFolders::withNobodyToAskTheCautiousAnswersHold()
{
    // A program without windows installs no prompts: a missing folder gives way to the default
    // one without a question, and a folder that does not exist is not made.
    Folders::setQuestions(nullptr);
    m_questions = nullptr;
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
}

KESTROVAN_TEST_MAIN(TestFolders)
#include "tst_folders.moc"
