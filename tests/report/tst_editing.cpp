#include "DocumentContainer.h"
#include "DocumentFactory.h"
#include "Folders.h"
#include "GraphicalReportDocument.h"
#include "GraphicsTextItem.h"
#include "ReportCheckBox.h"
#include "ReportPage.h"
#include "ReportResizableImage.h"
#include "ReportScene.h"
#include "ReportTable.h"
#include "ReportTableCell.h"
#include "ReportTestSupport.h"
#include "ReportText.h"
#include "Startup.h"
#include "TestSupport.h"

#include <QAction>
#include <QClipboard>
#include <QGraphicsSceneContextMenuEvent>
#include <QGraphicsView>
#include <QMenu>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QUndoStack>

using namespace ReportTestSupport;

namespace {
// Triggers the entry of a field's text menu, as a right-click and a choice would.
bool chooseFromTextMenu(GraphicsTextItem* item, const QString& entry)
{
    QMenu menu;
    item->fillContextMenu(&menu);
    for (QAction* action : menu.actions()) {
        if (action->text() == entry && action->isEnabled()) {
            action->trigger();
            return true;
        }
    }
    return false;
}

void moveCursorToEnd(GraphicsTextItem* item)
{
    QTextCursor cursor = item->textCursor();
    cursor.movePosition(QTextCursor::End);
    item->setTextCursor(cursor);
}
} // namespace

// Editing a report as a user does, and what of it reaches the file: the modified mark, what
// may be typed or pasted, keys on check boxes and in the test table, and the text menu.
class TestEditing : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { registerDocumentKinds(); }
    void init();

    void typingAfterASaveIsAChangeToSave();
    void typingAfterAnUndoIsAChangeToSave();
    void eachReturnToAFieldIsAnUndoStepOfItsOwn();
    void typingRightAfterASaveLandsInTheField_data();
    void typingRightAfterASaveLandsInTheField();
    void controlCharactersNeverReachTheFile();
    void reportWithControlCharactersFromBeforeOpens();
    void shortcutsDoNotToggleACheckBox();
    void fixedLabelsOfferNoTextMenu();
    void tabMovesThroughTheTestTable();
    void tabThatWrapsScrollsTheFieldIntoView();
    void pictureDraggedBackIsNoChange();

private:
    std::unique_ptr<GraphicalReportDocument> newReport(const QString& fileName);
    ReportText* field(GraphicalReportDocument* doc, const QString& id) const
    {
        return static_cast<ReportText*>(doc->scene()->itemById(id));
    }
    QString reopenedText(const QString& path, const QString& id);

    std::unique_ptr<QTemporaryDir> m_project;
};

void TestEditing::init()
{
    TestSupport::resetState();
    m_project = std::make_unique<QTemporaryDir>();
}

std::unique_ptr<GraphicalReportDocument> TestEditing::newReport(const QString& fileName)
{
    const QString path = createNewDocument(m_project->path(), fileName);
    if (path.isEmpty())
        return nullptr;
    auto doc = std::make_unique<GraphicalReportDocument>(path);
    activate(doc->scene());
    return doc;
}

QString TestEditing::reopenedText(const QString& path, const QString& id)
{
    GraphicalReportDocument reopened(path);
    if (!reopened.isValid())
        return QStringLiteral("<not valid>");
    return field(&reopened, id)->plainText();
}

void TestEditing::typingAfterASaveIsAChangeToSave()
{
    auto doc = newReport("Array Test Report.kstatr");
    QAction* save = doc->findChild<QAction*>("actionSave");
    ReportText* inspector = field(doc.get(), "inspector");
    inspector->setFocus();
    typeText(doc->scene(), "ab");
    doc->save();
    QVERIFY(!doc->isModified());

    // Back at the end of the same field: the text document would merge this into its last step.
    inspector->setFocus();
    moveCursorToEnd(inspector->textItem());
    typeText(doc->scene(), "cd");
    QCOMPARE(inspector->plainText(), QString("abcd"));
    QVERIFY(doc->isModified());
    QVERIFY(save->isEnabled());

    // Undo takes back what came after the save only, and so is the saved state again.
    doc->undo();
    QCOMPARE(inspector->plainText(), QString("ab"));
    QVERIFY(!doc->isModified());
    doc->redo();
    QCOMPARE(inspector->plainText(), QString("abcd"));
    QVERIFY(doc->isModified());

    // Closing asks, and Yes writes it.
    ScriptedPrompts::get().buttons << QMessageBox::Yes;
    QVERIFY(doc->maybeSave());
    QCOMPARE(
        ScriptedPrompts::get().messageTexts(), QStringList { "Save changes to Array Test Report.kstatr?" });
    QCOMPARE(reopenedText(doc->filePath(), "inspector"), QString("abcd"));

    // Pasting after a save is a change as well.
    QApplication::clipboard()->setText("ef");
    moveCursorToEnd(inspector->textItem());
    QVERIFY(chooseFromTextMenu(inspector->textItem(), "Paste"));
    QVERIFY(doc->isModified());
    doc->save();
    QCOMPARE(reopenedText(doc->filePath(), "inspector"), QString("abcdef"));
}

