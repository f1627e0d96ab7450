#include "DocumentContainer.h"
#include "GraphicsTextItem.h"
#include "ReportFile.h"
#include "ReportScene.h"
#include "ReportTable.h"
#include "ReportTableCell.h"
#include "ReportTableSet.h"
#include "ReportTestSupport.h"
#include "ReportXml.h"
#include "TestSupport.h"

#include <QDomDocument>
#include <QTemporaryDir>
#include <QTextCursor>

using namespace ReportTestSupport;

class TestTables : public QObject
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
            writeReport(m_dir->path(), "t.kstatr", R"(<document resPak=":/testpacks/kstatr_rev3.pak">
          <page id="page1"><table id="test_table"><cell col="2" row="3">33.5</cell></table></page></document>)")));
        activate(m_report->scene.get());
        m_table = qgraphicsitem_cast<ReportTable*>(m_report->scene->itemById("test_table"));
        QVERIFY(m_table);
    }
    void cleanup()
    {
        m_report.reset();
        m_dir.reset();
    }

    void arrayTableColumnsAndRows();
    void spansCoverPositionsWithoutAutomaticCells();
    void sizesSharedOnlyAmongColumnsWithoutSize_data();
    void sizesSharedOnlyAmongColumnsWithoutSize();
    void keysMoveTheCurrentCellWithinTheGrid();
    void typingReplacesASelectedCell();
    void editingMovesAlongWithReturnAndArrows();
    void mousePicksTheCell();
    void cellsAreWrittenOnlyWhenTheyCarrySomething();

private:
    ReportScene* scene() const { return m_report->scene.get(); }
    ReportTableCell* current() const
    {
        for (QGraphicsItem* item = scene()->focusItem(); item; item = item->parentItem()) {
            if (item->type() == ReportTableCell::Type)
                return static_cast<ReportTableCell*>(item);
        }
        return nullptr;
    }
    QPoint at() const { return current() ? QPoint(current()->column(), current()->row()) : QPoint(-1, -1); }
    ReportTable* tableFromPack(const QString& tableXml, std::unique_ptr<Report>& holder)
    {
        const QString pack = m_dir->filePath(QString("p%1.pak").arg(++m_packs));
        writeFile(pack,
            handMadeContainer(
                { { "", ("<document><page id=\"p\">" + tableXml + "</page></document>").toUtf8() } }));
        holder = std::make_unique<Report>();
        if (!holder->load(writeReport(
                m_dir->path(), "x.kstir", QString("<document resPak=\"%1\"/>").arg(pack).toUtf8())))
            return nullptr;
        return qgraphicsitem_cast<ReportTable*>(holder->scene->itemById("t"));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Report> m_report;
    ReportTable* m_table = nullptr;
    int m_packs = 0;
};

void TestTables::arrayTableColumnsAndRows()
{
    QCOMPARE(m_table->columnCount(), 8);
    QCOMPARE(m_table->rowCount(), 26);
    const qreal share = (716.5 - 200) / 6;
    QCOMPARE(m_table->columnSet(0)->size(), 100.0);
    QCOMPARE(m_table->columnSet(1)->size(), 100.0);
    qreal offset = 200;
    for (int c = 2; c < 8; ++c) {
        QCOMPARE(m_table->columnSet(c)->size(), share);
        QCOMPARE(m_table->columnSet(c)->offset(), offset);
        QVERIFY(m_table->columnSet(c)->isImplicit());
        offset += share;
    }
    QVERIFY(!m_table->columnSet(0)->isImplicit());
    QCOMPARE(m_table->columnSet(8)->offset(), 716.5);
    QCOMPARE(m_table->columnSet(100), m_table->columnSet(8));
    QCOMPARE(m_table->rowSet(26)->offset(), 468.0);
    QCOMPARE(m_table->rowSet(13)->offset(), 13 * 18.0);

    ReportTableCell* value = m_table->cellAt(4, 7);
    QVERIFY(value->isAutomatic());
    QCOMPARE(value->pos(), QPointF(200 + 2 * share, 7 * 18.0));
    QCOMPARE(value->rect(), QRectF(0, 0, share, 18));
    QCOMPARE(value->textItem()->textWidth(), share);
    QCOMPARE(value->textItem()->fieldHeight(), 18.0);
    QCOMPARE(m_table->boundingRect(), QRectF(-0.5, -0.5, 717.5, 469));
    QCOMPARE(m_table->cellAt(2, 3)->plainText(), QString("33.5"));
    // Header cells: white on black from the row's set.
    QCOMPARE(m_table->cellAt(3, 0)->backgroundColour(), QColor(Qt::black));
    QCOMPARE(m_table->cellAt(3, 0)->colour(), QColor(Qt::white));
    QVERIFY(!m_table->cellAt(3, 0)->isEditable());
    QVERIFY(m_table->cellAt(3, 1)->isEditable());
    QVERIFY(!m_table->cellAt(1, 5)->isEditable());
}

