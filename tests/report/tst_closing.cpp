#include "AppTestSupport.h"
#include "DocumentFactory.h"
#include "GraphicalReportDocument.h"
#include "ReportPage.h"
#include "ReportScene.h"
#include "ReportTestSupport.h"
#include "ReportText.h"
#include "Startup.h"
#include "TestDocument.h"
#include "TestSupport.h"

#include <QAction>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>

using namespace ReportTestSupport;

// A report's file may vanish while one of the report's own dialogs is open (a sync client or a
// colleague on a shared folder removes it, and the folder watcher closes the tab). The report
// must outlive its dialog and close once the dialog has returned.
class TestClosing : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { registerDocumentKinds(); }
    void init();
    void cleanup();

    void fileRemovedWhileADialogIsOpen_data();
    void fileRemovedWhileADialogIsOpen();
    void modifiedReportAsksOnceItsDialogHasReturned();

private:
    // Opens a new report of the kind in a tab of its own, as the main window does.
    QPointer<GraphicalReportDocument> openInTab(const QString& fileName);

    std::unique_ptr<QTemporaryDir> m_project;
    std::unique_ptr<TestSupport::DocumentTabs> m_tabs;
};

void TestClosing::init()
{
    TestSupport::resetState();
    m_project = std::make_unique<QTemporaryDir>();
    m_tabs = std::make_unique<TestSupport::DocumentTabs>();
}

void TestClosing::cleanup()
{
    m_tabs.reset();
    m_project.reset();
}

QPointer<GraphicalReportDocument> TestClosing::openInTab(const QString& fileName)
{
    const QString path = createNewDocument(m_project->path(), fileName);
    auto* doc = new GraphicalReportDocument(path);
    return m_tabs->open(doc);
}

void TestClosing::fileRemovedWhileADialogIsOpen_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::newRow("export to PDF") << "pdf";
    QTest::newRow("print") << "print";
    QTest::newRow("add image") << "image";
    QTest::newRow("save as favourite") << "favourite";
    QTest::newRow("font settings") << "font";
}

void TestClosing::fileRemovedWhileADialogIsOpen()
{
    QFETCH(QString, dialog);
    QPointer<GraphicalReportDocument> doc = openInTab("Verification Certificate.kstvc");
    QVERIFY(doc && doc->isValid());
    auto& prompts = ScriptedPrompts::get();
    TestSupport::removeFileAndCloseWhileAsked(doc);
    const QString pdf = m_project->filePath("out.pdf");
    const QString picture = m_project->filePath("logo.png");
    if (dialog == "pdf") {
        prompts.paths << pdf;
        doc->findChild<QAction*>("actionExportToPdf")->trigger();
    } else if (dialog == "print") {
        prompts.dialogHandler = [](QDialog*) { return int(QDialog::Rejected); };
        doc->findChild<QAction*>("actionPrint")->trigger();
    } else if (dialog == "image") {
        QImage image(20, 10, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(picture));
        prompts.paths << picture;
        doc->scene()->pages().first()->addImageAt(QPointF(100, 100));
    } else if (dialog == "favourite") {
        prompts.buttons << QMessageBox::No;
        doc->findChild<QAction*>("actionSaveFavourite")->trigger();
    } else {
        prompts.dialogHandler = [](QDialog*) { return int(QDialog::Accepted); };
        static_cast<ReportText*>(doc->scene()->itemById("client"))->chooseFont();
    }
    // The dialog has returned to a report that is still there, and that did what was asked.
    QVERIFY(doc);
    QVERIFY(!QFile::exists(doc->filePath()));
    if (dialog == "pdf")
        QVERIFY(QFile::exists(pdf));
    if (dialog == "image")
        QCOMPARE(doc->undoStack()->count(), 1);
    // Then the close that came meanwhile happens; a report with changes asks first.
    if (doc->isModified())
        prompts.buttons << QMessageBox::No;
    QTRY_VERIFY(!doc);
    QCOMPARE(prompts.unanswered, 0);
}

void TestClosing::modifiedReportAsksOnceItsDialogHasReturned()
{
    QPointer<GraphicalReportDocument> doc = openInTab("Verification Certificate.kstvc");
    activate(doc->scene());
    static_cast<ReportText*>(doc->scene()->itemById("client"))->setFocus();
    typeText(doc->scene(), "Ann");
    QVERIFY(doc->isModified());
    auto& prompts = ScriptedPrompts::get();
    TestSupport::removeFileAndCloseWhileAsked(doc);
    prompts.paths << m_project->filePath("out.pdf");
    doc->findChild<QAction*>("actionExportToPdf")->trigger();
    QVERIFY(doc);
    // Yes to "Save changes?" writes the report back where it was, and the tab closes.
    const QString path = doc->filePath();
    prompts.buttons << QMessageBox::Yes;
    QTRY_VERIFY(!doc);
    QCOMPARE(prompts.messageTexts().last(), QString("Save changes to Verification Certificate.kstvc?"));
    GraphicalReportDocument reopened(path);
    QVERIFY(reopened.isValid());
    QCOMPARE(static_cast<ReportText*>(reopened.scene()->itemById("client"))->plainText(), QString("Ann"));
}

KESTROVAN_TEST_MAIN(TestClosing)
#include "tst_closing.moc"
