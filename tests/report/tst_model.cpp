// The report model without a scene: reading a report over its pack, the limits a file must keep
// to, and writing it again.
#include "ContainerTestSupport.h"
#include "DocumentContainer.h"
#include "ReportReader.h"
#include "ReportWriter.h"
#include "TestSupport.h"

#include <QColor>
#include <QDomDocument>
#include <QTemporaryDir>

using namespace ReportTestSupport;
using Kind = ReportItem::Kind;

namespace {
// A report over a layout written beside it ("@pack" in the report names it), or over the
// two-page test layout when layout is empty.
ReportReadResult readOver(const QTemporaryDir& dir, const QByteArray& layout, QByteArray xml,
    const QList<Entry>& pictures = {}, const QString& fileName = QStringLiteral("r.kstir"),
    const QString& language = QStringLiteral("en_GB"))
{
    const QString pack = dir.filePath(QStringLiteral("test.pak"));
    if (!layout.isEmpty())
        writeFile(pack, layout.startsWith("raw:") ? layout.mid(4) : handMadeContainer({ { "xml", layout } }));
    xml.replace("@pack", pack.toUtf8());
    const QString path = dir.filePath(fileName);
    writeFile(path,
        xml.startsWith("raw:") ? xml.mid(4) : handMadeContainer(QList<Entry> { { "xml", xml } } + pictures));
    return ReportReader::read(path, language);
}

QByteArray over(const QByteArray& body, const QByteArray& pack = ":/testpacks/twopage.pak")
{
    return "<document resPak=\"" + pack + "\">" + body + "</document>";
}

QString textOf(const ReportReadResult& result, const QString& id)
{
    const ReportItem* item = result.document ? result.document->itemById(id) : nullptr;
    return item ? item->text : QStringLiteral("<none>");
}
} // namespace

class TestModel : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { initTestData(); }
    void init() { TestSupport::resetState(); }

    void keptFilesReadAndWriteAsTheyWere_data();
    void keptFilesReadAndWriteAsTheyWere();
    void damagedReportsAreRefused_data();
    void damagedReportsAreRefused();
    void valuesAreLaidOverTheLayout_data();
    void valuesAreLaidOverTheLayout();
    void longValuesAreCutInVisibleCharacters_data();
    void longValuesAreCutInVisibleCharacters();
    void numbersOutOfRangeFallBack_data();
    void numbersOutOfRangeFallBack();
    void tablesShareTheirSizeAndInheritStyles();
    void anIdNamesTheItemEnteredLast();
    void germanLayoutKeepsTheEnglishPackName();
    void writtenTextsHoldOnlyWhatXmlCan_data();
    void writtenTextsHoldOnlyWhatXmlCan();
    void coloursAreWrittenAsTheyAreDrawn_data();
    void coloursAreWrittenAsTheyAreDrawn();
};

void TestModel::keptFilesReadAndWriteAsTheyWere_data()
{
    QTest::addColumn<int>("index");
    const QList<RoundTripCase> cases = roundTripCases();
    for (int i = 0; i < cases.size(); ++i)
        QTest::newRow(qPrintable(cases.at(i).name)) << i;
}

// A file the program saved, read over its pack and written again, is the same tree with the
// same pictures.
void TestModel::keptFilesReadAndWriteAsTheyWere()
{
    QFETCH(int, index);
    RoundTripCase roundTrip = roundTripCases().at(index);
    const QByteArray kept = readFile(goldenPath(roundTrip.name));
    QVERIFY(!kept.isEmpty());
    roundTrip.xml = kept;
    roundTrip.pictures = goldenPictures(kept, roundTrip);
    QTemporaryDir dir;
    const ReportReadResult result
        = ReportReader::read(writeRoundTripCase(roundTrip, dir.path()), roundTrip.language);
    QVERIFY(result.document);
    QVERIFY(result.notices.isEmpty());
    DocumentContainer container;
    container.append(QStringLiteral("xml"), QByteArray());
    container.setData(0, ReportWriter::toXml(*result.document, container));
    QList<Entry> written;
    for (int i = 0; i < container.count(); ++i)
        written.append({ container.at(i).name, container.at(i).data });
    QCOMPARE(canonicalTree(goldenForm(written, dir.path())), canonicalTree(kept));
    QCOMPARE(written.mid(1), roundTrip.pictures);
}

