#include "AddDeleteCommand.h"
#include "DocumentContainer.h"
#include "GraphicsTextItem.h"
#include "ReportCheckBox.h"
#include "ReportCheckBoxCommand.h"
#include "ReportPage.h"
#include "ReportResizableImage.h"
#include "ReportResizableItemCommand.h"
#include "ReportScene.h"
#include "ReportTestSupport.h"
#include "ReportText.h"
#include "TestSupport.h"

#include <QGraphicsRectItem>
#include <QGraphicsSvgItem>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace ReportTestSupport;

namespace {
// Pages of a PDF as its page tree counts them.
int pdfPageCount(const QString& path)
{
    QProcess info;
    info.start("pdfinfo", { path });
    if (!info.waitForFinished(30000) || info.exitCode() != 0)
        return -1;
    for (const QByteArray& line : info.readAllStandardOutput().split('\n')) {
        if (line.startsWith("Pages:"))
            return line.mid(6).trimmed().toInt();
    }
    return -1;
}

QString pdfPageSize(const QString& path)
{
    QProcess info;
    info.start("pdfinfo", { path });
    info.waitForFinished(30000);
    for (const QByteArray& line : info.readAllStandardOutput().split('\n')) {
        if (line.startsWith("Page size:"))
            return QString::fromUtf8(line.mid(10).trimmed());
    }
    return QString();
}

AbstractReportItem* focusedReportItem(QGraphicsScene* scene)
{
    for (QGraphicsItem* item = scene->focusItem(); item; item = item->parentItem()) {
        if (ReportItemType::isReportItem(item))
            return static_cast<AbstractReportItem*>(static_cast<QGraphicsObject*>(item));
    }
    return nullptr;
}
} // namespace

class TestScene : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { initTestData(); }
    void init() { TestSupport::resetState(); }

    void tabWalksTheChainAndWrapsAround();
    void exportToPdfGivesOnePagePerSheet();
    void cancelledExportWritesNothing();
    void exportToAFolderThatCannotBeWrittenIsReported();
    void printGoesThroughThePrintDialog();
    void addAndDeleteAreUndoableAndSavedAsTheyStand();
    void itemSignalsReachTheScene();
    void addImageOnAPagePlacesItWhereAsked();
    void commandsChangeTheModelAndTellTheView_data();
    void commandsChangeTheModelAndTellTheView();
};

namespace {
enum class Command { CheckOn, CheckOff, Move, Resize, AddToPage, DeleteFromPage, DeleteFromRoot };

// The model as the commands change it: the page's children and the item's state.
QString modelState(const ReportDocument& document)
{
    QStringList state;
    for (const auto& top : document.items) {
        QStringList children;
        for (const auto& child : top->children) {
            children << QString("%1%2@%3,%4/%5x%6")
                            .arg(child->text, child->checked ? "[x]" : "")
                            .arg(child->pos.x())
                            .arg(child->pos.y())
                            .arg(child->size.width())
                            .arg(child->size.height());
            if (child->parent != top.get())
                children.last() += " (orphan)";
        }
        state << top->id + "{" + children.join(' ') + "}";
    }
    return state.join(' ');
}
} // namespace
Q_DECLARE_METATYPE(Command)

