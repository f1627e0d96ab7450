#include "DocumentContainer.h"
#include "GraphicsTextItem.h"
#include "ReportCheckBox.h"
#include "ReportFile.h"
#include "ReportScene.h"
#include "ReportTestSupport.h"
#include "ReportText.h"
#include "ReportXml.h"
#include "TestSupport.h"

#include <QAction>
#include <QClipboard>
#include <QDomDocument>
#include <QFontDialog>
#include <QGraphicsSceneHoverEvent>
#include <QGraphicsSvgItem>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

using namespace ReportTestSupport;

namespace {
QString longText(int words)
{
    QStringList list;
    for (int i = 0; i < words; ++i)
        list << QStringLiteral("word%1").arg(i);
    return list.join(' ');
}

QDomElement savedElement(ReportScene* scene, const QString& id)
{
    DocumentContainer container;
    QDomDocument document;
    ReportXml::parse(ReportFile::toXml(scene, container), &document);
    return findById(document.documentElement(), id);
}

void drag(QGraphicsScene* scene, const QPointF& from, const QPointF& to)
{
    mouse(scene, QEvent::GraphicsSceneMousePress, from, Qt::LeftButton, Qt::LeftButton);
    mouse(scene, QEvent::GraphicsSceneMouseMove, to, Qt::NoButton, Qt::LeftButton);
    mouse(scene, QEvent::GraphicsSceneMouseRelease, to, Qt::LeftButton, Qt::NoButton);
}
} // namespace

class TestItems : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { initTestData(); }
    void init()
    {
        TestSupport::resetState();
        m_dir = std::make_unique<QTemporaryDir>();
        m_report = std::make_unique<Report>();
        QVERIFY(m_report->load(
            writeReport(m_dir->path(), "i.kstir", "<document resPak=\":/testpacks/twopage.pak\"/>")));
        activate(m_report->scene.get());
    }
    void cleanup()
    {
        m_report.reset();
        m_dir.reset();
    }

    void shrinkToFitScalesTheTextIntoItsField();
    void typingIsOneUndoStepPerTextDocumentStep();
    void contextMenuEntriesFollowTheState();
    void fontSettingsChangeTheFieldOnly();
    void checkBoxTogglesByMouseAndKeys();
    void checkBoxIsWrittenWithItsBox();
    void hoverPicksTheHandleAndCursor();
    void resizeHandlesKeepTheOppositeSide_data();
    void resizeHandlesKeepTheOppositeSide();
    void everyEditReachesTheKeptModel_data();
    void everyEditReachesTheKeptModel();

private:
    ReportScene* scene() const { return m_report->scene.get(); }
    ReportText* text(const QString& id) const { return static_cast<ReportText*>(scene()->itemById(id)); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Report> m_report;
};

void TestItems::shrinkToFitScalesTheTextIntoItsField()
{
    ReportText* notes = text("notes");
    GraphicsTextItem* item = notes->textItem();
    QCOMPARE(item->fieldWidth(), 200.0);
    QCOMPARE(item->fieldHeight(), 40.0);

    // Lines that do not wrap need the same height at any width: a field of half that height
    // ends at half the scale.
    const QFontMetricsF metrics(item->font());
    const QString lines = QStringLiteral("one\ntwo\nthree\nfour\nfive\nsix");
    const qreal needed
        = metrics
              .boundingRect(QRectF(0, 0, 190, 1000), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, lines)
              .height();
    notes->setSize(QSizeF(200, needed / 2 + 4), ResizeHandle::BottomRight);
    item->setPlainText(lines);
    item->shrinkToFit();
    qreal s = item->scale();
    QVERIFY2(s > 0.45 && s <= 0.5, qPrintable(QString::number(s)));
    // The lines fill the field between margins that keep their width on the page.
    QVERIFY(qFuzzyCompare(item->textWidth(), (200 - 8) / s + 8));
    QCOMPARE(item->pos(), QPointF(4 * (1 - s), 4 * (1 - s)));

    // Wrapping text gets wider room as it shrinks; loaded as a document value it ends fitted.
    Report report;
    QVERIFY(report.load(writeReport(m_dir->path(), "long.kstir",
        QString("<document resPak=\":/testpacks/twopage.pak\"><page id=\"page1\">"
                "<text id=\"notes\">%1</text></page></document>")
            .arg(longText(60))
            .toUtf8())));
    GraphicsTextItem* shrunk = static_cast<ReportText*>(report.scene->itemById("notes"))->textItem();
    s = shrunk->scale();
    QVERIFY2(s > 0.3 && s < 1, qPrintable(QString::number(s)));
    QVERIFY(qFuzzyCompare(shrunk->textWidth(), (200 - 8) / s + 8));
    const qreal wrapped = metrics
                              .boundingRect(QRectF(0, 0, int(190 / s), int(36 / s)),
                                  Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, longText(60))
                              .height();
    QVERIFY(wrapped * s <= 36.5);

    // A short text keeps its size; so does an empty one.
    item->setPlainText("short");
    item->setScale(1);
    item->shrinkToFit();
    QCOMPARE(item->scale(), 1.0);
    QCOMPARE(item->textWidth(), 200.0);
    QCOMPARE(item->pos(), QPointF(0, 0));
    item->setPlainText(QString());
    item->shrinkToFit();
    QCOMPARE(item->scale(), 1.0);
}