void TestModel::damagedReportsAreRefused_data()
{
    // layout is written as the pack that "@pack" names ("raw:" for bytes that are no container);
    // the report carries pictures entries after its XML.
    QTest::addColumn<QByteArray>("layout");
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<int>("pictures");
    QTest::addColumn<QString>("notice");

    const QString reading = "Error opening %1 for reading";
    const QString onPack = "Error opening @pack for reading";
    const QByteArray onItsPack = over("", "@pack");
    auto table = [](const QByteArray& attributes, const QByteArray& body = QByteArray()) {
        return "<document><table width=\"10\" height=\"10\" " + attributes + ">" + body
            + "</table></document>";
    };
    QTest::newRow("not a container") << QByteArray() << QByteArray("raw:plain text") << 0 << reading;
    QTest::newRow("no entries") << QByteArray() << QByteArray("raw:") << 0 << reading;
    QTest::newRow("xml error") << QByteArray() << QByteArray("<document>\n<page>") << 0
                               << "XML validation error in %1 on line 2, column 6";
    QTest::newRow("doctype") << QByteArray() << QByteArray("<!DOCTYPE document><document/>") << 0
                             << "XML validation error in %1 on line 1, column 19";
    QTest::newRow("missing pack") << QByteArray() << over("", ":/testpacks/none.pak") << 0
                                  << reading.arg(":/testpacks/none.pak");
    QTest::newRow("pack is not a container") << QByteArray("raw:garbage") << onItsPack << 0 << onPack;
    QTest::newRow("pack with bad xml") << QByteArray("<document><page>") << onItsPack << 0 << onPack;
    QTest::newRow("pack picture without its entry")
        << QByteArray("<document><image index=\"1\"/></document>") << onItsPack << 0 << onPack;
    QTest::newRow("image index beyond the entries")
        << QByteArray() << over("<page id=\"page1\"><image index=\"2\"/></page>") << 1 << reading;
    QTest::newRow("image index of the xml") << QByteArray() << over("<image index=\"0\"/>") << 1 << reading;
    QTest::newRow("image index not a number")
        << QByteArray() << over("<image index=\"one\"/>") << 1 << reading;
    QTest::newRow("picture replaced by one without entry")
        << QByteArray("<document><image id=\"logo\" index=\"1\"/></document>")
        << over("<image id=\"logo\" index=\"5\"/>", "@pack") << 0 << onPack;
    QTest::newRow("absurd table") << table("numCols=\"100000\" numRows=\"100000\"") << onItsPack << 0
                                  << onPack;
    QTest::newRow("more cells than a table holds")
        << table("numCols=\"256\" numRows=\"17\"") << onItsPack << 0 << onPack;
    QTest::newRow("table without a width")
        << QByteArray("<document><table numCols=\"1\" numRows=\"1\"/></document>") << onItsPack << 0
        << onPack;
    QTest::newRow("negative span") << table(
        "numCols=\"2\" numRows=\"2\"", "<cell col=\"0\" row=\"0\" colspan=\"-3\"/>")
                                   << onItsPack << 0 << onPack;
    QTest::newRow("span beyond the grid")
        << table("numCols=\"2\" numRows=\"2\"", "<cell col=\"1\" row=\"1\" rowspan=\"40000\"/>") << onItsPack
        << 0 << onPack;
    QTest::newRow("cell without a place")
        << table("numCols=\"2\" numRows=\"2\"", "<cell row=\"1\"/>") << onItsPack << 0 << onPack;
    QTest::newRow("two cells at one place") << table(
        "numCols=\"2\" numRows=\"2\"", "<cell col=\"0\" row=\"0\" colspan=\"2\"/><cell col=\"1\" row=\"0\"/>")
                                            << onItsPack << 0 << onPack;
    QTest::newRow("two sets of one column")
        << table("numCols=\"2\" numRows=\"2\"", "<tableset col=\"1\"/><tableset col=\"1\"/>") << onItsPack
        << 0 << onPack;
    QTest::newRow("set beyond the grid")
        << table("numCols=\"2\" numRows=\"2\"", "<tableset row=\"2\"/>") << onItsPack << 0 << onPack;
    QTest::newRow("set of negative size")
        << table("numCols=\"2\" numRows=\"2\"", "<tableset col=\"0\" size=\"-1\"/>") << onItsPack << 0
        << onPack;
    QTest::newRow("text beyond any field")
        << QByteArray()
        << over("<page id=\"page1\"><text id=\"name\">" + QByteArray(ReportLimits::MaxTextLength + 1, 'a')
               + "</text></page>")
        << 0 << reading;
    QTest::newRow("more items than any form")
        << "<document><page>" + QByteArray("<text/>").repeated(ReportLimits::MaxItems) + "</page></document>"
        << onItsPack << 0 << onPack;
    QTest::newRow("items nested deeper than any form")
        << "<document>" + QByteArray("<text>").repeated(ReportLimits::MaxDepth + 2)
            + QByteArray("</text>").repeated(ReportLimits::MaxDepth + 2) + "</document>"
        << onItsPack << 0 << onPack;
    QTest::newRow("page number absurd")
        << QByteArray("<document><page pageNumber=\"2000000000\"/></document>") << onItsPack << 0 << onPack;
    QTest::newRow("page number not a number")
        << QByteArray("<document><page pageNumber=\"one\"/></document>") << onItsPack << 0 << onPack;
}

