#include "AppTestSupport.h"
#include "DocumentFactory.h"
#include "DocumentRegistry.h"
#include "Folders.h"
#include "GraphicalReportDocument.h"
#include "MainWindow.h"
#include "ProjectModel.h"
#include "ProjectTreeController.h"
#include "ProjectTreeView.h"
#include "ProjectWatcher.h"
#include "Startup.h"
#include "TestDocument.h"
#include "TestSupport.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QGraphicsView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>
#include <QUndoStack>

// The document browser and the open documents, as a user drives them.
class TestMainWindow : public QObject, protected TestSupport::MainWindowFixture
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void newDocumentGoesToTheSelectedFolder_data();
    void newDocumentGoesToTheSelectedFolder();
    void everyNewKindCreatesOpensAndCloses_data();
    void everyNewKindCreatesOpensAndCloses();
    void newFolderAlwaysLandsInTheRoot();
    void firstStartUsesMostOfTheScreen_data();
    void firstStartUsesMostOfTheScreen();
    void namesShowWithoutExtensionAndRenameKeepsIt();
    void renamingAnOpenDocumentIsRefused();
    void treeAndTabsFollowEachOther();
    void controlSWorksInTheReportAndInTheTree();
    void deletingAFileClosesItsDocument();
    void fileRemovedOutsideClosesItsDocument();
    void closingAllWhileASaveQuestionIsOpenWaitsForIt_data();
    void closingAllWhileASaveQuestionIsOpenWaitsForIt();
    void dropFromOutsideAsksBeforeCopying();
    void contextMenuDependsOnTheItemUnderTheCursor();
    void fileMenuKeepsItsActions_data();
    void fileMenuKeepsItsActions();
    void otherKindsOpenOnTheDesktop();
    void watcherCoversEveryVisibleFolder();
    void languageFromSettingsOffersARestart();

private:
    void select(const QString& path);
};

namespace {
// A document class for one of our kinds, so that files can be opened as tabs.
void registerTestDocuments()
{
    DocumentRegistry::registerKind(
        GenericReport, [](const QString& path, QWidget* parent) { return new TestDocument(path, parent); });
}
} // namespace

void TestMainWindow::initTestCase()
{
    registerTestDocuments();
}

void TestMainWindow::init()
{
    startWindow();
}

void TestMainWindow::cleanup()
{
    closeWindow();
}

