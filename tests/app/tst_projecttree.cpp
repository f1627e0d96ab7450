#include "AppTestSupport.h"
#include "DocumentRegistry.h"
#include "FileIcons.h"
#include "Folders.h"
#include "MainWindow.h"
#include "ProjectModel.h"
#include "ProjectTreeController.h"
#include "ProjectTreeView.h"
#include "ProjectWatcher.h"
#include "TestSupport.h"

#include <QAction>
#include <QDir>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>

// The document browser and the files behind the open documents: one tab per file however the
// file is named, nothing moved out from under an open document, drops that copy what they say,
// and a projects folder that goes away and comes back.
class TestProjectTree : public QObject, protected TestSupport::MainWindowFixture
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void oneFileIsOneTabHoweverItIsNamed();
    void whatHoldsAnOpenDocumentIsNotRenamedOrMoved();
    void dropsCopyFoldersNumberTakenNamesAndNameFailures();
    void movesNumberTakenNames();
    void projectsFolderThatComesBackIsShownAfresh();
    void deleteAsksOnceForTheOutermostItems_data();
    void deleteAsksOnceForTheOutermostItems();
    void renameRefusalSaysWhy_data();
    void renameRefusalSaysWhy();
    void renamedItemStaysSelected();
    void folderIconsAreReadOffTheWindowThread();

private:
    bool drop(const QStringList& sources, Qt::DropAction action, const QString& folder);

    QString m_startFolder;
};

void TestProjectTree::initTestCase()
{
    DocumentRegistry::registerKind(
        GenericReport, [](const QString& path, QWidget* parent) { return new TestDocument(path, parent); });
    m_startFolder = QDir::currentPath();
}

void TestProjectTree::init()
{
    startWindow({ "Site A/Roof", "Other" });
}

void TestProjectTree::cleanup()
{
    QDir::setCurrent(m_startFolder);
    closeWindow();
}

bool TestProjectTree::drop(const QStringList& sources, Qt::DropAction action, const QString& folder)
{
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString& source : sources)
        urls << QUrl::fromLocalFile(source);
    mime.setUrls(urls);
    ProjectModel* model = m_window->projectTree()->model();
    return model->dropMimeData(&mime, action, -1, 0, model->index(folder));
}

void TestProjectTree::oneFileIsOneTabHoweverItIsNamed()
{
    makeFile("Site A.kstreport");
    makeFile("Site A/Roof/Deep.kstreport");
    // Started inside the projects folder with a relative name, as from a file manager's terminal.
    QDir::setCurrent(root());
    AbstractDocument* first = m_window->openDocument("Site A.kstreport");
    QVERIFY(first);
    QCOMPARE(first->filePath(), path("Site A.kstreport"));
    QCOMPARE(m_window->openDocument(path("Site A.kstreport")), first);
    QCOMPARE(m_window->openDocument("./Other/../Site A.kstreport"), first);
    // Through a symbolic link to the projects folder.
    QTemporaryDir links;
    QVERIFY(QFile::link(root(), links.filePath("projects")));
    QCOMPARE(m_window->openDocument(links.filePath("projects/Site A.kstreport")), first);
    QCOMPARE(m_window->documents().size(), 1);
    // The tree shows the tab's file at its place in the projects folder.
    m_window->projectTree()->selectPath(links.filePath("projects/Site A.kstreport"));
    QCOMPARE(m_window->projectTree()->model()->filePath(m_window->treeView()->currentIndex()),
        path("Site A.kstreport"));
    QDir::setCurrent(m_startFolder);

    // The tree's double-click finds the same tab, and the rename guard knows the file.
    ProjectModel* model = m_window->projectTree()->model();
    QVERIFY(!model->setData(model->index(path("Site A.kstreport")), "Site B", Qt::EditRole));
    QCOMPARE(ScriptedPrompts::get().messageTexts(),
        QStringList { "File is already open in Kestrovan. Close it before attempting to set the name." });
    QVERIFY(QFileInfo::exists(path("Site A.kstreport")));
    QCOMPARE(m_window->documents().size(), 1);

    // Opened through the link, the document still closes when its file goes.
    AbstractDocument* deep = m_window->openDocument(links.filePath("projects/Site A/Roof/Deep.kstreport"));
    QVERIFY(deep);
    QCOMPARE(m_window->openDocument(path("Site A/Roof/Deep.kstreport")), deep);
    QVERIFY(QFile::remove(path("Site A/Roof/Deep.kstreport")));
    m_window->projectTree()->closeDocumentsOfMissingFiles();
    QCOMPARE(m_window->documents().size(), 1);
}