void TestModel::damagedReportsAreRefused()
{
    QFETCH(QByteArray, layout);
    QFETCH(QByteArray, xml);
    QFETCH(int, pictures);
    QFETCH(QString, notice);
    QTemporaryDir dir;
    QList<Entry> entries;
    for (int i = 0; i < pictures; ++i)
        entries.append(Entry("png", "picture"));
    const ReportReadResult result = readOver(dir, layout, xml, entries);
    QVERIFY(!result.document);
    QCOMPARE(result.notices.size(), 1);
    notice.replace("@pack", dir.filePath("test.pak"));
    QCOMPARE(
        result.notices.first().text, notice.contains("%1") ? notice.arg(dir.filePath("r.kstir")) : notice);
}

void TestModel::valuesAreLaidOverTheLayout_data()
{
    // The report's values over the two-page test layout; id names the item whose text is checked.
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("text");

    const QString report = "r.kstir";
    QTest::newRow("layout only") << over("") << report << "span"
                                 << "Wide";
    QTest::newRow("by id") << over("<page id=\"page1\"><text id=\"name\">Jo</text></page>") << report
                           << "name"
                           << "Jo";
    QTest::newRow("by id at any depth") << over("<text id=\"last\">deep</text>") << report << "last"
                                        << "deep";
    QTest::newRow("an unknown id adds nothing") << over("<text id=\"other\">x</text>") << report << "other"
                                                << "<none>";
    QTest::newRow("cell by id") << over("<cell id=\"rowlabel\">C</cell>") << report << "rowlabel"
                                << "C";
    QTest::newRow("cell by place") << over("<table id=\"grid\"><cell col=\"0\" row=\"1\">A2</cell></table>")
                                   << report << "@0,1"
                                   << "A2";
    QTest::newRow("empty grid place by place")
        << over("<table id=\"grid\"><cell col=\"3\" row=\"2\">new</cell></table>") << report << "@3,2"
        << "new";
    QTest::newRow("a place a span covers takes nothing")
        << over("<table id=\"grid\"><cell col=\"2\" row=\"0\">x</cell></table>") << report << "span"
        << "Wide";
    QTest::newRow("a check box keeps its label")
        << over("<checkBox id=\"agree\" checked=\"true\">No</checkBox>") << report << "agree"
        << "I agree";
    QTest::newRow("a generic report has no layout")
        << over("<page id=\"page1\"><text id=\"name\">Jo</text></page>") << "r.kstreport"
        << "name"
        << "<none>";
    QTest::newRow("control characters of older versions") << over("<text id=\"name\">a\x0b"
                                                                  "b\x0c"
                                                                  "c</text>")
                                                          << report << "name"
                                                          << "abc";
}

void TestModel::valuesAreLaidOverTheLayout()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, fileName);
    QFETCH(QString, id);
    QFETCH(QString, text);
    QTemporaryDir dir;
    const ReportReadResult result = readOver(dir, QByteArray(), xml, {}, fileName);
    QVERIFY(result.document);
    QVERIFY(result.notices.isEmpty());
    if (id.startsWith('@')) {
        const ReportItem* grid = result.document->itemById("grid");
        QVERIFY(grid);
        const ReportItem* cell
            = grid->cellAt(id.mid(1).section(',', 0, 0).toInt(), id.section(',', 1).toInt());
        QVERIFY(cell);
        QCOMPARE(cell->text, text);
    } else {
        QCOMPARE(textOf(result, id), text);
    }
    QCOMPARE(
        result.document->packPath, fileName.endsWith("kstreport") ? QString() : ":/testpacks/twopage.pak");
}