void TestMainWindow::select(const QString& path)
{
    const QModelIndex index = m_window->projectTree()->model()->index(path);
    QVERIFY(index.isValid());
    m_window->treeView()->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

void TestMainWindow::newDocumentGoesToTheSelectedFolder_data()
{
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("expectedFolder");
    QTest::newRow("file in a subfolder") << "Site A/Roof/notes.txt"
                                         << "Site A/Roof";
    QTest::newRow("folder") << "Site A"
                            << "Site A";
    QTest::newRow("nothing") << ""
                             << "";
}

void TestMainWindow::newDocumentGoesToTheSelectedFolder()
{
    QFETCH(QString, selected);
    QFETCH(QString, expectedFolder);
    makeFile("Site A/Roof/notes.txt");
    if (!selected.isEmpty())
        select(QDir(root()).filePath(selected));

    action("actionNewCurveData")->trigger();
    const QString expected
        = QDir(QDir(root()).filePath(expectedFolder)).filePath("String Data Report.kstcrv");
    QVERIFY(QFileInfo::exists(expected));
    ProjectTreeView* tree = m_window->treeView();
    QCOMPARE(m_window->projectTree()->model()->filePath(tree->currentIndex()), expected);
    // The name editor is open on the new file.
    auto* editor = qobject_cast<QLineEdit*>(tree->indexWidget(tree->currentIndex()));
    QVERIFY(editor);
    QCOMPARE(editor->text(), QString("String Data Report"));

    // The second one in the same folder is numbered.
    QTest::keyClick(editor, Qt::Key_Escape);
    action("actionNewCurveData")->trigger();
    QVERIFY(QFileInfo::exists(QDir(QFileInfo(expected).path()).filePath("String Data Report (2).kstcrv")));
}

void TestMainWindow::everyNewKindCreatesOpensAndCloses_data()
{
    QTest::addColumn<QString>("actionName");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("documentClass");
    QTest::newRow("inspection report") << "actionNewInspectionReport"
                                       << "Inspection Report.kstir"
                                       << "GraphicalReportDocument";
    QTest::newRow("array test report") << "actionNewTestReport"
                                       << "Array Test Report.kstatr"
                                       << "GraphicalReportDocument";
    QTest::newRow("verification certificate") << "actionNewVerificationCertificate"
                                              << "Verification Certificate.kstvc"
                                              << "GraphicalReportDocument";
    QTest::newRow("installation diagram") << "actionNewInstallationDiagram"
                                          << "Installation Diagram.kstid"
                                          << "InstallationDiagramDocument";
    QTest::newRow("checklist") << "actionNewChecklist"
                               << "Checklist.kstchk"
                               << "GraphicalReportDocument";
    QTest::newRow("string data report") << "actionNewCurveData"
                                        << "String Data Report.kstcrv"
                                        << "IVCurve::CurveDocument";
}

void TestMainWindow::everyNewKindCreatesOpensAndCloses()
{
    QFETCH(QString, actionName);
    QFETCH(QString, fileName);
    QFETCH(QString, documentClass);
    // The real document kinds for this one; the other tests keep the stand-in.
    registerDocumentKinds();
    struct Restore
    {
        ~Restore() { registerTestDocuments(); }
    } restore;

    QAction* create = action(actionName.toLatin1().constData());
    QVERIFY(create);
    QVERIFY(m_window->findChild<QMenu*>("menuFile")->actions().contains(create));
    std::unique_ptr<QMenu> treeMenu(m_window->createTreeContextMenu(QPoint(-1, -1)));
    QVERIFY(treeMenu->actions().contains(create));

    create->trigger();
    const QString path = QDir(root()).filePath(fileName);
    QVERIFY(QFileInfo(path).isFile());
    ProjectTreeView* tree = m_window->treeView();
    QCOMPARE(m_window->projectTree()->model()->filePath(tree->currentIndex()), path);
    auto* editor = qobject_cast<QLineEdit*>(tree->indexWidget(tree->currentIndex()));
    QVERIFY(editor);
    QTest::keyClick(editor, Qt::Key_Escape);

    action("actionOpen")->trigger();
    QCOMPARE(m_window->documents().size(), 1);
    AbstractDocument* doc = m_window->activeDocument();
    QVERIFY(doc && doc->isValid());
    QCOMPARE(doc->filePath(), path);
    QCOMPARE(QString(doc->metaObject()->className()), documentClass);
    QVERIFY(!doc->isModified());

    m_window->closeDocument(doc);
    QTRY_VERIFY(m_window->documents().isEmpty());
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());
}

void TestMainWindow::firstStartUsesMostOfTheScreen_data()
{
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QSize>("minimum");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("1600 x 1000") << QRect(0, 0, 1600, 1000) << QSize(300, 400) << QRect(160, 100, 1280, 800);
    QTest::newRow("panel at the top")
        << QRect(0, 40, 1366, 728) << QSize(300, 400) << QRect(136, 113, 1093, 582);
    QTest::newRow("second screen") << QRect(1920, 32, 1280, 992) << QSize(300, 400)
                                   << QRect(2048, 131, 1024, 794);
    QTest::newRow("screen smaller than the window")
        << QRect(0, 0, 800, 600) << QSize(640, 681) << QRect(80, 0, 640, 681);
}