void TestProjectTree::whatHoldsAnOpenDocumentIsNotRenamedOrMoved()
{
    makeFile("Site A/Roof/Open.kstreport");
    makeFile("Site A/Closed.kstreport");
    const QString open = path("Site A/Roof/Open.kstreport");
    m_window->openDocument(open)->setModified(true);
    ProjectModel* model = m_window->projectTree()->model();
    auto& prompts = ScriptedPrompts::get();

    // Renaming a folder that holds it, at any depth.
    for (const char* folder : { "Site A", "Site A/Roof" }) {
        prompts.reset();
        QVERIFY(!model->setData(model->index(path(folder)), "Renamed", Qt::EditRole));
        QCOMPARE(prompts.messageTexts(),
            QStringList {
                "A file in this folder is open in Kestrovan. Close it before attempting to set the name." });
        QCOMPARE(prompts.asked.first().message.icon, QMessageBox::Critical);
        QCOMPARE(prompts.asked.first().message.title, QString("Kestrovan"));
    }
    QVERIFY(QFileInfo::exists(open));
    // A folder beside it is renamed as usual.
    QVERIFY(model->setData(model->index(path("Other")), "Elsewhere", Qt::EditRole));
    QVERIFY(QFileInfo(path("Elsewhere")).isDir());

    // Moving the open file, or a folder holding it.
    prompts.reset();
    QVERIFY(!drop({ open }, Qt::MoveAction, path("Elsewhere")));
    QVERIFY(!drop({ path("Site A") }, Qt::MoveAction, path("Elsewhere")));
    const QString refusal = "File is already open in Kestrovan. Close it before attempting to move it.";
    QCOMPARE(prompts.messageTexts(), QStringList({ refusal, refusal }));
    QCOMPARE(prompts.asked.at(0).message.informativeText, open);
    QCOMPARE(prompts.asked.at(1).message.informativeText, path("Site A"));
    QVERIFY(QFileInfo::exists(open));
    QVERIFY(!QFileInfo::exists(path("Elsewhere/Open.kstreport")));
    QVERIFY(!QFileInfo::exists(path("Elsewhere/Site A")));

    // A closed file moves; the open document still saves where it is.
    prompts.reset();
    QVERIFY(drop({ path("Site A/Closed.kstreport") }, Qt::MoveAction, path("Elsewhere")));
    QVERIFY(QFileInfo::exists(path("Elsewhere/Closed.kstreport")));
    QVERIFY(prompts.asked.isEmpty());
}