void TestItems::typingIsOneUndoStepPerTextDocumentStep()
{
    ReportText* name = text("name");
    QSignalSpy cleanChanged(&m_report->stack, &QUndoStack::cleanChanged);
    name->setFocus();
    QCOMPARE(scene()->focusItem(), name->textItem());
    typeText(scene(), "Site A");
    QCOMPARE(name->plainText(), QString("Site A"));
    QCOMPARE(m_report->stack.count(), 1);
    QCOMPARE(cleanChanged.count(), 1);

    key(scene(), Qt::Key_Z, QString(), Qt::ControlModifier);
    QCOMPARE(name->plainText(), QString());
    QCOMPARE(m_report->stack.index(), 0);
    QVERIFY(m_report->stack.isClean());
    key(scene(), Qt::Key_Y, QString(), Qt::ControlModifier);
    QCOMPARE(name->plainText(), QString("Site A"));
    QCOMPARE(m_report->stack.index(), 1);

    // Undo from the stack itself, with another field focused, still reaches the text.
    text("last")->setFocus();
    m_report->stack.undo();
    QCOMPARE(name->plainText(), QString());
    m_report->stack.redo();
    QCOMPARE(name->plainText(), QString("Site A"));

    // A value that came from the file is not an edit: undo stops at it.
    Report loaded;
    QVERIFY(loaded.load(writeReport(m_dir->path(), "v.kstir",
        R"(<document resPak=":/testpacks/twopage.pak"><page id="page1"><text id="name">Loaded</text></page></document>)")));
    activate(loaded.scene.get());
    auto* loadedName = static_cast<ReportText*>(loaded.scene->itemById("name"));
    QVERIFY(!loadedName->textItem()->document()->isUndoAvailable());
    loadedName->setFocus();
    QTextCursor end = loadedName->textItem()->textCursor();
    end.movePosition(QTextCursor::End);
    loadedName->textItem()->setTextCursor(end);
    typeText(loaded.scene.get(), "!");
    QCOMPARE(loadedName->plainText(), QString("Loaded!"));
    key(loaded.scene.get(), Qt::Key_Z, QString(), Qt::ControlModifier);
    key(loaded.scene.get(), Qt::Key_Z, QString(), Qt::ControlModifier);
    QCOMPARE(loadedName->plainText(), QString("Loaded"));
    QCOMPARE(loaded.stack.index(), 0);

    // Typing into a field with a height shrinks as the text grows.
    text("notes")->setFocus();
    typeText(scene(), longText(40));
    QVERIFY(text("notes")->textItem()->scale() < 1);
}

void TestItems::contextMenuEntriesFollowTheState()
{
    GraphicsTextItem* item = text("name")->textItem();
    QApplication::clipboard()->clear();
    text("name")->setFocus();
    item->setPlainText(QString());
    auto entries = [item] {
        QMenu menu;
        item->fillContextMenu(&menu);
        QStringList enabled;
        for (QAction* action : menu.actions()) {
            if (action->isEnabled() && !action->isSeparator())
                enabled << action->text();
        }
        return enabled;
    };
    QCOMPARE(entries(), QStringList());
    typeText(scene(), "abc");
    QCOMPARE(entries(), QStringList { "Undo" });
    QTextCursor cursor = item->textCursor();
    cursor.select(QTextCursor::Document);
    item->setTextCursor(cursor);
    QCOMPARE(entries(), (QStringList { "Cut", "Copy", "Undo" }));

    QMenu menu;
    item->fillContextMenu(&menu);
    menu.actions().at(0)->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QString("abc"));
    QCOMPARE(item->toPlainText(), QString());
    QCOMPARE(entries(), (QStringList { "Paste", "Undo" }));
    QMenu second;
    item->fillContextMenu(&second);
    second.actions().at(2)->trigger();
    QCOMPARE(item->toPlainText(), QString("abc"));
}