void TestEditing::typingAfterAnUndoIsAChangeToSave()
{
    auto doc = newReport("Array Test Report.kstatr");
    ReportText* address = field(doc.get(), "installation_address");
    address->setFocus();
    typeText(doc->scene(), "abc");
    key(doc->scene(), Qt::Key_Z, QString(), Qt::ControlModifier);
    QCOMPARE(address->plainText(), QString());
    QVERIFY(!doc->isModified());

    typeText(doc->scene(), "alpha Street 9");
    QCOMPARE(address->plainText(), QString("alpha Street 9"));
    QVERIFY(doc->isModified());
    QVERIFY(doc->findChild<QAction*>("actionSave")->isEnabled());
    // One step: undo empties the field and is the saved state.
    doc->undo();
    QCOMPARE(address->plainText(), QString());
    QVERIFY(!doc->isModified());
    doc->redo();
    ScriptedPrompts::get().buttons << QMessageBox::Yes;
    QVERIFY(doc->maybeSave());
    QCOMPARE(reopenedText(doc->filePath(), "installation_address"), QString("alpha Street 9"));
}

void TestEditing::eachReturnToAFieldIsAnUndoStepOfItsOwn()
{
    auto doc = newReport("Array Test Report.kstatr");
    ReportText* address = field(doc.get(), "installation_address");
    ReportText* description = field(doc.get(), "description_of_work");
    QUndoStack* stack = doc->undoStack();
    auto undoKey = [&] { key(doc->scene(), Qt::Key_Z, QString(), Qt::ControlModifier); };
    auto returnToEnd = [&](ReportText* text) {
        // As a click at the end of the text does: the caret goes there, nothing is selected.
        text->textItem()->setFocus(Qt::MouseFocusReason);
        moveCursorToEnd(text->textItem());
    };
    address->setFocus();
    typeText(doc->scene(), "abc");
    description->setFocus();
    typeText(doc->scene(), "def");
    returnToEnd(address);
    typeText(doc->scene(), "ghi");
    QCOMPARE(stack->count(), 3);

    // Each Ctrl+Z takes back the last edit, in the field where it was made.
    const QList<QPair<QString, QString>> afterEachUndo = { { "abc", "def" }, { "abc", "" }, { "", "" } };
    for (const auto& expected : afterEachUndo) {
        undoKey();
        QCOMPARE(address->plainText(), expected.first);
        QCOMPARE(description->plainText(), expected.second);
    }
    for (int i = 0; i < 3; ++i)
        doc->redo();
    QCOMPARE(address->plainText(), QString("abcghi"));
    QCOMPARE(description->plainText(), QString("def"));

    // Typing on after an undo is a new step too: the next undo takes back that typing only.
    undoKey();
    QCOMPARE(address->plainText(), QString("abc"));
    returnToEnd(address);
    typeText(doc->scene(), "xy");
    QCOMPARE(address->plainText(), QString("abcxy"));
    QVERIFY(!stack->canRedo());
    undoKey();
    QCOMPARE(address->plainText(), QString("abc"));
    QCOMPARE(description->plainText(), QString("def"));
    undoKey();
    QCOMPARE(description->plainText(), QString());
}

void TestEditing::typingRightAfterASaveLandsInTheField_data()
{
    QTest::addColumn<bool>("inTable");
    QTest::newRow("text field") << false;
    QTest::newRow("table cell") << true;
}