void TestProjectTree::dropsCopyFoldersNumberTakenNamesAndNameFailures()
{
    QTemporaryDir outside;
    QVERIFY(QDir(outside.path()).mkpath("Photos/Roof/.hidden"));
    for (const char* name :
        { "Photos/a.jpg", "Photos/Roof/b.jpg", "Photos/Roof/.hidden/c.txt", "plan.pdf" }) {
        QFile f(outside.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(name);
    }
    // A link to a folder above would copy for ever; it is named instead.
    QVERIFY(QFile::link(outside.path(), outside.filePath("Photos/Roof/up")));
    makeFile("Site A/plan.pdf", "mine");
    const QString gone = outside.filePath("gone.txt");
    auto& prompts = ScriptedPrompts::get();

    QVERIFY(!drop(
        { outside.filePath("Photos"), outside.filePath("plan.pdf"), gone }, Qt::CopyAction, path("Site A")));
    for (const char* copied :
        { "Site A/Photos/a.jpg", "Site A/Photos/Roof/b.jpg", "Site A/Photos/Roof/.hidden/c.txt" }) {
        QFile f(path(copied));
        QVERIFY2(f.open(QIODevice::ReadOnly), copied);
        QCOMPARE(f.readAll(), QByteArray(copied).mid(7));
    }
    QVERIFY(!QFileInfo::exists(path("Site A/Photos/Roof/up")));
    // The taken name is numbered; the file that was there is untouched.
    QFile mine(path("Site A/plan.pdf"));
    QVERIFY(mine.open(QIODevice::ReadOnly));
    QCOMPARE(mine.readAll(), QByteArray("mine"));
    QFile numbered(path("Site A/plan (2).pdf"));
    QVERIFY(numbered.open(QIODevice::ReadOnly));
    QCOMPARE(numbered.readAll(), QByteArray("plan.pdf"));
    // Originals stay.
    QVERIFY(QFileInfo::exists(outside.filePath("Photos/a.jpg")));

    QCOMPARE(prompts.messageTexts(),
        QStringList { QString("These items could not be copied to \"%1\":").arg(path("Site A")) });
    QCOMPARE(prompts.asked.first().message.icon, QMessageBox::Warning);
    const QStringList named = prompts.asked.first().message.informativeText.split('\n');
    QCOMPARE(named, QStringList({ outside.filePath("Photos/Roof/up"), gone }));

    // Everything copied: no message, and a second drop numbers the folder too.
    prompts.reset();
    QVERIFY(drop({ outside.filePath("plan.pdf") }, Qt::CopyAction, path("Site A")));
    QVERIFY(QFileInfo::exists(path("Site A/plan (3).pdf")));
    QVERIFY(prompts.asked.isEmpty());
    QVERIFY(!drop({ outside.filePath("Photos") }, Qt::CopyAction, path("Site A")));
    QVERIFY(QFileInfo::exists(path("Site A/Photos (2)/Roof/b.jpg")));
    prompts.reset();

    // A folder dropped into itself is refused by name, not copied into itself for ever.
    QVERIFY(!drop({ path("Site A") }, Qt::CopyAction, path("Site A/Roof")));
    QCOMPARE(prompts.asked.size(), 1);
    QCOMPARE(prompts.asked.first().message.informativeText, path("Site A"));
    QVERIFY(!QFileInfo::exists(path("Site A/Roof/Site A")));
}

void TestProjectTree::movesNumberTakenNames()
{
    makeFile("Site A/Notes.kstreport", "moved");
    makeFile("Other/Notes.kstreport", "stays");
    auto& prompts = ScriptedPrompts::get();
    QVERIFY(drop({ path("Site A/Notes.kstreport") }, Qt::MoveAction, path("Other")));
    QVERIFY(!QFileInfo::exists(path("Site A/Notes.kstreport")));
    QFile stays(path("Other/Notes.kstreport"));
    QVERIFY(stays.open(QIODevice::ReadOnly));
    QCOMPARE(stays.readAll(), QByteArray("stays"));
    QFile moved(path("Other/Notes (2).kstreport"));
    QVERIFY(moved.open(QIODevice::ReadOnly));
    QCOMPARE(moved.readAll(), QByteArray("moved"));
    // Onto its own folder: nothing moves, nothing is numbered.
    QVERIFY(drop({ path("Other/Notes.kstreport") }, Qt::MoveAction, path("Other")));
    QVERIFY(!QFileInfo::exists(path("Other/Notes (3).kstreport")));
    // A folder into its own subfolder is named as not moved.
    QVERIFY(!drop({ path("Site A") }, Qt::MoveAction, path("Site A/Roof")));
    QCOMPARE(prompts.messageTexts(),
        QStringList { QString("These items could not be moved to \"%1\":").arg(path("Site A/Roof")) });
    QVERIFY(QFileInfo(path("Site A/Roof")).isDir());
}

void TestProjectTree::projectsFolderThatComesBackIsShownAfresh()
{
    makeFile("Old.kstreport");
    m_window->projectTree()->watcher()->finish();
    QTRY_VERIFY(m_window->projectTree()->model()->index(path("Old.kstreport")).isValid());
    const QString away = root() + "-away";

    // The folder goes (a stick pulled out): the tree shows nothing, not the folders around it.
    QVERIFY(QDir().rename(root(), away));
    QTRY_VERIFY(!m_window->treeView()->model()
        || m_window->treeView()->model()->rowCount(m_window->treeView()->rootIndex()) == 0);
    // Said once; New does not write anywhere else meanwhile.
    auto& prompts = ScriptedPrompts::get();
    QTRY_COMPARE(prompts.messageTexts(),
        QStringList { QString("The projects folder \"%1\" cannot be reached.").arg(root()) });
    m_window->findChild<QAction*>("actionNewTestReport")->trigger();
    m_window->findChild<QAction*>("actionNewFolder")->trigger();
    QCOMPARE(prompts.asked.size(), 3);
    QVERIFY(prompts.asked.at(1).message.text.startsWith(
        QString("The projects folder \"%1\" cannot be found.").arg(root())));
    QVERIFY(!QFileInfo::exists(root()));
    const QStringList besides = QFileInfo(root()).dir().entryList({ "Array Test Report*", "New Folder*" });
    QVERIFY2(besides.isEmpty(), qPrintable(besides.join(", ")));

    // Changed while away, then back.
    QVERIFY(QFile::remove(away + "/Old.kstreport"));
    QVERIFY(QDir().rename(away, root()));
    QTRY_VERIFY(m_window->treeView()->model() == m_window->projectTree()->model());
    ProjectModel* model = m_window->projectTree()->model();
    QCOMPARE(model->filePath(m_window->treeView()->rootIndex()), root());
    makeFile("Site A/Later.kstreport");
    QTRY_VERIFY(model->index(path("Site A/Later.kstreport")).isValid());
    QVERIFY(!model->index(path("Old.kstreport")).isValid());
    // New Folder made after the return shows in the tree.
    m_window->findChild<QAction*>("actionNewFolder")->trigger();
    QTRY_VERIFY(model->index(path("New Folder")).isValid());
    QCOMPARE(prompts.asked.size(), 3);
}

void TestProjectTree::deleteAsksOnceForTheOutermostItems_data()
{
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QString>("question");
    QTest::addColumn<bool>("yes");
    // What goes to the trash: the selection without what lies inside another selected folder.
    QTest::addColumn<QStringList>("trashed");
    const QStringList folderAndInner { "Site A", "Site A/Roof/Inner.kstreport" };
    QTest::newRow("folder with a file inside")
        << folderAndInner << "Move \"Site A\" to the trash?" << true << QStringList { "Site A" };
    QTest::newRow("one file") << QStringList { "Other/Notes.kstreport" }
                              << "Move \"Notes.kstreport\" to the trash?" << true
                              << QStringList { "Notes.kstreport" };
    QTest::newRow("two files") << QStringList { "Other/Notes.kstreport", "Site A/Roof/Inner.kstreport" }
                               << "Move these 2 items to the trash?" << true
                               << QStringList { "Notes.kstreport", "Inner.kstreport" };
    QTest::newRow("two folders and a file in one")
        << QStringList { "Site A", "Other", "Other/Notes.kstreport" } << "Move these 2 items to the trash?"
        << true << QStringList { "Site A", "Other" };
    QTest::newRow("no") << folderAndInner << "Move \"Site A\" to the trash?" << false << QStringList();
}

void TestProjectTree::deleteAsksOnceForTheOutermostItems()
{
    QFETCH(QStringList, selected);
    QFETCH(QString, question);
    QFETCH(bool, yes);
    QFETCH(QStringList, trashed);
    makeFile("Site A/Roof/Inner.kstreport");
    makeFile("Other/Notes.kstreport");
    const QString trash = TestSupport::homeFolder() + "/.local/share/Trash";
    QVERIFY(QDir(trash).removeRecursively());
    ProjectModel* model = m_window->projectTree()->model();
    QItemSelectionModel* selection = m_window->treeView()->selectionModel();
    selection->clear();
    for (const QString& item : selected) {
        QTRY_VERIFY(model->index(path(item)).isValid());
        selection->select(model->index(path(item)), QItemSelectionModel::Select);
    }
    auto& prompts = ScriptedPrompts::get();
    prompts.buttons << (yes ? QMessageBox::Yes : QMessageBox::No);
    m_window->findChild<QAction*>("actionDelete")->trigger();
    QCOMPARE(prompts.messageTexts(), QStringList { question });
    for (const QString& item : selected)
        QCOMPARE(QFileInfo::exists(path(item)), !yes);
    // What was inside a trashed folder went with it, not as an item of its own.
    QStringList inTrash = QDir(trash + "/files").entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    inTrash.sort();
    trashed.sort();
    QCOMPARE(inTrash, trashed);
    if (trashed.contains("Site A"))
        QVERIFY(QFileInfo::exists(
            TestSupport::homeFolder() + "/.local/share/Trash/files/Site A/Roof/Inner.kstreport"));
}

void TestProjectTree::renameRefusalSaysWhy_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("typed");
    // Empty: refused without a word (the name editor committed the name as it was).
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("icon");
    const int warning = QMessageBox::Warning;
    const int critical = QMessageBox::Critical;
    QTest::newRow("slash") << "Site A/One.kstreport"
                           << "a/b"
                           << "The name \"a/b\" cannot be used." << warning;
    QTest::newRow("dot") << "Site A/One.kstreport"
                         << "."
                         << "The name \".\" cannot be used." << warning;
    QTest::newRow("dot dot") << "Site A"
                             << ".."
                             << "The name \"..\" cannot be used." << warning;
    QTest::newRow("taken, extension kept") << "Site A/One.kstreport"
                                           << "Two"
                                           << "\"Two.kstreport\" already exists." << warning;
    QTest::newRow("taken folder") << "Site A"
                                  << "Other"
                                  << "\"Other\" already exists." << warning;
    QTest::newRow("gone meanwhile") << "Site A/Gone.kstreport"
                                    << "Back"
                                    << "\"Gone.kstreport\" could not be renamed." << warning;
    QTest::newRow("open") << "Other/Open.kstreport"
                          << "Closed"
                          << "File is already open in Kestrovan. Close it before attempting to set the name."
                          << critical;
    QTest::newRow("folder holding an open file")
        << "Other"
        << "Elsewhere"
        << "A file in this folder is open in Kestrovan. Close it before attempting to set the name."
        << critical;
    QTest::newRow("unchanged") << "Site A/One.kstreport"
                               << "One"
                               << "" << 0;
    QTest::newRow("blank") << "Site A/One.kstreport"
                           << "   "
                           << "" << 0;
}