void TestTables::spansCoverPositionsWithoutAutomaticCells()
{
    ReportTableCell* header = m_table->cellAt(0, 0);
    QCOMPARE(header->plainText(), QString(" STRING"));
    QCOMPARE(header->columnSpan(), 2);
    QCOMPARE(header->rect().width(), 200.0);
    QCOMPARE(m_table->cellAt(1, 0), nullptr);
    // The "Test" group spans rows 12 to 15 in column 0.
    ReportTableCell* group = m_table->cellAt(0, 12);
    QCOMPARE(group->rowSpan(), 4);
    QCOMPARE(group->rect().height(), 72.0);
    for (int r = 13; r < 16; ++r)
        QCOMPARE(m_table->cellAt(0, r), nullptr);
    for (int c = 1; c < 8; ++c)
        QCOMPARE(m_table->cellAt(c, 25), nullptr);
    QCOMPARE(m_table->cellAt(0, 25)->rect().width(), 716.5);
    // Every position is covered exactly once.
    int area = 0;
    for (ReportTableCell* cell : m_table->cells())
        area += cell->columnSpan() * cell->rowSpan();
    QCOMPARE(area, 8 * 26);
    int automatic = 0;
    for (ReportTableCell* cell : m_table->cells())
        automatic += cell->isAutomatic() ? 1 : 0;
    QCOMPARE(automatic, 6 * 24);
}

void TestTables::sizesSharedOnlyAmongColumnsWithoutSize_data()
{
    QTest::addColumn<QString>("sets");
    QTest::addColumn<QList<qreal>>("widths");
    QTest::newRow("no sets") << QString() << QList<qreal> { 100, 100, 100, 100 };
    QTest::newRow("every column sized, more than the width") << QString(
        "<tableset col=\"0\" size=\"150\"/><tableset col=\"1\" size=\"150\"/><tableset col=\"2\" "
        "size=\"150\"/>"
        "<tableset col=\"3\" size=\"150\"/>") << QList<qreal> { 150, 150, 150, 150 };
    QTest::newRow("one sized") << QString("<tableset col=\"1\" size=\"160\"/>")
                               << QList<qreal> { 80, 160, 80, 80 };
    QTest::newRow("a set with styles only shares the rest")
        << QString("<tableset col=\"0\" size=\"100\"/><tableset col=\"2\" colour=\"#ff0000\"/>")
        << QList<qreal> { 100, 100, 100, 100 };
}

void TestTables::sizesSharedOnlyAmongColumnsWithoutSize()
{
    QFETCH(QString, sets);
    QFETCH(QList<qreal>, widths);
    std::unique_ptr<Report> holder;
    ReportTable* table = tableFromPack(
        QString("<table id=\"t\" width=\"400\" height=\"60\" numCols=\"4\" numRows=\"2\">%1</table>")
            .arg(sets),
        holder);
    QVERIFY(table);
    qreal offset = 0;
    for (int c = 0; c < 4; ++c) {
        QCOMPARE(table->columnSet(c)->size(), widths.at(c));
        QCOMPARE(table->columnSet(c)->offset(), offset);
        QCOMPARE(table->cellAt(c, 1)->pos().x(), offset);
        offset += widths.at(c);
    }
}