void TestEditing::typingRightAfterASaveLandsInTheField()
{
    QFETCH(bool, inTable);
    auto doc = newReport("Array Test Report.kstatr");
    GraphicsTextItem* editor = nullptr;
    if (inTable) {
        auto* table = static_cast<ReportTable*>(doc->scene()->itemById("test_table"));
        ReportTableCell* cell = table->cellAt(2, 12);
        QVERIFY(cell && cell->isEditable());
        table->editCell(cell);
        editor = cell->textItem();
    } else {
        field(doc.get(), "inspector")->setFocus();
        editor = field(doc.get(), "inspector")->textItem();
    }
    typeText(doc->scene(), "ab");
    QTextCursor caret = editor->textCursor();
    caret.setPosition(1);
    editor->setTextCursor(caret);

    doc->findChild<QAction*>("actionSave")->trigger();
    QVERIFY(!doc->isModified());
    // The keys that follow go where the caret was.
    typeText(doc->scene(), "X");
    QCOMPARE(editor->toPlainText(), QString("aXb"));
    QVERIFY(doc->isModified());
    // And they are a step of their own after the saved state.
    doc->undo();
    QCOMPARE(editor->toPlainText(), QString("ab"));
    QVERIFY(!doc->isModified());
}

void TestEditing::controlCharactersNeverReachTheFile()
{
    auto doc = newReport("Array Test Report.kstatr");
    const QString pasted = QString::fromUtf8("Serial\x0bNo\x0c"
                                             "12\x01"
                                             "end");
    QApplication::clipboard()->setText(pasted);

    // Through the text menu and through Ctrl+V the characters XML cannot hold stay out.
    ReportText* ref = field(doc.get(), "report_ref_id");
    ref->setFocus();
    QVERIFY(chooseFromTextMenu(ref->textItem(), "Paste"));
    QCOMPARE(ref->plainText(), QString("SerialNo12end"));
    ReportText* inspector = field(doc.get(), "inspector");
    inspector->setFocus();
    key(doc->scene(), Qt::Key_V, QString(), Qt::ControlModifier);
    QCOMPARE(inspector->plainText(), QString("SerialNo12end"));
    QVERIFY(doc->isModified());

    // A value that got in some other way (an import, a program) is still written so that the
    // file reads back.
    ReportText* comments = field(doc.get(), "comments");
    comments->textItem()->setPlainText(pasted + QChar(0xFFFF) + QChar(0xD800) + "\ttab");
    doc->save();
    QVERIFY(!doc->isModified());
    GraphicalReportDocument reopened(doc->filePath());
    QVERIFY(reopened.isValid());
    QCOMPARE(field(&reopened, "report_ref_id")->plainText(), QString("SerialNo12end"));
    QCOMPARE(field(&reopened, "inspector")->plainText(), QString("SerialNo12end"));
    QCOMPARE(field(&reopened, "comments")->plainText(), QString("SerialNo12end\ttab"));

    // A favourite saved from it gives new reports that open.
    ScriptedPrompts::get().buttons << QMessageBox::Yes;
    doc->saveAsFavourite();
    GraphicalReportDocument next(createNewDocument(m_project->path(), "Array Test Report.kstatr"));
    QVERIFY(next.isValid());
    QCOMPARE(field(&next, "inspector")->plainText(), QString("SerialNo12end"));
    QVERIFY(ScriptedPrompts::get().messageTexts().size() == 1); // the favourite question only
}

void TestEditing::reportWithControlCharactersFromBeforeOpens()
{
    // Earlier versions wrote pasted control characters into the file as they were: such a
    // report (or a favourite) opens without them instead of being lost.
    const QString path = writeReport(m_project->path(), "old.kstatr",
        "<document resPak=\":res/reports/kstatr_rev3.pak\"><page id=\"page1\">"
        "<text id=\"inspector\">Serial\x0bNo\x0c"
        "12\x01"
        "end</text></page></document>");
    GraphicalReportDocument doc(path);
    QVERIFY(doc.isValid());
    QCOMPARE(field(&doc, "inspector")->plainText(), QString("SerialNo12end"));
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());
    // Damage of another kind is still refused with the parser's message.
    const QString broken = writeReport(m_project->path(), "broken.kstatr", "<document><page>\x01");
    GraphicalReportDocument refused(broken);
    QVERIFY(!refused.isValid());
    QCOMPARE(ScriptedPrompts::get().messageTexts().size(), 1);
    QVERIFY(ScriptedPrompts::get().messageTexts().first().startsWith("XML validation error in"));
}