void TestMainWindow::firstStartUsesMostOfTheScreen()
{
    QFETCH(QRect, available);
    QFETCH(QSize, minimum);
    QFETCH(QRect, expected);
    QCOMPARE(MainWindow::firstStartGeometry(available, minimum), expected);
    // The window of this test started without stored geometry; the platform may push it down by
    // its frame.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect first = MainWindow::firstStartGeometry(screen, m_window->minimumSizeHint());
    QCOMPARE(m_window->size(), first.size());
    QCOMPARE(m_window->geometry().x(), first.x());
    QVERIFY(m_window->frameGeometry().top() >= screen.top());
    QVERIFY(m_window->geometry().y() - first.y() < 30);
}

void TestMainWindow::newFolderAlwaysLandsInTheRoot()
{
    select(QDir(root()).filePath("Site A/Roof"));
    action("actionNewFolder")->trigger();
    action("actionNewFolder")->trigger();
    QVERIFY(QFileInfo(QDir(root()).filePath("New Folder")).isDir());
    QVERIFY(QFileInfo(QDir(root()).filePath("New Folder (2)")).isDir());
    QVERIFY(!QFileInfo::exists(QDir(root()).filePath("Site A/Roof/New Folder")));
}

void TestMainWindow::namesShowWithoutExtensionAndRenameKeepsIt()
{
    makeFile("Site A.kstir");
    QVERIFY(QDir(root()).mkdir("Plans v1.5"));
    ProjectModel* model = m_window->projectTree()->model();
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const QModelIndex file = model->index(QDir(root()).filePath("Site A.kstir"));
    QCOMPARE(model->data(file, Qt::DisplayRole).toString(), QString("Site A"));
    QCOMPARE(model->data(file, Qt::EditRole).toString(), QString("Site A"));
    const QModelIndex folder = model->index(QDir(root()).filePath("Plans v1.5"));
    QCOMPARE(model->data(folder, Qt::DisplayRole).toString(), QString("Plans v1.5"));
    QVERIFY(!model->data(file, Qt::DecorationRole).value<QIcon>().isNull());

    QVERIFY(model->setData(file, "Site B", Qt::EditRole));
    QVERIFY(QFileInfo::exists(QDir(root()).filePath("Site B.kstir")));
    QVERIFY(!QFileInfo::exists(QDir(root()).filePath("Site A.kstir")));

    // Folders keep their whole name; a name that is taken is refused with a message.
    QVERIFY(model->setData(folder, "Plans v2.0", Qt::EditRole));
    QVERIFY(QFileInfo(QDir(root()).filePath("Plans v2.0")).isDir());
    makeFile("Site C.kstir");
    QTRY_VERIFY(model->index(QDir(root()).filePath("Site C.kstir")).isValid());
    QVERIFY(!model->setData(model->index(QDir(root()).filePath("Site C.kstir")), "Site B", Qt::EditRole));
    QCOMPARE(ScriptedPrompts::get().messageTexts(), QStringList { "\"Site B.kstir\" already exists." });
}

void TestMainWindow::renamingAnOpenDocumentIsRefused()
{
    makeFile("Report.kstreport");
    const QString path = QDir(root()).filePath("Report.kstreport");
    QVERIFY(m_window->openDocument(path));
    ProjectModel* model = m_window->projectTree()->model();
    // The name editor committing the name unchanged is no rename, and nothing to tell.
    QVERIFY(!model->setData(model->index(path), "Report", Qt::EditRole));
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());
    QVERIFY(!model->setData(model->index(path), "Other", Qt::EditRole));
    QVERIFY(QFileInfo::exists(path));
    const auto& asked = ScriptedPrompts::get().asked;
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].message.icon, QMessageBox::Critical);
    QCOMPARE(asked[0].message.title, QString("Kestrovan"));
    QCOMPARE(asked[0].message.text,
        QString("File is already open in Kestrovan. Close it before attempting to set the name."));
}

