// A curve document's file may vanish while one of the document's own dialogs is open (a sync
// client or a colleague on a shared folder removes it, and the folder watcher closes the tab).
// The document must outlive its dialog, finish what was asked and close once it has returned.
#include "AppTestSupport.h"
#include "CurveDocument.h"
#include "CurveGraph.h"
#include "CurveStore.h"
#include "CurveTestSupport.h"
#include "CurveTree.h"
#include "CurveTreeModel.h"
#include "FileNames.h"
#include "Folders.h"
#include "Startup.h"
#include "TestDocument.h"
#include "TestSupport.h"
#include "TreeItem.h"

#include <QAction>
#include <QDialog>
#include <QEventLoop>
#include <QFile>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>

using namespace IVCurve;
using namespace CurveTestSupport;

namespace {
// Two strings whose lines carry no checksum: the import asks about each.
QByteArray testerFile()
{
    return "PV,SN 9,x,1\n"
           "Index,Irr (W/m2),Tpv (C),IVCurve\n"
           "1,1000,25,0:8,10:7.5,20:0,0,0\n"
           "2,1000,25,0:4,10:2,20:0,0,0\n";
}
} // namespace

class TestCurveClosing : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { registerDocumentKinds(); }
    void init();
    void cleanup();

    void fileRemovedWhileADialogIsOpen_data();
    void fileRemovedWhileADialogIsOpen();

private:
    QPointer<CurveDocument> openInTab();

    std::unique_ptr<QTemporaryDir> m_project;
    std::unique_ptr<TestSupport::DocumentTabs> m_tabs;
};

void TestCurveClosing::init()
{
    TestSupport::resetState();
    m_project = std::make_unique<QTemporaryDir>();
    m_tabs = std::make_unique<TestSupport::DocumentTabs>();
}

void TestCurveClosing::cleanup()
{
    m_tabs.reset();
    m_project.reset();
}

QPointer<CurveDocument> TestCurveClosing::openInTab()
{
    const QString path = m_project->filePath("strings.kstcrv");
    if (!QFile::exists(path) && !copyTemplate(path))
        return nullptr;
    auto* doc = new CurveDocument(path);
    return m_tabs->open(doc);
}

void TestCurveClosing::fileRemovedWhileADialogIsOpen_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::newRow("checksum question of an import") << "import";
    QTest::newRow("import file chooser") << "chooser";
    QTest::newRow("export points") << "points";
    QTest::newRow("export image") << "image";
    QTest::newRow("set colour") << "colour";
    QTest::newRow("details") << "details";
}

void TestCurveClosing::fileRemovedWhileADialogIsOpen()
{
    QFETCH(QString, dialog);
    auto& prompts = ScriptedPrompts::get();
    QPointer<CurveDocument> doc = openInTab();
    QVERIFY(doc && doc->isValid());
    const QString csv = m_project->filePath("site.csv");
    QVERIFY(!writeFile(csv, testerFile()).isEmpty());
    if (dialog != "import" && dialog != "chooser") {
        // Strings to work on, saved, with the first one selected.
        prompts.checkBoxes << false;
        prompts.buttons << QMessageBox::Ok;
        QVERIFY(doc->importTesterFile(csv));
        doc->save();
        QVERIFY(!doc->isModified());
        CurveTreeModel* model = doc->store()->treeModel();
        doc->tree()->selectionModel()->select(model->indexForItem(model->rootItem()->child(0)->child(0)),
            QItemSelectionModel::Select | QItemSelectionModel::Rows);
        prompts.reset();
    }
    TestSupport::removeFileAndCloseWhileAsked(doc);
    const QString exported = m_project->filePath("out.csv");
    if (dialog == "import") {
        prompts.buttons << QMessageBox::Ok;
        prompts.checkBoxes << false;
        QVERIFY(doc->importTesterFile(csv));
    } else if (dialog == "chooser") {
        prompts.paths << csv;
        prompts.buttons << QMessageBox::Ok;
        prompts.checkBoxes << false;
        doc->findChild<QAction*>("actionImportCSV")->trigger();
    } else if (dialog == "points") {
        prompts.paths << exported;
        doc->findChild<QAction*>("actionExportPoints")->trigger();
    } else if (dialog == "image") {
        prompts.paths << m_project->filePath("graph.png");
        doc->findChild<QAction*>("actionExportToImage")->trigger();
    } else if (dialog == "colour") {
        prompts.colors << QColor("#123456");
        doc->findChild<QAction*>("actionSetColour")->trigger();
    } else {
        prompts.dialogHandler = [](QDialog*) { return int(QDialog::Rejected); };
        doc->findChild<QAction*>("actionViewDetails")->trigger();
    }
    // The dialog has returned to a document that is still there, and that did what was asked.
    QVERIFY(doc);
    if (dialog == "import" || dialog == "chooser")
        QCOMPARE(doc->store()->treeModel()->rootItem()->child(0)->childCount(), 2);
    if (dialog == "points")
        QVERIFY(QFile::exists(exported));
    if (dialog == "image")
        QVERIFY(QFile::exists(m_project->filePath("graph.png")));
    // Then the close that came meanwhile happens; a document with changes asks first.
    if (doc->isModified())
        prompts.buttons << QMessageBox::No;
    QTRY_VERIFY2(!doc, qPrintable(prompts.messageTexts().join('|')));
    QCOMPARE(prompts.unanswered, 0);
}

KESTROVAN_TEST_MAIN(TestCurveClosing)
#include "tst_closing.moc"