void TestEditing::shortcutsDoNotToggleACheckBox()
{
    auto doc = newReport("Array Test Report.kstatr");
    auto* initial = static_cast<ReportCheckBox*>(doc->scene()->itemById("initial"));
    initial->setFocus();
    const QList<QPair<int, Qt::KeyboardModifiers>> shortcuts = {
        { Qt::Key_S, Qt::ControlModifier },
        { Qt::Key_Z, Qt::ControlModifier },
        { Qt::Key_Y, Qt::ControlModifier },
        { Qt::Key_A, Qt::ControlModifier },
        { Qt::Key_X, Qt::AltModifier },
        { Qt::Key_S, Qt::ControlModifier | Qt::AltModifier },
        { Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier },
    };
    for (const auto& shortcut : shortcuts) {
        key(doc->scene(), shortcut.first, QString(), shortcut.second);
        QVERIFY2(
            !initial->isChecked(), qPrintable(QKeySequence(shortcut.first | shortcut.second).toString()));
    }
    QVERIFY(!doc->isModified());
    QCOMPARE(doc->undoStack()->count(), 0);

    // Space and letters, with or without Shift, still toggle.
    key(doc->scene(), Qt::Key_Space, " ");
    QVERIFY(initial->isChecked());
    key(doc->scene(), Qt::Key_X, "X", Qt::ShiftModifier);
    QVERIFY(!initial->isChecked());
    QCOMPARE(doc->undoStack()->count(), 2);
}

void TestEditing::fixedLabelsOfferNoTextMenu()
{
    auto doc = newReport("Array Test Report.kstatr");
    ReportText* title = nullptr;
    for (QGraphicsItem* item : doc->scene()->items()) {
        auto* text = qgraphicsitem_cast<ReportText*>(item);
        if (text && text->plainText() == "PV Array Test Report")
            title = text;
    }
    QVERIFY(title);
    QVERIFY(!title->isEditable());
    QApplication::clipboard()->setText("Hacked");
    QVERIFY(!chooseFromTextMenu(title->textItem(), "Paste"));
    QMenu menu;
    title->textItem()->fillContextMenu(&menu);
    QVERIFY(menu.actions().isEmpty());
    QCOMPARE(title->plainText(), QString("PV Array Test Report"));
    QCOMPARE(doc->undoStack()->count(), 0);

    // The same for a check box's label.
    auto* initial = static_cast<ReportCheckBox*>(doc->scene()->itemById("initial"));
    QVERIFY(!chooseFromTextMenu(initial->textItem(), "Paste"));
    QCOMPARE(initial->plainText(), QString("Initial verification"));

    // A right-click on a label passes through everything above the page, so that the page's
    // own menu (Add Image) shows.
    const QPointF at = title->textItem()->sceneBoundingRect().center();
    ReportPage* page = doc->scene()->pages().first();
    for (QGraphicsItem* item : doc->scene()->items(at)) {
        if (item == page)
            break;
        QGraphicsSceneContextMenuEvent event(QEvent::GraphicsSceneContextMenu);
        event.setScenePos(at);
        event.setPos(item->mapFromScene(at));
        event.setReason(QGraphicsSceneContextMenuEvent::Mouse);
        event.accept();
        doc->scene()->sendEvent(item, &event);
        QVERIFY(!event.isAccepted());
    }

    // Editable fields keep their menu.
    ReportText* inspector = field(doc.get(), "inspector");
    inspector->setFocus();
    QVERIFY(chooseFromTextMenu(inspector->textItem(), "Paste"));
    QCOMPARE(inspector->plainText(), QString("Hacked"));
}

void TestEditing::tabMovesThroughTheTestTable()
{
    auto doc = newReport("Array Test Report.kstatr");
    ReportScene* scene = doc->scene();
    auto* table = qgraphicsitem_cast<ReportTable*>(scene->itemById("test_table"));
    auto* initial = static_cast<ReportCheckBox*>(scene->itemById("initial"));
    QVERIFY(table);
    const QPointF voc1 = table->cellAt(2, 12)->sceneBoundingRect().center();
    mouse(scene, QEvent::GraphicsSceneMousePress, voc1, Qt::LeftButton, Qt::LeftButton);
    mouse(scene, QEvent::GraphicsSceneMouseRelease, voc1, Qt::LeftButton, Qt::NoButton);
    typeText(scene, "512");
    key(scene, Qt::Key_Tab, "\t");
    typeText(scene, "498");
    QCOMPARE(table->cellAt(2, 12)->plainText(), QString("512"));
    QCOMPARE(table->cellAt(3, 12)->plainText(), QString("498"));
    QVERIFY(!initial->isChecked());

    // Shift+Tab goes back, and at the end of a row Tab goes on to the next row's first value,
    // past the labels.
    key(scene, Qt::Key_Backtab, QString(), Qt::ShiftModifier);
    QCOMPARE(table->currentCell(), table->cellAt(2, 12));
    key(scene, Qt::Key_Backtab, QString(), Qt::ShiftModifier);
    QCOMPARE(table->currentCell(), table->cellAt(7, 11));
    key(scene, Qt::Key_Tab, "\t");
    QCOMPARE(table->currentCell(), table->cellAt(2, 12));
    QCOMPARE(scene->focusItem(), table->cellAt(2, 12)->textItem());

    // After the last value the table is left for the next field of the report.
    ReportTableCell* last = table->cellAt(7, 24);
    const QPointF end = last->sceneBoundingRect().center();
    mouse(scene, QEvent::GraphicsSceneMousePress, end, Qt::LeftButton, Qt::LeftButton);
    mouse(scene, QEvent::GraphicsSceneMouseRelease, end, Qt::LeftButton, Qt::NoButton);
    key(scene, Qt::Key_Tab, "\t");
    QVERIFY(scene->focusItem() != last && scene->focusItem() != last->textItem());
    QVERIFY(!table->isAncestorOf(scene->focusItem()));
    // And Shift+Tab from the first value leaves it backwards.
    const QPointF first = table->cellAt(2, 1)->sceneBoundingRect().center();
    mouse(scene, QEvent::GraphicsSceneMousePress, first, Qt::LeftButton, Qt::LeftButton);
    mouse(scene, QEvent::GraphicsSceneMouseRelease, first, Qt::LeftButton, Qt::NoButton);
    key(scene, Qt::Key_Backtab, QString(), Qt::ShiftModifier);
    QVERIFY(!table->isAncestorOf(scene->focusItem()));
    QVERIFY(scene->focusItem());
    QCOMPARE(doc->undoStack()->count(), 2);
}