void TestTables::keysMoveTheCurrentCellWithinTheGrid()
{
    m_table->cellAt(2, 1)->setFocus();
    QCOMPARE(at(), QPoint(2, 1));
    QCOMPARE(m_table->currentCell(), m_table->cellAt(2, 1));
    // Selected, not editing.
    QCOMPARE(scene()->focusItem(), m_table->cellAt(2, 1));
    struct Step
    {
        int key;
        QPoint expected;
    };
    // (1, 0) is covered by the header, (0, 13) by the "Test" group that starts at (0, 12).
    const QList<Step> steps { { Qt::Key_Right, { 3, 1 } }, { Qt::Key_End, { 7, 1 } },
        { Qt::Key_Right, { 7, 1 } }, { Qt::Key_Home, { 0, 1 } }, { Qt::Key_Left, { 0, 1 } },
        { Qt::Key_Right, { 1, 1 } }, { Qt::Key_Up, { 1, 1 } }, { Qt::Key_Down, { 1, 2 } },
        { Qt::Key_PageDown, { 1, 12 } }, { Qt::Key_PageDown, { 1, 22 } }, { Qt::Key_PageDown, { 1, 22 } },
        { Qt::Key_Down, { 1, 23 } }, { Qt::Key_PageUp, { 1, 13 } }, { Qt::Key_Left, { 1, 13 } },
        { Qt::Key_Up, { 1, 12 } }, { Qt::Key_Left, { 0, 12 } }, { Qt::Key_Down, { 0, 12 } },
        { Qt::Key_Right, { 1, 12 } }, { Qt::Key_PageUp, { 1, 2 } }, { Qt::Key_PageUp, { 1, 2 } } };
    for (const Step& step : steps) {
        key(scene(), step.key);
        QCOMPARE(at(), step.expected);
    }
    // The header cell spans two columns: Right looks at the covered position and stays.
    m_table->cellAt(0, 0)->setFocus();
    key(scene(), Qt::Key_Right);
    QCOMPARE(at(), QPoint(0, 0));
    // The last row has one cell across the table: Down stays.
    m_table->cellAt(0, 25)->setFocus();
    key(scene(), Qt::Key_Down);
    QCOMPARE(at(), QPoint(0, 25));
    QCOMPARE(m_report->stack.count(), 0);
}

void TestTables::typingReplacesASelectedCell()
{
    ReportTableCell* cell = m_table->cellAt(2, 3);
    cell->setFocus();
    QVERIFY(cell->textItem()->textInteractionFlags() == Qt::NoTextInteraction);
    typeText(scene(), "7");
    QCOMPARE(cell->plainText(), QString("7"));
    QCOMPARE(scene()->focusItem(), cell->textItem());
    QVERIFY(cell->textItem()->textCursor().atEnd());
    typeText(scene(), "1");
    QCOMPARE(cell->plainText(), QString("71"));
    QVERIFY(m_report->stack.count() >= 1);
    while (m_report->stack.canUndo())
        m_report->stack.undo();
    QCOMPARE(cell->plainText(), QString("33.5"));

    // A label cell ignores typing.
    ReportTableCell* label = m_table->cellAt(1, 3);
    label->setFocus();
    typeText(scene(), "x");
    QCOMPARE(label->plainText(), QString("Voc at STC"));
    QCOMPARE(scene()->focusItem(), label);
}

void TestTables::editingMovesAlongWithReturnAndArrows()
{
    ReportTableCell* start = m_table->cellAt(2, 3);
    start->setFocus();
    typeText(scene(), "9");
    QCOMPARE(scene()->focusItem(), start->textItem());
    key(scene(), Qt::Key_Return, "\r");
    QCOMPARE(at(), QPoint(2, 4));
    // The next cell is being edited with its text selected.
    QCOMPARE(scene()->focusItem(), m_table->cellAt(2, 4)->textItem());
    QVERIFY(m_table->cellAt(2, 4)->textItem()->textInteractionFlags() & Qt::TextEditable);
    QCOMPARE(start->plainText(), QString("9"));
    QVERIFY(start->textItem()->textInteractionFlags() == Qt::NoTextInteraction);
    key(scene(), Qt::Key_Up);
    QCOMPARE(at(), QPoint(2, 3));
    // The whole text is selected: Right first moves the cursor to the end, then to the next cell.
    key(scene(), Qt::Key_Right);
    QCOMPARE(at(), QPoint(2, 3));
    key(scene(), Qt::Key_Right);
    QCOMPARE(at(), QPoint(3, 3));
    // An empty cell is at both ends at once.
    key(scene(), Qt::Key_Left);
    QCOMPARE(at(), QPoint(2, 3));
    QTextCursor cursor = start->textItem()->textCursor();
    cursor.setPosition(1);
    start->textItem()->setTextCursor(cursor);
    key(scene(), Qt::Key_Left);
    QCOMPARE(at(), QPoint(2, 3));
    QVERIFY(start->textItem()->textCursor().atStart());
    key(scene(), Qt::Key_Left);
    QCOMPARE(at(), QPoint(1, 3));
    // Escape leaves editing; the cell stays selected.
    m_table->cellAt(2, 24)->setFocus();
    typeText(scene(), "5");
    key(scene(), Qt::Key_Escape);
    QCOMPARE(scene()->focusItem(), m_table->cellAt(2, 24));
    key(scene(), Qt::Key_Down);
    QCOMPARE(at(), QPoint(2, 24));
    key(scene(), Qt::Key_Up);
    QCOMPARE(at(), QPoint(2, 23));
}