void TestModel::longValuesAreCutInVisibleCharacters_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("kept");

    const int limit = ReportLimits::MaxFieldLength;
    const QString accented = QString::fromUtf8("e\u0301");
    const QString emoji = QString::fromUtf8("\U0001F44D\U0001F3FD");
    QTest::newRow("at the limit") << QString(limit, 'a') << QString(limit, 'a');
    QTest::newRow("one above") << QString(limit + 1, 'a') << QString(limit, 'a');
    QTest::newRow("accented letters at the limit") << accented.repeated(limit) << accented.repeated(limit);
    QTest::newRow("accented letters above") << accented.repeated(limit + 5) << accented.repeated(limit);
    QTest::newRow("emoji with modifiers above") << emoji.repeated(limit + 1) << emoji.repeated(limit);
}

void TestModel::longValuesAreCutInVisibleCharacters()
{
    QFETCH(QString, value);
    QFETCH(QString, kept);
    QTemporaryDir dir;
    const ReportReadResult result
        = readOver(dir, QByteArray(), over("<text id=\"name\">" + value.toUtf8() + "</text>"));
    QVERIFY(result.document);
    QCOMPARE(textOf(result, "name"), kept);
    const QStringList expected = kept == value
        ? QStringList()
        : QStringList { QString("Some values in %1 were longer than %2 "
                                "characters and have been shortened.")
                            .arg(dir.filePath("r.kstir"))
                            .arg(ReportLimits::MaxFieldLength) };
    QStringList notices;
    for (const ReportNotice& notice : result.notices)
        notices << notice.text;
    QCOMPARE(notices, expected);
}

void TestModel::numbersOutOfRangeFallBack_data()
{
    // One item of a layout, and what the model holds for one of its numbers.
    QTest::addColumn<QByteArray>("element");
    QTest::addColumn<QString>("field");
    QTest::addColumn<double>("value");

    QTest::newRow("x at the limit") << QByteArray("<text id=\"i\" x=\"100000\"/>") << "x" << 100000.0;
    QTest::newRow("x beyond") << QByteArray("<text id=\"i\" x=\"100001\"/>") << "x" << 0.0;
    QTest::newRow("y not a number") << QByteArray("<text id=\"i\" y=\"nan\"/>") << "y" << 0.0;
    QTest::newRow("y infinite") << QByteArray("<text id=\"i\" y=\"-inf\"/>") << "y" << 0.0;
    QTest::newRow("width without height") << QByteArray("<text id=\"i\" width=\"50\"/>") << "width" << 0.0;
    QTest::newRow("box") << QByteArray("<text id=\"i\" width=\"50\" height=\"1e5\"/>") << "height" << 1e5;
    QTest::newRow("box beyond") << QByteArray("<text id=\"i\" width=\"50\" height=\"1e6\"/>") << "width"
                                << 0.0;
    QTest::newRow("font size beyond a poster's")
        << QByteArray("<text id=\"i\" fontSize=\"401\"/>") << "fontSize" << 8.5;
    QTest::newRow("font size below one")
        << QByteArray("<text id=\"i\" fontSize=\"0.2\"/>") << "fontSize" << 1.0;
    QTest::newRow("font weight beyond")
        << QByteArray("<text id=\"i\" fontWeight=\"100\"/>") << "fontWeight" << 50.0;
    QTest::newRow("font weight negative")
        << QByteArray("<text id=\"i\" fontWeight=\"-3\"/>") << "fontWeight" << 0.0;
    QTest::newRow("box scale zero") << QByteArray("<checkBox id=\"i\" boxScale=\"0\"/>") << "boxScale" << 1.0;
    QTest::newRow("box scale beyond")
        << QByteArray("<checkBox id=\"i\" boxScale=\"101\"/>") << "boxScale" << 1.0;
    QTest::newRow("dpi zero") << QByteArray("<svg id=\"i\" dpi=\"0\"/>") << "dpi" << 96.0;
    QTest::newRow("dpi beyond") << QByteArray("<svg id=\"i\" dpi=\"10001\"/>") << "dpi" << 96.0;
    QTest::newRow("dpi") << QByteArray("<svg id=\"i\" dpi=\"300\"/>") << "dpi" << 300.0;
    QTest::newRow("picture scale negative")
        << QByteArray("<image id=\"i\" index=\"1\" scale=\"-2\"/>") << "scale" << 1.0;
}