void TestMainWindow::treeAndTabsFollowEachOther()
{
    makeFile("One.kstreport");
    makeFile("Site A/Two.kstreport");
    const QString one = QDir(root()).filePath("One.kstreport");
    const QString two = QDir(root()).filePath("Site A/Two.kstreport");
    AbstractDocument* first = m_window->openDocument(one);
    AbstractDocument* second = m_window->openDocument(two);
    QCOMPARE(m_window->openDocument(one), first); // opening again finds the tab
    QCOMPARE(m_window->documents().size(), 2);
    ProjectModel* model = m_window->projectTree()->model();
    QCOMPARE(model->filePath(m_window->treeView()->currentIndex()), two);

    select(one);
    QCOMPARE(m_window->activeDocument(), first);
    QVERIFY(action("actionOpen")->isEnabled());
    m_window->setActiveDocument(second);
    QCOMPARE(model->filePath(m_window->treeView()->currentIndex()), two);

    // Save follows the active document's modified mark.
    QVERIFY(!action("actionSave")->isEnabled());
    second->setModified(true);
    QVERIFY(action("actionSave")->isEnabled());
    m_window->setActiveDocument(first);
    QVERIFY(!action("actionSave")->isEnabled());
    m_window->setActiveDocument(second);
    action("actionSave")->trigger();
    QCOMPARE(static_cast<TestDocument*>(second)->saves, 1);
    QVERIFY(!action("actionSave")->isEnabled());
}