void TestEditing::tabThatWrapsScrollsTheFieldIntoView()
{
    auto doc = newReport("Inspection Report.kstir");
    ReportScene* scene = doc->scene();
    QGraphicsView* view = doc->findChild<QGraphicsView*>();
    QVERIFY(view);
    doc->resize(600, 400);
    doc->show();
    QVERIFY(QTest::qWaitForWindowExposed(doc.get()));
    auto visible = [view] { return view->mapToScene(view->viewport()->rect()).boundingRect(); };

    AbstractReportItem* head = scene->tabChainHead();
    AbstractReportItem* tail = scene->tabChainTail();
    QVERIFY(head && tail && head != tail);
    tail->setFocus();
    view->ensureVisible(tail, 50, 50);
    QVERIFY(!visible().intersects(head->sceneBoundingRect()));
    key(scene, Qt::Key_Tab, "\t");
    QVERIFY(head->hasFocus() || head->isAncestorOf(scene->focusItem()));
    QVERIFY(visible().intersects(head->sceneBoundingRect()));
    // And back the other way.
    key(scene, Qt::Key_Backtab, QString(), Qt::ShiftModifier);
    QVERIFY(visible().intersects(tail->sceneBoundingRect()));
}

void TestEditing::pictureDraggedBackIsNoChange()
{
    auto doc = newReport("Checklist.kstchk");
    ReportScene* scene = doc->scene();
    ReportResizableImage* logo = nullptr;
    for (QGraphicsItem* item : scene->items())
        logo = logo ? logo : qgraphicsitem_cast<ReportResizableImage*>(item);
    QVERIFY(logo);
    const QPointF start = logo->sceneBoundingRect().center();
    const QPointF home = logo->pos();
    mouse(scene, QEvent::GraphicsSceneMousePress, start, Qt::LeftButton, Qt::LeftButton);
    mouse(scene, QEvent::GraphicsSceneMouseMove, start + QPointF(40, 30), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(logo->pos(), home + QPointF(40, 30));
    mouse(scene, QEvent::GraphicsSceneMouseMove, start, Qt::NoButton, Qt::LeftButton);
    mouse(scene, QEvent::GraphicsSceneMouseRelease, start, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(logo->pos(), home);
    QVERIFY(!doc->isModified());
    QCOMPARE(doc->undoStack()->count(), 0);
    QVERIFY(doc->maybeSave());
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());

    // A drag that ends elsewhere is a change, and its undo is the saved state again.
    mouse(scene, QEvent::GraphicsSceneMousePress, start, Qt::LeftButton, Qt::LeftButton);
    mouse(scene, QEvent::GraphicsSceneMouseMove, start + QPointF(40, 30), Qt::NoButton, Qt::LeftButton);
    mouse(scene, QEvent::GraphicsSceneMouseRelease, start + QPointF(40, 30), Qt::LeftButton, Qt::NoButton);
    QVERIFY(doc->isModified());
    doc->undo();
    QCOMPARE(logo->pos(), home);
    QVERIFY(!doc->isModified());
}

KESTROVAN_TEST_MAIN(TestEditing)
#include "tst_editing.moc"