void TestScene::addImageOnAPagePlacesItWhereAsked()
{
    QTemporaryDir dir;
    Report report;
    QVERIFY(
        report.load(writeReport(dir.path(), "img.kstir", "<document resPak=\":/testpacks/twopage.pak\"/>")));
    ReportPage* page2 = report.scene->pages().at(1);
    auto pictures = [&report]() {
        QList<ReportResizableImage*> found;
        for (QGraphicsItem* item : report.scene->items()) {
            if (auto* picture = qgraphicsitem_cast<ReportResizableImage*>(item))
                found.append(picture);
        }
        return found;
    };
    auto& prompts = ScriptedPrompts::get();

    // Cancelled: no item, no undo step.
    prompts.paths << QString();
    page2->addImageAt(QPointF(120, 340));
    QCOMPARE(prompts.asked.size(), 1);
    QCOMPARE(prompts.asked.first().kind, QString("open"));
    QVERIFY(pictures().isEmpty());
    QCOMPARE(report.stack.count(), 0);

    // A small picture is placed where the user clicked, as one undo step.
    QImage small(40, 30, QImage::Format_RGB32);
    small.fill(Qt::red);
    const QString path = dir.filePath("small.png");
    QVERIFY(small.save(path));
    prompts.paths << path;
    page2->addImageAt(QPointF(120, 340));
    QCOMPARE(pictures().size(), 1);
    ReportResizableImage* picture = pictures().first();
    QCOMPARE(picture->parentItem(), page2);
    QCOMPARE(picture->scenePos(), QPointF(120, 1173 + 340));
    QCOMPARE(picture->suffix(), QString("png"));
    QCOMPARE(report.stack.count(), 1);
    QVERIFY(picture->isVisible());
    report.stack.undo();
    QVERIFY(!picture->isVisible());
}

void TestScene::tabWalksTheChainAndWrapsAround()
{
    QTemporaryDir dir;
    Report report;
    QVERIFY(
        report.load(writeReport(dir.path(), "t.kstir", "<document resPak=\":/testpacks/twopage.pak\"/>")));
    ReportScene* scene = report.scene.get();
    activate(scene);
    AbstractReportItem* name = scene->itemById("name");
    AbstractReportItem* agree = scene->itemById("agree");
    AbstractReportItem* notes = scene->itemById("notes");
    AbstractReportItem* last = scene->itemById("last");
    QCOMPARE(scene->tabChainHead(), name);
    QCOMPARE(scene->tabChainTail(), last);
    QCOMPARE(name->nextTabStop(), agree);
    QCOMPARE(agree->previousTabStop(), name);

    // Nothing focused: Tab goes to the first field, Backtab to the last.
    scene->setFocusItem(nullptr);
    key(scene, Qt::Key_Tab);
    QCOMPARE(focusedReportItem(scene), name);
    // An editable text gets its editor focused with the text selected.
    QCOMPARE(scene->focusItem(), static_cast<ReportText*>(name)->textItem());
    QList<AbstractReportItem*> visited;
    for (int i = 0; i < 4; ++i) {
        key(scene, Qt::Key_Tab);
        visited << focusedReportItem(scene);
    }
    QCOMPARE(visited, (QList<AbstractReportItem*> { agree, notes, last, name }));
    key(scene, Qt::Key_Backtab, QString(), Qt::ShiftModifier);
    QCOMPARE(focusedReportItem(scene), last);
    key(scene, Qt::Key_Backtab, QString(), Qt::ShiftModifier);
    QCOMPARE(focusedReportItem(scene), notes);
    scene->setFocusItem(nullptr);
    key(scene, Qt::Key_Backtab, QString(), Qt::ShiftModifier);
    QCOMPARE(focusedReportItem(scene), last);
    // A label is not a tab stop.
    for (AbstractReportItem* item = scene->tabChainHead(); item; item = item->nextTabStop())
        QVERIFY(item->isTabStop());
}