void TestProjectTree::renameRefusalSaysWhy()
{
    QFETCH(QString, item);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(int, icon);
    for (const char* name :
        { "Site A/One.kstreport", "Site A/Two.kstreport", "Site A/Gone.kstreport", "Other/Open.kstreport" })
        makeFile(name);
    QVERIFY(m_window->openDocument(path("Other/Open.kstreport")));
    ProjectModel* model = m_window->projectTree()->model();
    QTRY_VERIFY(model->index(path("Site A/Gone.kstreport")).isValid());
    const QModelIndex index = model->index(path(item));
    QVERIFY(index.isValid());
    QSignalSpy renamed(model, &ProjectModel::renamed);
    QVERIFY(QFile::remove(path("Site A/Gone.kstreport")));
    auto& prompts = ScriptedPrompts::get();
    prompts.reset();

    QVERIFY(!model->setData(index, typed, Qt::EditRole));
    QCOMPARE(prompts.messageTexts(), message.isEmpty() ? QStringList() : QStringList { message });
    if (!message.isEmpty()) {
        QCOMPARE(int(prompts.asked.first().message.icon), icon);
        // The refusals about open documents carry the program's name as their title.
        QCOMPARE(prompts.asked.first().message.title == "Kestrovan", icon == QMessageBox::Critical);
    }
    QCOMPARE(renamed.count(), 0);
    QVERIFY(item.endsWith("Gone.kstreport") || QFileInfo::exists(path(item)));
}