void TestModel::numbersOutOfRangeFallBack()
{
    QFETCH(QByteArray, element);
    QFETCH(QString, field);
    QFETCH(double, value);
    QTemporaryDir dir;
    const QByteArray layout = "<document><page id=\"p\">" + element + "</page></document>";
    writeFile(dir.filePath("test.pak"), handMadeContainer({ { "xml", layout }, { "png", "picture" } }));
    const ReportReadResult result = readOver(dir, QByteArray(), over("", "@pack"));
    QVERIFY(result.document);
    const ReportItem* item = result.document->itemById("i");
    QVERIFY(item);
    const QHash<QString, double> fields { { "x", item->pos.x() }, { "y", item->pos.y() },
        { "width", item->size.width() }, { "height", item->size.height() },
        { "fontSize", item->style.fontSize }, { "fontWeight", item->style.fontWeight },
        { "boxScale", item->boxScale }, { "dpi", item->dpi }, { "scale", item->scale } };
    QCOMPARE(fields.value(field, -12345), value);
}

void TestModel::tablesShareTheirSizeAndInheritStyles()
{
    QTemporaryDir dir;
    const QByteArray layout
        = R"(<document><table id="t" width="300" height="60" numCols="3" numRows="2" font="Serif">
        <tableset col="0" size="100" fontSize="12"/><tableset row="1" editable="1"/><tableset/>
        <cell col="1" row="0" colspan="2" id="wide">W</cell></table></document>)";
    const ReportReadResult result = readOver(dir, layout, over("", "@pack"));
    QVERIFY(result.document);
    const ReportItem* table = result.document->itemById("t");
    QVERIFY(table);
    QCOMPARE(table->columnSizes, (QVector<qreal> { 100, 100, 100 }));
    QCOMPARE(table->rowSizes, (QVector<qreal> { 30, 30 }));
    // The set without a column or a row is left out; the row set that gave no size takes its share.
    QStringList sets;
    QStringList cells;
    for (const auto& child : table->children) {
        if (child->kind == Kind::TableSet)
            sets << QString("%1/%2:%3").arg(child->column).arg(child->row).arg(child->setSize);
        else if (child->kind == Kind::Cell)
            cells << QString("%1,%2%3 %4x%5 at %6,%7 %8 %9 %10")
                         .arg(child->column)
                         .arg(child->row)
                         .arg(child->automatic ? "*" : "")
                         .arg(child->size.width())
                         .arg(child->size.height())
                         .arg(child->pos.x())
                         .arg(child->pos.y())
                         .arg(child->style.fontFamily)
                         .arg(child->style.fontSize)
                         .arg(child->style.editable);
    }
    QCOMPARE(sets, (QStringList { "0/-1:100", "-1/1:30" }));
    // Written cells first, then one for each free grid place, column by column; a cell inherits
    // from its row's set, else its column's, else the table.
    QCOMPARE(cells,
        (QStringList { "1,0 200x30 at 100,0 Serif 8.5 0", "0,0* 100x30 at 0,0 Serif 12 0",
            "0,1* 100x30 at 0,30 Serif 8.5 1", "1,1* 100x30 at 100,30 Serif 8.5 1",
            "2,1* 100x30 at 200,30 Serif 8.5 1" }));
    QCOMPARE(table->cellAt(2, 0), nullptr);
    QCOMPARE(table->cellAt(1, 0), result.document->itemById("wide"));
}