void TestMainWindow::controlSWorksInTheReportAndInTheTree()
{
    const QString path = createNewDocument(root(), "Checklist.kstchk");
    AbstractDocument* doc = m_window->openDocument(path);
    QVERIFY(doc && doc->isValid());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    auto* view = doc->findChild<QGraphicsView*>();
    QVERIFY(view);

    auto* report = qobject_cast<GraphicalReportDocument*>(doc);
    QVERIFY(report);
    auto edit = [report]() { report->undoStack()->push(new QUndoCommand(QStringLiteral("an edit"))); };
    edit();
    QVERIFY(doc->isModified());
    view->setFocus();
    QTest::keyClick(view, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!doc->isModified());

    edit();
    m_window->treeView()->setFocus();
    QTest::keyClick(m_window->treeView(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!doc->isModified());
}

void TestMainWindow::deletingAFileClosesItsDocument()
{
    makeFile("Gone.kstreport");
    const QString path = QDir(root()).filePath("Gone.kstreport");
    m_window->openDocument(path);
    select(path);
    auto& prompts = ScriptedPrompts::get();
    prompts.buttons << QMessageBox::No;
    action("actionDelete")->trigger();
    QVERIFY(QFileInfo::exists(path));
    QCOMPARE(prompts.asked.last().message.text, QString("Move \"Gone.kstreport\" to the trash?"));

    prompts.buttons << QMessageBox::Yes;
    action("actionDelete")->trigger();
    QVERIFY(!QFileInfo::exists(path));
    QTRY_VERIFY(m_window->documents().isEmpty());
    // It went to the trash, where the user can get it back.
    QVERIFY(!QDir(TestSupport::homeFolder() + "/.local/share/Trash/files").entryList({ "Gone*" }).isEmpty());
}

void TestMainWindow::fileRemovedOutsideClosesItsDocument()
{
    makeFile("Site A/Roof/Away.kstreport");
    makeFile("Site A/Roof/Edited.kstreport");
    const QString away = QDir(root()).filePath("Site A/Roof/Away.kstreport");
    const QString edited = QDir(root()).filePath("Site A/Roof/Edited.kstreport");
    m_window->openDocument(away);
    m_window->openDocument(edited)->setModified(true);
    m_window->projectTree()->watcher()->finish();

    QVERIFY(QFile::remove(away));
    QTRY_COMPARE(m_window->documents().size(), 1);

    // A modified document still asks; saving brings the file back and keeps the tab.
    ScriptedPrompts::get().buttons << QMessageBox::Cancel;
    QVERIFY(QFile::remove(edited));
    QTRY_COMPARE(ScriptedPrompts::get().messageTexts(), QStringList { "Save changes to Edited.kstreport?" });
    QCOMPARE(m_window->documents().size(), 1);
}

void TestMainWindow::closingAllWhileASaveQuestionIsOpenWaitsForIt_data()
{
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<int>("saves");
    // The first answer is to the question that was open; the window closes after it, asking
    // again for a document that is still open.
    QTest::newRow("yes") << QList<int> { QMessageBox::Yes } << 1;
    QTest::newRow("no") << QList<int> { QMessageBox::No } << 0;
    QTest::newRow("cancel, then yes") << QList<int> { QMessageBox::Cancel, QMessageBox::Yes } << 1;
}

void TestMainWindow::closingAllWhileASaveQuestionIsOpenWaitsForIt()
{
    QFETCH(QList<int>, answers);
    QFETCH(int, saves);
    makeFile("Edited.kstreport");
    const QString path = QDir(root()).filePath("Edited.kstreport");
    QPointer<TestDocument> doc = qobject_cast<TestDocument*>(m_window->openDocument(path));
    QVERIFY(doc);
    doc->setModified(true);
    int saved = 0;
    connect(doc, &AbstractDocument::titleChanged, this, [&saved, doc] { saved = doc->saves; });
    auto& prompts = ScriptedPrompts::get();
    for (int answer : answers)
        prompts.buttons << PromptButton(answer);
    // While "Save changes?" is open, everything is closed, as logging out of the desktop does.
    bool closedAtOnce = true;
    MainWindow* window = m_window.get();
    prompts.whileOpen = [&closedAtOnce, window] { closedAtOnce = window->close(); };
    m_window->closeDocument(doc);

    QVERIFY(!closedAtOnce);
    QTRY_VERIFY(!m_window->isVisible());
    QStringList asked;
    for (int i = 0; i < answers.size(); ++i)
        asked << "Save changes to Edited.kstreport?";
    QCOMPARE(prompts.messageTexts(), asked);
    QCOMPARE(prompts.unanswered, 0);
    QTRY_VERIFY(!doc);
    QCOMPARE(saved, saves);
}

void TestMainWindow::dropFromOutsideAsksBeforeCopying()
{
    QTemporaryDir outside;
    QStringList sources;
    for (const char* name : { "photo.jpg", "plan.pdf" }) {
        QFile f(outside.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("data");
        sources << f.fileName();
    }
    QCOMPARE(ProjectTreeView::dropQuestion({ QUrl::fromLocalFile(sources[0]) }),
        QString("This will copy \"%1\" to your project area.").arg(sources[0]));
    QCOMPARE(
        ProjectTreeView::dropQuestion({ QUrl::fromLocalFile(sources[0]), QUrl::fromLocalFile(sources[1]) }),
        QString("This will copy 2 files to your project area."));

    ProjectTreeView* tree = m_window->treeView();
    const QModelIndex target = m_window->projectTree()->model()->index(QDir(root()).filePath("Site A"));
    QTRY_VERIFY(tree->visualRect(target).isValid());
    const QPoint pos = tree->visualRect(target).center();
    auto drop = [&](QMessageBox::StandardButton answer) {
        QMimeData mime;
        mime.setUrls({ QUrl::fromLocalFile(sources[0]), QUrl::fromLocalFile(sources[1]) });
        ScriptedPrompts::get().buttons << answer;
        QDragEnterEvent enter(pos, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(tree->viewport(), &enter);
        QDragMoveEvent move(pos, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(tree->viewport(), &move);
        QDropEvent dropEvent(pos, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(tree->viewport(), &dropEvent);
    };
    drop(QMessageBox::No);
    QVERIFY(!QFileInfo::exists(QDir(root()).filePath("Site A/photo.jpg")));
    const auto& asked = ScriptedPrompts::get().asked;
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].message.text, QString("This will copy 2 files to your project area."));
    QCOMPARE(asked[0].message.informativeText, QString("Do you want to proceed?"));
    QCOMPARE(asked[0].message.icon, QMessageBox::Question);

    drop(QMessageBox::Yes);
    QVERIFY(QFileInfo::exists(QDir(root()).filePath("Site A/photo.jpg")));
    QVERIFY(QFileInfo::exists(QDir(root()).filePath("Site A/plan.pdf")));
    // Copied, not moved: the originals stay where they were.
    QVERIFY(QFileInfo::exists(sources[0]));
    QVERIFY(QFileInfo::exists(sources[1]));
}

void TestMainWindow::contextMenuDependsOnTheItemUnderTheCursor()
{
    ProjectTreeView* tree = m_window->treeView();
    const QModelIndex item = m_window->projectTree()->model()->index(QDir(root()).filePath("Site A"));
    QTRY_VERIFY(tree->visualRect(item).isValid());
    auto texts = [](QMenu* menu) {
        QStringList result;
        for (QAction* a : menu->actions())
            result << (a->isSeparator() ? QString("|") : a->text());
        return result;
    };
    std::unique_ptr<QMenu> onItem(m_window->createTreeContextMenu(tree->visualRect(item).center()));
    QCOMPARE(texts(onItem.get()),
        (QStringList { "Open", "|", "Save", "Delete", "Rename", "|", "New Inspection Report",
            "New PV Array Test Report", "New Verification Certificate", "New Installation Diagram",
            "New Checklist", "New String Data Report", "|", "New Folder" }));
    QCOMPARE(onItem->defaultAction(), action("actionOpen"));
    std::unique_ptr<QMenu> onNothing(
        m_window->createTreeContextMenu(QPoint(5, tree->viewport()->height() - 2)));
    QCOMPARE(texts(onNothing.get()).first(), QString("New Inspection Report"));
}

void TestMainWindow::fileMenuKeepsItsActions_data()
{
    // Other programs find the actions by these names; users find them by place, text and key.
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("icon");
    int position = 0;
    const auto row = [&position](const char* name, const char* text, const char* shortcut, bool enabled,
                         bool visible, bool icon) {
        const int at = position++;
        QTest::addRow("%d %s", at, *name ? name : "separator")
            << at << name << text << shortcut << enabled << visible << icon;
    };
    row("actionNewInspectionReport", "New Inspection Report", "", true, true, true);
    row("actionNewTestReport", "New PV Array Test Report", "", true, true, true);
    row("actionNewVerificationCertificate", "New Verification Certificate", "", true, true, true);
    row("actionNewInstallationDiagram", "New Installation Diagram", "", true, true, true);
    row("actionNewChecklist", "New Checklist", "", true, true, true);
    row("actionNewCurveData", "New String Data Report", "", true, true, true);
    row("", "", "", true, true, false);
    row("actionNewClientHandoverPack", "New Client Handover Pack", "", false, false, true);
    row("actionNewFolder", "New Folder", "", true, true, true);
    row("", "", "", true, true, false);
    row("actionSave", "Save", "Ctrl+S", false, true, true);
    row("actionDelete", "Delete", "", false, true, true);
    row("actionRename", "Rename", "F2", false, true, true);
    row("", "", "", true, true, false);
}

void TestMainWindow::fileMenuKeepsItsActions()
{
    QFETCH(int, position);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, shortcut);
    QFETCH(bool, enabled);
    QFETCH(bool, visible);
    QFETCH(bool, icon);
    const QList<QAction*> actions = m_window->findChild<QMenu*>("menuFile")->actions();
    QCOMPARE(actions.size(), 14);
    // Nothing chosen in the tree (showing the window may have made its first item current).
    m_window->treeView()->selectionModel()->clearCurrentIndex();
    QAction* entry = actions.at(position);
    QCOMPARE(entry->objectName(), name);
    QCOMPARE(entry->isSeparator(), name.isEmpty());
    QCOMPARE(entry->text(), text);
    QCOMPARE(entry->shortcut(), QKeySequence(shortcut));
    QCOMPARE(entry->isEnabled(), enabled);
    QCOMPARE(entry->isVisible(), visible);
    QCOMPARE(!entry->icon().isNull(), icon);
}

void TestMainWindow::otherKindsOpenOnTheDesktop()
{
    makeFile("manual.pdf");
    const QString path = QDir(root()).filePath("manual.pdf");
    select(path);
    action("actionOpen")->trigger();
    QCOMPARE(TestSupport::openedUrls(), QList<QUrl> { QUrl::fromLocalFile(path) });
    QVERIFY(m_window->documents().isEmpty());
    // A folder opens in the tree, not in a file manager.
    m_window->treeView()->activated(m_window->projectTree()->model()->index(QDir(root()).filePath("Site A")));
    QCOMPARE(TestSupport::openedUrls().size(), 1);
}

void TestMainWindow::watcherCoversEveryVisibleFolder()
{
    QVERIFY(QDir(root()).mkpath(".hidden/inner"));
    // A new root starts a new walk: Site A, Site A/Roof; hidden folders and the root are left out.
    Folders::instance()->setProjectsFolder(root());
    ProjectWatcher* watcher = m_window->projectTree()->watcher();
    QTRY_VERIFY(watcher->isComplete());
    QCOMPARE(watcher->watchedCount(), 2);
    QCOMPARE(watcher->refusedCount(), 0);
}

void TestMainWindow::languageFromSettingsOffersARestart()
{
    QSettings().setValue("locale", "en");
    ScriptedPrompts& prompts = ScriptedPrompts::get();
    QString choice;
    prompts.dialogHandler = [&choice](QDialog* dialog) {
        auto* combo = dialog->findChild<QComboBox*>("languageCombo");
        combo->setCurrentIndex(combo->findText(choice));
        dialog->accept();
        return dialog->result();
    };
    // No: stored for the next start, the window stays.
    choice = "Deutsch";
    prompts.buttons << QMessageBox::No;
    action("actionSettings")->trigger();
    QCOMPARE(prompts.messageTexts(),
        QStringList { "The language will be changed next time the application is started." });
    QCOMPARE(prompts.asked.last().message.informativeText, QString("Would you like to restart now?"));
    QCOMPARE(QSettings().value("locale").toString(), QString("de"));
    QVERIFY(!restartRequested());
    QVERIFY(m_window->isVisible());

    // The same language again asks nothing.
    prompts.asked.clear();
    action("actionSettings")->trigger();
    QVERIFY(prompts.messageTexts().isEmpty());

    // Yes, but a document's save question cancelled: the window stays, and is no restart.
    makeFile("Site A/open.kstreport");
    AbstractDocument* doc = m_window->openDocument(QDir(root()).filePath("Site A/open.kstreport"));
    QVERIFY(doc);
    doc->setModified(true);
    choice = "English";
    prompts.asked.clear();
    prompts.buttons << QMessageBox::Yes << QMessageBox::Cancel;
    action("actionSettings")->trigger();
    QCOMPARE(prompts.messageTexts().size(), 2);
    QVERIFY(!restartRequested());
    QVERIFY(m_window->isVisible());
    doc->setModified(false);

    // Yes: the window closes for the start-up loop to build a new one.
    choice = "System default";
    prompts.asked.clear();
    prompts.buttons << QMessageBox::Yes;
    action("actionSettings")->trigger();
    QCOMPARE(prompts.messageTexts().size(), 1);
    QVERIFY(QSettings().value("localeFollowsSystem").toBool());
    QCOMPARE(QSettings().value("locale").toString(), QString("en"));
    QVERIFY(restartRequested());
    QVERIFY(!m_window->isVisible());
    restartRequested() = false;
    prompts.dialogHandler = nullptr;
}

KESTROVAN_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