void TestScene::exportToPdfGivesOnePagePerSheet()
{
    QTemporaryDir dir;
    Report report;
    QVERIFY(report.load(writeReport(dir.path(), "two.kstir", R"(<document resPak=":/testpacks/twopage.pak">
      <page id="page1"><text id="name">Page one</text></page><page id="page2"><text id="last">Page two</text></page>
      </document>)")));
    QVERIFY(QDir(dir.path()).mkdir("out"));
    // A name without the suffix still gives a PDF.
    const QString pdf = dir.filePath("out/export");
    ScriptedPrompts::get().paths << pdf;
    report.scene->exportToPdf();
    const ScriptedPrompts::Asked asked = ScriptedPrompts::get().asked.first();
    QCOMPARE(asked.kind, QString("save"));
    QCOMPARE(asked.caption, QString("Export PDF"));
    QCOMPARE(asked.filter, QString("PDF Files (*.pdf)"));
    QCOMPARE(asked.dir, QString());
    QVERIFY(readFile(pdf).startsWith("%PDF"));
    QCOMPARE(pdfPageCount(pdf), 2);
    QVERIFY2(pdfPageSize(pdf).contains("(A4)"), qPrintable(pdfPageSize(pdf)));
    QCOMPARE(QSettings().value("Directories/LastPdfExportDir").toString(), dir.filePath("out"));
    // The sheet's outline is left off the paper only while printing.
    QCOMPARE(report.scene->pages().at(0)->paper()->pen().style(), Qt::SolidLine);

    // The next export starts in the folder remembered.
    ScriptedPrompts::get().reset();
    ScriptedPrompts::get().paths << dir.filePath("second.pdf");
    report.scene->exportToPdf();
    QCOMPARE(ScriptedPrompts::get().asked.first().dir, dir.filePath("out"));
    QCOMPARE(QSettings().value("Directories/LastPdfExportDir").toString(), dir.path());
    QCOMPARE(pdfPageCount(dir.filePath("second.pdf")), 2);
}

void TestScene::cancelledExportWritesNothing()
{
    QTemporaryDir dir;
    Report report;
    QVERIFY(
        report.load(writeReport(dir.path(), "c.kstir", "<document resPak=\":/testpacks/twopage.pak\"/>")));
    QSettings().setValue("Directories/LastPdfExportDir", "/kept");
    ScriptedPrompts::get().paths << QString(); // cancelled
    report.scene->exportToPdf();
    QCOMPARE(ScriptedPrompts::get().asked.size(), 1);
    QCOMPARE(QSettings().value("Directories/LastPdfExportDir").toString(), QString("/kept"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList { "c.kstir" });
}

void TestScene::exportToAFolderThatCannotBeWrittenIsReported()
{
    QTemporaryDir dir;
    Report report;
    QVERIFY(
        report.load(writeReport(dir.path(), "c.kstir", "<document resPak=\":/testpacks/twopage.pak\"/>")));
    const QString pdf = dir.filePath("missing/folder/out.pdf");
    ScriptedPrompts::get().paths << pdf;
    report.scene->exportToPdf();
    QCOMPARE(ScriptedPrompts::get().messageTexts(),
        QStringList { QString("Error opening %1 for writing").arg(pdf) });
}

void TestScene::printGoesThroughThePrintDialog()
{
    QTemporaryDir dir;
    Report report;
    QVERIFY(
        report.load(writeReport(dir.path(), "p.kstir", "<document resPak=\":/testpacks/twopage.pak\"/>")));
    activate(report.scene.get());
    report.scene->itemById("name")->setFocus();
    QVERIFY(report.scene->focusItem());

    // Rejected: nothing is printed. The focus item is cleared first, so no cursor is printed.
    ScriptedPrompts::get().dialogHandler = [](QDialog*) { return int(QDialog::Rejected); };
    report.scene->print();
    QCOMPARE(ScriptedPrompts::get().asked.first().dialogClass, QString("QPrintDialog"));
    QCOMPARE(report.scene->focusItem(), nullptr);

    const QString pdf = dir.filePath("printed.pdf");
    QPrinter::PrinterMode mode = QPrinter::ScreenResolution;
    bool fullPage = false;
    ScriptedPrompts::get().dialogHandler = [&](QDialog* dialog) {
        QPrinter* printer = static_cast<QPrintDialog*>(dialog)->printer();
        fullPage = printer->fullPage();
        mode = printer->resolution() >= 1200 ? QPrinter::HighResolution : QPrinter::ScreenResolution;
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        return int(QDialog::Accepted);
    };
    report.scene->print();
    QVERIFY(fullPage);
    QCOMPARE(mode, QPrinter::HighResolution);
    QCOMPARE(pdfPageCount(pdf), 2);
}

void TestScene::addAndDeleteAreUndoableAndSavedAsTheyStand()
{
    QTemporaryDir dir;
    Report report;
    QVERIFY(
        report.load(writeReport(dir.path(), "u.kstir", "<document resPak=\":/testpacks/twopage.pak\"/>")));
    ReportScene* scene = report.scene.get();
    auto* page2 = scene->pages().at(1);

    auto* added = new ReportText(page2);
    ReportItem model(ReportItem::Kind::Text);
    model.text = "added by the user";
    added->fromModel(model);
    added->setVisible(false);
    scene->addWithUndo(added);
    QVERIFY(added->isVisible());
    QCOMPARE(report.stack.count(), 1);
    const QString path = dir.filePath("u.kstir");
    QVERIFY(scene->save(path));
    QVERIFY(readFile(path).size() > 0);
    DocumentContainer container;
    QVERIFY(container.load(path));
    QVERIFY(container.at(0).data.contains("added by the user"));

    // Undone and saved: not written, and still there to be redone.
    report.stack.undo();
    QVERIFY(!added->isVisible());
    QVERIFY(scene->save(path));
    QVERIFY(container.load(path));
    QVERIFY(!container.at(0).data.contains("added by the user"));
    report.stack.redo();
    QVERIFY(added->isVisible());
    QCOMPARE(added->parentItem(), page2);

    // Deleting a pack item: hidden, then back on undo; the next edit keeps it alive.
    QPointer<AbstractReportItem> label = scene->itemById("page2label");
    scene->deleteWithUndo(label);
    QVERIFY(!label->isVisible());
    report.stack.undo();
    QVERIFY(label->isVisible());
    QVERIFY(scene->save(path));
    QVERIFY(container.load(path));
    QVERIFY(container.at(0).data.contains("Second page"));

    // An addition undone and then dropped by a new edit destroys its item.
    QPointer<ReportText> dropped = new ReportText(page2);
    scene->addWithUndo(dropped);
    report.stack.undo();
    static_cast<ReportCheckBox*>(scene->itemById("agree"))->setChecked(true);
    scene->deleteWithUndo(label);
    QVERIFY(dropped.isNull());
    QVERIFY(!label.isNull());
}

void TestScene::itemSignalsReachTheScene()
{
    QTemporaryDir dir;
    Report report;
    QVERIFY(
        report.load(writeReport(dir.path(), "s.kstir", "<document resPak=\":/testpacks/twopage.pak\"/>")));
    QSignalSpy modified(report.scene.get(), &ReportScene::modified);
    auto* agree = static_cast<ReportCheckBox*>(report.scene->itemById("agree"));
    mouse(report.scene.get(), QEvent::GraphicsSceneMousePress, agree->box()->sceneBoundingRect().center(),
        Qt::LeftButton, Qt::LeftButton);
    QVERIFY(agree->isChecked());
    QVERIFY(modified.count() >= 1);
    QCOMPARE(report.stack.count(), 1);
    // Cells of a table push their commands too.
    auto* cellText = report.scene->itemById("span");
    QVERIFY(cellText);
    QSignalSpy pushed(&report.stack, &QUndoStack::indexChanged);
    emit cellText->newCommand(new QUndoCommand("cell edit"));
    QCOMPARE(report.stack.count(), 2);
    QCOMPARE(pushed.count(), 1);
}

void TestScene::commandsChangeTheModelAndTellTheView_data()
{
    // The model of a page "p" holding "a" (checked) and "b", and a second page "q", after the
    // command; its undo gives the state before again. shown: how often the view is told.
    QTest::addColumn<Command>("command");
    QTest::addColumn<QString>("done");
    QTest::addColumn<int>("shown");
    QTest::newRow("check box on") << Command::CheckOn << "p{a[x]@1,2/30x40 b[x]@5,6/70x80} q{}" << 1;
    QTest::newRow("check box off") << Command::CheckOff << "p{a@1,2/30x40 b@5,6/70x80} q{}" << 1;
    QTest::newRow("move") << Command::Move << "p{a[x]@-3,2.5/30x40 b@5,6/70x80} q{}" << 1;
    QTest::newRow("resize") << Command::Resize << "p{a[x]@1,2/31.5x0.5 b@5,6/70x80} q{}" << 1;
    QTest::newRow("add to a page") << Command::AddToPage << "p{a[x]@1,2/30x40 b@5,6/70x80 new@9,9/0x0} q{}"
                                   << 0;
    QTest::newRow("delete from a page") << Command::DeleteFromPage << "p{b@5,6/70x80} q{}" << 0;
    QTest::newRow("delete from the root") << Command::DeleteFromRoot << "q{}" << 0;
}

void TestScene::commandsChangeTheModelAndTellTheView()
{
    QFETCH(Command, command);
    QFETCH(QString, done);
    QFETCH(int, shown);
    ReportDocument document;
    for (const char* id : { "p", "q" }) {
        document.items.push_back(std::make_unique<ReportItem>(ReportItem::Kind::Page));
        document.items.back()->id = id;
    }
    ReportItem* page = document.items.front().get();
    ReportItem* a = page->addChild(std::make_unique<ReportItem>(ReportItem::Kind::CheckBox));
    a->text = "a";
    a->checked = true;
    a->pos = QPointF(1, 2);
    a->size = QSizeF(30, 40);
    ReportItem* b = page->addChild(std::make_unique<ReportItem>(ReportItem::Kind::Text));
    b->text = "b";
    b->pos = QPointF(5, 6);
    b->size = QSizeF(70, 80);
    const QString before = modelState(document);
    QCOMPARE(before, QString("p{a[x]@1,2/30x40 b@5,6/70x80} q{}"));

    int told = 0;
    const auto tell = [&told] { ++told; };
    // The command owns an added view that it takes out again; the test owns it otherwise.
    QPointer<ReportText> view = new ReportText;
    QUndoStack stack;
    switch (command) {
    case Command::CheckOn:
        stack.push(new ReportCheckBoxCommand(b, true, tell));
        break;
    case Command::CheckOff:
        stack.push(new ReportCheckBoxCommand(a, false, tell));
        break;
    case Command::Move:
        stack.push(new ReportResizableItemCommand(a, a->pos, a->size, QPointF(-3, 2.5), a->size, tell));
        break;
    case Command::Resize:
        stack.push(new ReportResizableItemCommand(a, a->pos, a->size, a->pos, QSizeF(31.5, 0.5), tell));
        break;
    case Command::AddToPage: {
        ReportItem model(ReportItem::Kind::Text);
        model.text = "new";
        model.pos = QPointF(9, 9);
        view->fromModel(model);
        stack.push(new AddDeleteCommand(view, true, &document, page));
        break;
    }
    case Command::DeleteFromPage:
        view->fromModel(*a);
        view->bindModel(a);
        stack.push(new AddDeleteCommand(view, false, &document, page));
        break;
    case Command::DeleteFromRoot:
        view->fromModel(*page);
        view->bindModel(page);
        stack.push(new AddDeleteCommand(view, false, &document, nullptr));
        break;
    }
    QCOMPARE(modelState(document), done);
    QCOMPARE(told, shown);
    stack.undo();
    QCOMPARE(modelState(document), before);
    QCOMPARE(told, 2 * shown);
    stack.redo();
    QCOMPARE(modelState(document), done);
    // An addition or deletion shows or hides its view.
    QCOMPARE(view->isVisible(), command != Command::DeleteFromPage && command != Command::DeleteFromRoot);
    // Undone and dropped by the next command, the model is as before; an addition takes its view
    // with it.
    stack.undo();
    stack.push(new QUndoCommand("next"));
    QCOMPARE(modelState(document), before);
    QCOMPARE(view.isNull(), command == Command::AddToPage);
    delete view.data();
}

KESTROVAN_TEST_MAIN(TestScene)
#include "tst_scene.moc"