void TestTables::mousePicksTheCell()
{
    ReportTableCell* target = m_table->cellAt(5, 6);
    const QPointF centre = target->sceneBoundingRect().center();
    mouse(scene(), QEvent::GraphicsSceneMousePress, centre, Qt::LeftButton, Qt::LeftButton);
    mouse(scene(), QEvent::GraphicsSceneMouseRelease, centre, Qt::LeftButton, Qt::NoButton);
    QCOMPARE(m_table->currentCell(), target);
    QCOMPARE(scene()->focusItem(), target->textItem());
    ReportTableCell* label = m_table->cellAt(1, 6);
    mouse(scene(), QEvent::GraphicsSceneMousePress, label->sceneBoundingRect().center(), Qt::LeftButton,
        Qt::LeftButton);
    QCOMPARE(m_table->currentCell(), label);
    QCOMPARE(scene()->focusItem(), label);
}

void TestTables::cellsAreWrittenOnlyWhenTheyCarrySomething()
{
    m_table->cellAt(5, 5)->textItem()->setPlainText("filled");
    DocumentContainer container;
    QDomDocument document;
    QVERIFY(ReportXml::parse(ReportFile::toXml(scene(), container), &document));
    QDomElement table;
    const QDomNodeList tables = document.elementsByTagName("table");
    QCOMPARE(tables.size(), 1);
    table = tables.at(0).toElement();
    QCOMPARE(table.attribute("numCols"), QString("8"));
    QCOMPARE(table.attribute("width"), QString("716.5"));
    int cells = 0;
    int sets = 0;
    QDomElement header;
    QDomElement filled;
    for (QDomElement e = table.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        if (e.tagName() == "tableset")
            ++sets;
        if (e.tagName() != "cell")
            continue;
        ++cells;
        if (e.attribute("col") == "0" && e.attribute("row") == "0")
            header = e;
        if (e.text() == "filled")
            filled = e;
        QVERIFY(!e.hasAttribute("x") && !e.hasAttribute("y") && !e.hasAttribute("width"));
        QVERIFY(e.hasAttribute("height"));
    }
    QCOMPARE(sets, 3);
    // The pack's cells (7 header, 9 groups, 24 labels, comments), the value and the filled one.
    QCOMPARE(cells, 7 + 9 + 24 + 1 + 2);
    QCOMPARE(header.attribute("colspan"), QString("2"));
    QVERIFY(!header.hasAttribute("rowspan"));
    QCOMPARE(filled.attribute("col"), QString("5"));
    QVERIFY(!filled.hasAttribute("colspan"));

    // Read back as a layout, the filled cell is an ordinary cell.
    std::unique_ptr<Report> holder;
    QString tableXml;
    QTextStream stream(&tableXml);
    table.setAttribute("id", "t");
    table.save(stream, 0);
    ReportTable* reread = tableFromPack(tableXml, holder);
    QVERIFY(reread);
    QVERIFY(!reread->cellAt(5, 5)->isAutomatic());
    QCOMPARE(reread->cellAt(5, 5)->plainText(), QString("filled"));
    QVERIFY(reread->cellAt(5, 4)->isAutomatic());

    // And as document values over the pack, it fills the automatic cell.
    const QString saved = m_dir->filePath("saved.kstatr");
    QVERIFY(scene()->save(saved));
    Report again;
    QVERIFY(again.load(saved));
    auto* againTable = static_cast<ReportTable*>(again.scene->itemById("test_table"));
    QCOMPARE(againTable->cellAt(5, 5)->plainText(), QString("filled"));
    QVERIFY(againTable->cellAt(5, 5)->isAutomatic());
}

KESTROVAN_TEST_MAIN(TestTables)
#include "tst_tables.moc"