void TestItems::fontSettingsChangeTheFieldOnly()
{
    ReportText* name = text("name");
    QVERIFY(name->fontSettingsAction());
    ScriptedPrompts::get().dialogHandler = [](QDialog* dialog) {
        auto* fonts = static_cast<QFontDialog*>(dialog);
        fonts->setCurrentFont(QFont("Liberation Mono", 14));
        fonts->accept();
        return int(QDialog::Accepted);
    };
    name->fontSettingsAction()->trigger();
    QCOMPARE(ScriptedPrompts::get().asked.first().dialogClass, QString("QFontDialog"));
    QCOMPARE(name->textFont().family(), QString("Liberation Mono"));
    QCOMPARE(name->textItem()->fontPointSize(), 14.0);
    QCOMPARE(m_report->stack.count(), 0);
    QVERIFY(!savedElement(scene(), "name").hasAttribute("font"));
}

void TestItems::checkBoxTogglesByMouseAndKeys()
{
    auto* box = static_cast<ReportCheckBox*>(scene()->itemById("agree"));
    QSignalSpy modified(box, QOverload<bool>::of(&AbstractReportItem::modified));
    QVERIFY(!box->isChecked());
    QCOMPARE(box->box()->elementId(), QString("unchecked"));

    mouse(scene(), QEvent::GraphicsSceneMousePress, box->box()->sceneBoundingRect().center(), Qt::LeftButton,
        Qt::LeftButton);
    mouse(scene(), QEvent::GraphicsSceneMouseRelease, box->box()->sceneBoundingRect().center(),
        Qt::LeftButton, Qt::NoButton);
    QVERIFY(box->isChecked());
    QCOMPARE(box->box()->elementId(), QString("checked"));
    QCOMPARE(m_report->stack.count(), 1);
    QVERIFY(modified.count() >= 1);
    m_report->stack.undo();
    QVERIFY(!box->isChecked());
    QCOMPARE(box->box()->elementId(), QString("unchecked"));
    m_report->stack.redo();
    QVERIFY(box->isChecked());

    // Key codes 32 to 90 toggle: space, digits, letters (lower case arrives as the capital's code).
    box->setFocus();
    QCOMPARE(scene()->focusItem(), box);
    key(scene(), Qt::Key_Space, " ");
    QVERIFY(!box->isChecked());
    key(scene(), Qt::Key_A, "a");
    QVERIFY(box->isChecked());
    key(scene(), Qt::Key_Z, "Z");
    QVERIFY(!box->isChecked());
    QCOMPARE(m_report->stack.count(), 4);
    // Outside the range nothing happens.
    key(scene(), Qt::Key_BracketLeft, "[");
    key(scene(), Qt::Key_Return, "\r");
    QVERIFY(!box->isChecked());
    QCOMPARE(m_report->stack.count(), 4);
}