// Of items sharing an id the last in the layout answers to it; of the cells of one table, the
// first in reading order, whatever order the file lists them in.
void TestModel::anIdNamesTheItemEnteredLast()
{
    QTemporaryDir dir;
    const QByteArray layout = R"(<document><page id="p"><text id="b">first</text><text id="b">second</text>
        <table id="t" width="20" height="20" numCols="2" numRows="2">
          <cell col="1" row="1" id="d">late</cell><cell col="0" row="0" id="d">early</cell></table>
        <text id="x">text x</text>
        <table id="t2" width="20" height="20" numCols="1" numRows="1"><cell col="0" row="0" id="x">cell x</cell>
        </table></page></document>)";
    const ReportReadResult laidOut = readOver(dir, layout, over("", "@pack"));
    QCOMPARE(textOf(laidOut, "b"), QString("second"));
    QCOMPARE(textOf(laidOut, "d"), QString("early"));
    QCOMPARE(textOf(laidOut, "x"), QString("cell x"));

    const ReportReadResult filled
        = readOver(dir, layout, over("<text id=\"b\">B</text><cell id=\"d\">D</cell>", "@pack"));
    QVERIFY(filled.document);
    const ReportItem* page = filled.document->itemById("p");
    QCOMPARE(page->children.at(0)->text, QString("first"));
    QCOMPARE(page->children.at(1)->text, QString("B"));
    const ReportItem* table = filled.document->itemById("t");
    QCOMPARE(table->cellAt(0, 0)->text, QString("D"));
    QCOMPARE(table->cellAt(1, 1)->text, QString("late"));
}

void TestModel::germanLayoutKeepsTheEnglishPackName()
{
    QTemporaryDir dir;
    QStringList firstTexts;
    for (const QString& language :
        { QStringLiteral("en_GB"), QStringLiteral("de_DE"), QStringLiteral("de_AT") }) {
        const ReportReadResult result = readOver(dir, QByteArray(), "<document/>", {}, "r.kstir", language);
        QVERIFY(result.document);
        QCOMPARE(result.document->packPath, QString(":res/reports/kstir.pak"));
        const ReportItem* page = result.document->items.front().get();
        QString first;
        for (const auto& child : page->children) {
            if (child->kind == Kind::Text && !child->text.isEmpty()) {
                first = child->text;
                break;
            }
        }
        firstTexts << first;
    }
    QVERIFY(firstTexts.at(0) != firstTexts.at(1));
    QCOMPARE(firstTexts.at(1), firstTexts.at(2));
}

void TestModel::writtenTextsHoldOnlyWhatXmlCan_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("written");

    QTest::newRow("plain") << "a & <b> \"c\""
                           << "a & <b> \"c\"";
    QTest::newRow("line ends and tabs") << "a\nb\r\tc"
                                        << "a\nb\r\tc";
    QTest::newRow("control characters") << QString("a\x01\x0b\x0c\x1f"
                                                   "b")
                                        << "ab";
    QTest::newRow("lone surrogates") << QString("a") + QChar(0xD800) + "b" + QChar(0xDC00) << "ab";
    QTest::newRow("a pair") << QString::fromUtf8("\U0001F600") << QString::fromUtf8("\U0001F600");
    QTest::newRow("non-characters") << QString("a") + QChar(0xFFFE) + QChar(0xFFFF) << "a";
}

void TestModel::writtenTextsHoldOnlyWhatXmlCan()
{
    QFETCH(QString, text);
    QFETCH(QString, written);
    ReportDocument document;
    document.items.push_back(std::make_unique<ReportItem>(Kind::Page));
    auto field = std::make_unique<ReportItem>(Kind::Text);
    field->id = "f";
    field->text = text;
    document.items.front()->addChild(std::move(field));
    DocumentContainer container;
    const QByteArray xml = ReportWriter::toXml(document, container);
    QDomDocument parsed;
    QVERIFY(parsed.setContent(xml));
    QCOMPARE(findById(parsed.documentElement(), "f").text(), written);
}

void TestModel::coloursAreWrittenAsTheyAreDrawn_data()
{
    QTest::addColumn<QString>("colour");
    for (const char* colour : { "#ff8000", "#FF8000", "#f80", "#80ff8000", "#fff000fff", "#ffff80000000",
             "#12345", "#ggg", "#", "", "#+12", "# 1 2" })
        QTest::newRow(colour) << QString(colour);
}

// As a colour is drawn and was always written: hexadecimal forms as #rrggbb, damage as black.
void TestModel::coloursAreWrittenAsTheyAreDrawn()
{
    QFETCH(QString, colour);
    QCOMPARE(reportColourName(colour), QColor(colour).name());
}

KESTROVAN_TEST_MAIN(TestModel)
#include "tst_model.moc"