void TestProjectTree::renamedItemStaysSelected()
{
    makeFile("Site A/Alpha.kstreport");
    makeFile("Site A/Beta.kstreport");
    makeFile("Site A/Gamma.kstreport");
    ProjectModel* model = m_window->projectTree()->model();
    m_window->treeView()->expand(model->index(path("Site A")));
    m_window->projectTree()->selectPath(path("Site A/Beta.kstreport"));
    QTRY_VERIFY(model->index(path("Site A/Gamma.kstreport")).isValid());
    const QModelIndex beta = model->index(path("Site A/Beta.kstreport"));
    m_window->treeView()->selectionModel()->setCurrentIndex(beta, QItemSelectionModel::ClearAndSelect);
    QVERIFY(model->setData(beta, "Delta", Qt::EditRole));
    // Wait until the model has let go of the old name (Roof, Alpha, Delta, Gamma are left), then
    // look where the selection is.
    QTRY_VERIFY(!QFileInfo::exists(path("Site A/Beta.kstreport"))
        && model->rowCount(model->index(path("Site A"))) == 4
        && !model->index(path("Site A/Beta.kstreport")).isValid());
    QTest::qWait(50);
    QCOMPARE(model->filePath(m_window->treeView()->currentIndex()), path("Site A/Delta.kstreport"));
    const QModelIndexList selected = m_window->treeView()->selectionModel()->selectedIndexes();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(model->filePath(selected.first()), path("Site A/Delta.kstreport"));
}

void TestProjectTree::folderIconsAreReadOffTheWindowThread()
{
    // A folder holding a checklist (a client hand-over pack) is marked, but reading the folder
    // may take long on a share: the tree shows a plain folder until a worker has looked.
    makeFile("Site A/Handover.kstchk");
    ProjectModel model;
    model.setRootPath(root());
    const QModelIndex top = model.index(root());
    QTRY_COMPARE(model.rowCount(top), 2);
    const QModelIndex site = model.index(path("Site A"));
    const QModelIndex other = model.index(path("Other"));
    QVERIFY(site.isValid() && other.isValid());
    const auto picture = [](const QVariant& icon) { return icon.value<QIcon>().pixmap(16).toImage(); };
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QCOMPARE(picture(model.data(site, Qt::DecorationRole)), picture(folderIcon(false)));
    QCOMPARE(picture(model.data(other, Qt::DecorationRole)), picture(folderIcon(false)));
    QTRY_COMPARE(changed.count(), 2);
    QCOMPARE(picture(model.data(site, Qt::DecorationRole)), picture(folderIcon(true)));
    QCOMPARE(picture(model.data(other, Qt::DecorationRole)), picture(folderIcon(false)));
}

KESTROVAN_TEST_MAIN(TestProjectTree)
#include "tst_projecttree.moc"