void TestItems::checkBoxIsWrittenWithItsBox()
{
    auto* agree = static_cast<ReportCheckBox*>(scene()->itemById("agree"));
    QCOMPARE(agree->box()->pos(), QPointF(-18, 2));
    agree->setChecked(true);
    const QDomElement saved = savedElement(scene(), "agree");
    QCOMPARE(saved.attribute("checked"), QString("true"));
    QCOMPARE(saved.attribute("boxPosX"), QString("-18"));
    QCOMPARE(saved.attribute("boxPosY"), QString("2"));
    QVERIFY(!saved.hasAttribute("boxScale"));
    QCOMPARE(saved.text(), QString("I agree"));

    // Without box attributes the box stands at (-15, 2); a scale other than 1 is written.
    const QString pack = m_dir->filePath("box.pak");
    QVERIFY(writeFile(pack, handMadeContainer({ { "", R"(<document><page id="p">
      <checkBox id="plain">Plain</checkBox><checkBox id="big" boxScale="1.5" checked="true">Big</checkBox>
      </page></document>)" } })));
    Report report;
    QVERIFY(report.load(
        writeReport(m_dir->path(), "b.kstir", QString("<document resPak=\"%1\"/>").arg(pack).toUtf8())));
    auto* plain = static_cast<ReportCheckBox*>(report.scene->itemById("plain"));
    QCOMPARE(plain->box()->pos(), QPointF(-15, 2));
    QCOMPARE(savedElement(report.scene.get(), "big").attribute("boxScale"), QString("1.5"));

    // Hovering outlines box and label: the bounding rectangle grows to take the outline.
    const QRectF idle = plain->boundingRect();
    QGraphicsSceneHoverEvent enter(QEvent::GraphicsSceneHoverEnter);
    report.scene->sendEvent(plain, &enter);
    QVERIFY(plain->isHovered());
    const QRectF content = plain->box()->mapRectToParent(plain->box()->boundingRect())
        | plain->textItem()->mapRectToParent(plain->textItem()->boundingRect());
    QCOMPARE(plain->boundingRect(), content.adjusted(-2, -2, 2, 2));
    QVERIFY(idle.contains(content));
    QGraphicsSceneHoverEvent leave(QEvent::GraphicsSceneHoverLeave);
    report.scene->sendEvent(plain, &leave);
    QVERIFY(!plain->isHovered());
    QVERIFY(static_cast<ReportCheckBox*>(report.scene->itemById("big"))->isChecked());
    QVERIFY(plain->isTabStop());
}

void TestItems::hoverPicksTheHandleAndCursor()
{
    ReportText* notes = text("notes");
    QVERIFY(notes->isResizable());
    QVERIFY(notes->acceptHoverEvents());
    QVERIFY(!text("name")->isResizable());
    const QList<QPair<QPointF, int>> cases { { { -1, -1 }, 17 }, { { 100, -1 }, 18 }, { { 201, -1 }, 20 },
        { { -1, 20 }, 33 }, { { 100, 20 }, 34 }, { { 201, 20 }, 36 }, { { -1, 41 }, 65 }, { { 100, 41 }, 66 },
        { { 201, 41 }, 68 } };
    const QMap<int, Qt::CursorShape> cursors { { 17, Qt::SizeFDiagCursor }, { 68, Qt::SizeFDiagCursor },
        { 18, Qt::SizeVerCursor }, { 66, Qt::SizeVerCursor }, { 20, Qt::SizeBDiagCursor },
        { 65, Qt::SizeBDiagCursor }, { 33, Qt::SizeHorCursor }, { 36, Qt::SizeHorCursor },
        { 34, Qt::SizeAllCursor } };
    for (const auto& c : cases) {
        QCOMPARE(ReportResizableItem::handleAt(c.first, notes->rect()), c.second);
        QGraphicsSceneHoverEvent hover(QEvent::GraphicsSceneHoverMove);
        hover.setPos(c.first);
        hover.setScenePos(notes->mapToScene(c.first));
        scene()->sendEvent(notes, &hover);
        QCOMPARE(notes->resizeHandle(), c.second);
        QCOMPARE(notes->cursor().shape(), cursors.value(c.second));
    }
    // The item's bounding rectangle reaches 6 units around the box, for the handle band.
    QCOMPARE(notes->boundingRect(), QRectF(-6, -6, 212, 52));
}

void TestItems::resizeHandlesKeepTheOppositeSide_data()
{
    // The field "notes" stands at (100, 180) with a box of 200 x 40.
    QTest::addColumn<QPointF>("grab");
    QTest::addColumn<QPointF>("delta");
    QTest::addColumn<QRectF>("expected");
    QTest::newRow("bottom keeps top and x")
        << QPointF(100, 41) << QPointF(30, 40) << QRectF(100, 180, 200, 80);
    QTest::newRow("top keeps bottom") << QPointF(100, -1) << QPointF(0, -20) << QRectF(100, 160, 200, 60);
    QTest::newRow("right keeps left") << QPointF(201, 20) << QPointF(50, 0) << QRectF(100, 180, 250, 40);
    QTest::newRow("left keeps right") << QPointF(-1, 20) << QPointF(-50, 7) << QRectF(50, 180, 250, 40);
    QTest::newRow("top left keeps bottom right")
        << QPointF(-1, -1) << QPointF(20, 10) << QRectF(120, 190, 180, 30);
    QTest::newRow("top right keeps bottom left")
        << QPointF(201, -1) << QPointF(20, -10) << QRectF(100, 170, 220, 50);
    QTest::newRow("bottom left keeps top right")
        << QPointF(-1, 41) << QPointF(-20, 10) << QRectF(80, 180, 220, 50);
    QTest::newRow("bottom right keeps top left")
        << QPointF(201, 41) << QPointF(-20, -10) << QRectF(100, 180, 180, 30);
    QTest::newRow("inside moves") << QPointF(100, 38) << QPointF(-30, 12) << QRectF(70, 192, 200, 40);
}

void TestItems::resizeHandlesKeepTheOppositeSide()
{
    QFETCH(QPointF, grab);
    QFETCH(QPointF, delta);
    QFETCH(QRectF, expected);
    ReportText* notes = text("notes");
    const QPointF from = notes->mapToScene(grab);
    drag(scene(), from, from + delta);
    QCOMPARE(QRectF(notes->pos(), notes->rect().size()), expected);
    QCOMPARE(notes->textItem()->fieldWidth(), expected.width());
    QCOMPARE(m_report->stack.count(), 1);
    m_report->stack.undo();
    QCOMPARE(QRectF(notes->pos(), notes->rect().size()), QRectF(100, 180, 200, 40));
    m_report->stack.redo();
    QCOMPARE(QRectF(notes->pos(), notes->rect().size()), expected);
    const QDomElement saved = savedElement(scene(), "notes");
    QCOMPARE(saved.attribute("resizable"), QString("1"));
    QCOMPARE(saved.attribute("height").toDouble(), expected.height());
    // A press and release without a move is no edit.
    drag(scene(), notes->mapToScene(QPointF(50, 20)), notes->mapToScene(QPointF(50, 20)));
    QCOMPARE(m_report->stack.count(), 1);
}

namespace {
enum class Edit { Typing, CellTyping, Toggle, Resize, Delete };
} // namespace
Q_DECLARE_METATYPE(Edit)

namespace {
// What an edit changes in a model item, as one text.
QString modelState(Edit edit, const ReportItem* item)
{
    switch (edit) {
    case Edit::Typing:
    case Edit::CellTyping:
        return item->text;
    case Edit::Toggle:
        return item->checked ? "checked" : "unchecked";
    case Edit::Resize:
        return QString("%1,%2 %3x%4")
            .arg(item->pos.x())
            .arg(item->pos.y())
            .arg(item->size.width())
            .arg(item->size.height());
    case Edit::Delete: {
        const auto& siblings = item->parent->children;
        const auto at = std::find_if(siblings.cbegin(), siblings.cend(),
            [item](const std::unique_ptr<ReportItem>& sibling) { return sibling.get() == item; });
        return at == siblings.cend() ? "out" : QString("at %1").arg(at - siblings.cbegin());
    }
    }
    return QString();
}
} // namespace

void TestItems::everyEditReachesTheKeptModel_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("typing in a field") << Edit::Typing << "name"
                                       << ""
                                       << "Site A";
    QTest::newRow("typing in a cell") << Edit::CellTyping << "span"
                                      << "Wide"
                                      << "Xy";
    QTest::newRow("check box") << Edit::Toggle << "agree"
                               << "unchecked"
                               << "checked";
    QTest::newRow("resize") << Edit::Resize << "notes"
                            << "100,180 200x40"
                            << "100,180 230x55";
    QTest::newRow("delete") << Edit::Delete << "page2label"
                            << "at 1"
                            << "out";
}

void TestItems::everyEditReachesTheKeptModel()
{
    QFETCH(Edit, edit);
    QFETCH(QString, id);
    QFETCH(QString, before);
    QFETCH(QString, after);
    ReportItem* item = scene()->document()->itemById(id);
    QVERIFY(item);
    QCOMPARE(modelState(edit, item), before);
    AbstractReportItem* view = scene()->itemById(id);
    switch (edit) {
    case Edit::Typing:
    case Edit::CellTyping:
        view->setFocus();
        typeText(scene(), after);
        break;
    case Edit::Toggle: {
        const QPointF box = static_cast<ReportCheckBox*>(view)->box()->sceneBoundingRect().center();
        mouse(scene(), QEvent::GraphicsSceneMousePress, box, Qt::LeftButton, Qt::LeftButton);
        mouse(scene(), QEvent::GraphicsSceneMouseRelease, box, Qt::LeftButton, Qt::NoButton);
        break;
    }
    case Edit::Resize: {
        const QPointF corner = view->mapToScene(QPointF(200, 40));
        drag(scene(), corner, corner + QPointF(30, 15));
        break;
    }
    case Edit::Delete:
        scene()->deleteWithUndo(view);
        break;
    }
    QCOMPARE(modelState(edit, item), after);
    QVERIFY(!m_report->stack.isClean());
    m_report->stack.undo();
    QCOMPARE(modelState(edit, item), before);
    QVERIFY(m_report->stack.isClean());
    m_report->stack.redo();
    QCOMPARE(modelState(edit, item), after);

    // What is saved is the kept model, whichever way it changed.
    item->id = "changed in the model";
    QCOMPARE(savedElement(scene(), "changed in the model").isNull(), edit == Edit::Delete);
}

KESTROVAN_TEST_MAIN(TestItems)
#include "tst_items.moc"
