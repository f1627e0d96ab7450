#include "DiagramFileCheck.h"
#include "DiagramFormat.h"
#include "DiagramModel.h"
#include "TestSupport.h"

#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace Diagram;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A caption's size is what the drawing lays its text out in: the model keeps what the file
// says, the scene what the text then needs.
QByteArray withoutCaptionSizes(QByteArray xml)
{
    return QString::fromUtf8(xml)
        .remove(QRegularExpression(QStringLiteral(" width=\"[^\"]*\" height=\"[^\"]*\"")))
        .toUtf8();
}

QString kindName(int type)
{
    switch (type) {
    case AcIsolatorType:
        return "ac";
    case DcIsolatorType:
        return "dc";
    case DistributionBoardType:
        return "board";
    case GenerationMeterType:
        return "meter";
    case InverterType:
        return "inverter";
    case LabelType:
        return "note";
    case PanelType:
        return "panel";
    default:
        return QString::number(type, 16);
    }
}

QString point(const QPointF& p)
{
    return QStringLiteral("(%1,%2)").arg(p.x(), 0, 'g', 17).arg(p.y(), 0, 'g', 17);
}

QString end(const CableEnd& e)
{
    return e.attached ? QStringLiteral("%1%2/%3").arg(e.componentId, point(e.offset)).arg(e.side) : "-";
}

// The model in a few words, written here rather than by the writer under test.
QString describe(const DiagramModel& model)
{
    QStringList parts;
    for (const Component& c : model.components) {
        QString s = QStringLiteral("%1 %2 %3").arg(kindName(c.type), c.id, point(c.position));
        if (c.hasCaption) {
            s += QStringLiteral(" [%1 %2x%3 '%4']")
                     .arg(point(c.caption.position))
                     .arg(c.caption.size.width())
                     .arg(c.caption.size.height())
                     .arg(c.caption.text);
        }
        parts << s;
    }
    for (const Cable& c : model.cables)
        parts << QStringLiteral("cable%1 %2 %3 %4").arg(c.kind).arg(c.id, end(c.endA), end(c.endB));
    parts << QStringLiteral("next %1").arg(model.ids.next());
    return parts.join("; ");
}

QPointF pointFrom(const QString& text)
{
    const QStringList xy = text.split(',');
    return QPointF(xy.value(0).toDouble(), xy.value(1).toDouble());
}

// Runs edits written as "op args; op args" on a model, the way the undo commands make them.
// A caption text writes a line feed as "|".
void runEdits(DiagramModel& model, const QString& script)
{
    RemovedComponent removed;
    Cable removedCable;
    Caption takenCaption;
    for (const QString& step : script.split("; ", Qt::SkipEmptyParts)) {
        const QStringList w = step.split(' ');
        const QString op = w.value(0);
        const QString id = w.value(1);
        if (op == "place") {
            model.place({ id, pointFrom(w.value(2)), pointFrom(w.value(3)) });
        } else if (op == "text") {
            model.setCaptionText(id, w.mid(2).join(' ').replace('|', '\n'));
        } else if (op == "size") {
            const QStringList wh = w.value(2).split('x');
            model.setCaptionSize(id, QSizeF(wh.value(0).toDouble(), wh.value(1).toDouble()));
        } else if (op == "takecaption") {
            takenCaption = model.takeCaption(id);
        } else if (op == "putcaption") {
            model.putCaption(id, takenCaption);
        } else if (op == "end") {
            // end <cable> A|B <component>@<x>,<y>/<side>, or - for a loose end
            CableEnd end;
            if (w.value(3) != "-") {
                const QStringList parts = w.value(3).split(QRegularExpression("[@/]"));
                end = { true, parts.value(0), pointFrom(parts.value(1)), parts.value(2).toInt() };
            }
            model.setCableEnd(id, w.value(2) == "A" ? EndA : EndB, end);
        } else if (op == "remove") {
            removed = model.removeComponent(id);
        } else if (op == "restore") {
            model.restoreComponent(removed);
        } else if (op == "removecable") {
            removedCable = model.removeCable(id);
        } else if (op == "addcable") {
            model.addCable(removedCable);
        } else if (op == "addpanel") {
            model.addComponent({ PanelType, id, pointFrom(w.value(2)), false, {} });
        } else if (op == "append") { // the list changed behind the model's back, as the reader does
            model.components.append({ DcIsolatorType, id, QPointF(), false, {} });
        } else if (op == "rename") {
            model.components[model.componentIndex(id)].id = w.value(2);
        } else {
            QFAIL(qPrintable("unknown edit " + op));
        }
    }
}

} // namespace

// The diagram's model and its file, without a scene.
class TestDiagramModel : public QObject
{
    Q_OBJECT
private slots:
    void storedFilesRoundTrip_data();
    void storedFilesRoundTrip();
    void readingForgivesAndBounds_data();
    void readingForgivesAndBounds();
    void refusedFilesSayWhy_data();
    void refusedFilesSayWhy();
    void writingIsPlainAndExact_data();
    void writingIsPlainAndExact();
    void editsChangeTheModel_data();
    void editsChangeTheModel();
};

void TestDiagramModel::storedFilesRoundTrip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("renumbered");
    for (const char* name : { "drawn", "site", "handwritten", "values" })
        QTest::newRow(name) << QString(name) << false;
    QTest::newRow("twins") << QString("twins") << true;
}

void TestDiagramModel::storedFilesRoundTrip()
{
    QFETCH(QString, name);
    QFETCH(bool, renumbered);
    const QString folder = TestSupport::dataFolder() + "/diagram/";
    const QByteArray expected = readAll(folder + name + ".saved.kstid");
    QVERIFY(!expected.isEmpty());

    DiagramModel model;
    const DiagramFormat::ReadResult read = DiagramFormat::readFile(folder + name + ".kstid", &model);
    QCOMPARE(int(read.problem), int(DiagramFormat::None));
    QCOMPARE(read.renumbered, renumbered);
    QCOMPARE(withoutCaptionSizes(DiagramFormat::write(model)), withoutCaptionSizes(expected));

    // What the program saved comes back byte for byte, caption sizes included.
    DiagramModel saved;
    const DiagramFormat::ReadResult again = DiagramFormat::read(expected, &saved);
    QCOMPARE(int(again.problem), int(DiagramFormat::None));
    QVERIFY(!again.renumbered);
    QCOMPARE(DiagramFormat::write(saved), expected);
    QCOMPARE(saved.ids.next(), model.ids.next());
}

void TestDiagramModel::readingForgivesAndBounds_data()
{
    QTest::addColumn<QByteArray>("items"); // inside the root element
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("renumbered");
    QTest::newRow("empty") << QByteArray() << "next 1" << false;
    QTest::newRow("every kind, unknown elements skipped")
        << QByteArray("<ac_isolator id='id1'/><dc_isolator id='id2'/><distribution_board id='id3'/>"
                      "<generation_meter id='id4'/><inverter id='id5'/><label id='id6'/><panel id='id7'/>"
                      "<sunshade id='id40'/><connection type='AC' id='id8'/><connection type='DC' id='id9'/>"
                      "<connection type='Single' id='id10'/><connection type='Three phase' id='id11'/>")
        << "ac id1 (0,0); dc id2 (0,0); board id3 (0,0); meter id4 (0,0); inverter id5 (0,0); "
           "note id6 (0,0); panel id7 (0,0); cable3 id8 - -; cable2 id9 - -; cable1 id10 - -; "
           "cable0 id11 - -; next 12"
        << false;
    QTest::newRow("caption defaults and text kept as written")
        << QByteArray("<inverter id='id2' x='-120' y='40.5' junk='1'><label text='A&#10;&lt;b&gt;'/>"
                      "<label text='second'/></inverter>")
        << "inverter id2 (-120,40.5) [(0,0) 50x10 'A\n<b>']; next 3" << false;
    QTest::newRow("numbers beyond a drawing")
        << QByteArray("<panel id='id1' x='nan' y='1e300'/><panel id='id2' x='inf' y='-1e7'/>"
                      "<panel id='id3' x='1,5' y='10000000.1'/>"
                      "<inverter id='id4'><label x='-inf' y='3' width='-5' height='nan'/></inverter>")
        << "panel id1 (0,0); panel id2 (0,-10000000); panel id3 (0,0); inverter id4 (0,0) [(0,3) 50x10 '']; "
           "next 5"
        << false;
    QTest::newRow("cable ends: found, later, missing, bounded")
        << QByteArray(
               "<panel id='id1' x='10' y='20'/>"
               "<connection type='Single' id='id2'>"
               "<connectionA connectedItemId='id1' connectedPosX='nan' connectedPosY='5' "
               "direction='999999999999'/>"
               "<connectionB connectedItemId='id3' connectedPosX='1' connectedPosY='1' direction='4'/>"
               "</connection><panel id='id3'/>"
               "<connection type='DC' id='id4'><connectionB connectedItemId='id1' connectedPosX='1e300' "
               "connectedPosY='15' direction='abc'/><connectionA connectedItemId='id99'/></connection>")
        << "panel id1 (10,20); panel id3 (0,0); cable1 id2 id1(0,5)/0 -; cable2 id4 - id1(0,15)/0; next 5"
        << false;
    QTest::newRow("offset as the drawing holds it")
        << QByteArray("<panel id='id1' x='1234567.89' y='0.1'/><connection type='Single' id='id2'>"
                      "<connectionA connectedItemId='id1' connectedPosX='0.3' connectedPosY='0.2' "
                      "direction='1'/></connection>")
        << "panel id1 (1234567.8899999999,0.10000000000000001); "
           "cable1 id2 id1(0.30000000004656613,0.20000000000000004)/1 -; next 3"
        << false;
    QTest::newRow("twin ids: first keeps it, components before cables")
        << QByteArray("<connection type='Single' id='id3'/><inverter id='id3'/><inverter id='id3' x='500'/>"
                      "<connection type='Single' id='id1'><connectionA connectedItemId='id3' "
                      "connectedPosX='150' connectedPosY='50' direction='4'/></connection>"
                      "<panel/><panel id=''/><panel id='idx'/>")
        << "inverter id3 (0,0); inverter id4 (500,0); panel  (0,0); panel id5 (0,0); panel idx (0,0); "
           "cable1 id6 - -; cable1 id1 id3(150,50)/4 -; next 7"
        << true;
    QTest::newRow("an end finds a renumbered twin by its new id only if listed before")
        << QByteArray("<panel id='id2'/><panel id='id2' x='9'/><connection type='Single' id='id1'>"
                      "<connectionA connectedItemId='id3' direction='2'/></connection>")
        << "panel id2 (0,0); panel id3 (9,0); cable1 id1 id3(0,0)/2 -; next 4" << true;
    // The parser lets a control character through in an attribute; the writer would drop it,
    // making twins of ids that were different when read.
    QTest::newRow("ids as they will be written")
        << QByteArray("<inverter id='i\x1b\x1b"
                      "d3'/><inverter id='id3'/><connection type='AC' id='\x01id1'>"
                      "<connectionA connectedItemId='id\x02"
                      "3' connectedPosX='150' connectedPosY='50' "
                      "direction='4'/></connection>")
        << "inverter id3 (0,0); inverter id4 (0,0); cable3 id1 id3(150,50)/4 -; next 5" << true;
    QTest::newRow("numbers run out")
        << QByteArray("<panel id='id2147483646'/><panel id='id2147483646'/><panel id='id99999999999'/>"
                      "<connection type='AC' id='id1'/>")
        << "panel id2147483646 (0,0); panel id2 (0,0); panel id99999999999 (0,0); cable3 id1 - -; "
           "next 2147483647"
        << true;
}

void TestDiagramModel::readingForgivesAndBounds()
{
    QFETCH(QByteArray, items);
    QFETCH(QString, model);
    QFETCH(bool, renumbered);
    DiagramModel read;
    const DiagramFormat::ReadResult result
        = DiagramFormat::read("<installation_diagram>" + items + "</installation_diagram>", &read);
    QCOMPARE(int(result.problem), int(DiagramFormat::None));
    QCOMPARE(describe(read), model);
    QCOMPARE(result.renumbered, renumbered);
    // Whatever was read is written so that it reads back the same, without new twins.
    DiagramModel again;
    QCOMPARE(int(DiagramFormat::read(DiagramFormat::write(read), &again).problem), int(DiagramFormat::None));
    QCOMPARE(describe(again), describe(read));
}

void TestDiagramModel::refusedFilesSayWhy_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("problem");
    QTest::addColumn<int>("line");
    QTest::addColumn<bool>("message");
    QTest::newRow("entity expansion") << QByteArray(
        "<?xml version=\"1.0\"?>\n<!DOCTYPE d [<!ENTITY a \"aaaa\">]>\n<d><label text=\"&a;\"/></d>")
                                      << int(DiagramFormat::DocumentType) << 2 << false;
    QTest::newRow("external entity") << QByteArray(R"(<!DOCTYPE x SYSTEM "file:///etc/passwd"><x/>)")
                                     << int(DiagramFormat::DocumentType) << 1 << false;
    QByteArray many = "<installation_diagram>";
    for (int i = 0; i <= DiagramFileCheck::MaxItems; ++i)
        many += "<panel/>";
    QTest::newRow("too many items") << many + "</installation_diagram>" << int(DiagramFormat::TooManyItems)
                                    << 1 << false;
    QTest::newRow("as many as allowed")
        << many.chopped(8) + "</installation_diagram>" << int(DiagramFormat::None) << 0 << false;
    QTest::newRow("too deep") << QByteArray(40, 'x').replace("x", "<a>") << int(DiagramFormat::TooDeep) << 1
                              << false;
    QTest::newRow("mismatched tag") << QByteArray(
        "<installation_diagram>\n<panel id=\"id1\"></installation_diagram>")
                                    << int(DiagramFormat::Malformed) << 2 << true;
    QTest::newRow("truncated") << QByteArray("<installation_diagram><panel id=\"id1\" x=\"1")
                               << int(DiagramFormat::Malformed) << 1 << true;
    QTest::newRow("not XML") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11) << int(DiagramFormat::Malformed)
                             << 1 << true;
    QTest::newRow("empty file") << QByteArray() << int(DiagramFormat::Malformed) << 1 << true;
    QTest::newRow("too large") << QByteArray(DiagramFileCheck::MaxFileSize + 1, ' ')
                               << int(DiagramFormat::TooLarge) << 0 << false;
}

void TestDiagramModel::refusedFilesSayWhy()
{
    QFETCH(QByteArray, content);
    QFETCH(int, problem);
    QFETCH(int, line);
    QFETCH(bool, message);
    DiagramModel model;
    model.components.append(Component { PanelType, "id1", QPointF(1, 2), false, {} });
    const DiagramFormat::ReadResult result = DiagramFormat::read(content, &model);
    QCOMPARE(int(result.problem), problem);
    QCOMPARE(result.line, qint64(line));
    QCOMPARE(!result.message.isEmpty(), message);
    // A refused file leaves the model alone.
    if (problem != DiagramFormat::None)
        QCOMPARE(describe(model), QString("panel id1 (1,2); next 1"));
}

void TestDiagramModel::writingIsPlainAndExact_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("de_DE") << "de_DE";
    QTest::newRow("fr_FR") << "fr_FR";
    QTest::newRow("en_US") << "en_US";
}

void TestDiagramModel::writingIsPlainAndExact()
{
    QFETCH(QString, locale);
    DiagramModel model;
    Component note { LabelType, "id1", QPointF(1050, 12345.6), true, {} };
    // Characters XML 1.0 cannot hold are dropped; a lone surrogate too, a pair is kept.
    note.caption = Caption { QPointF(0.1, -2e-7), QSizeF(75.09375, 40),
        QString("Tab\there\nA\x01"
                "B")
            + QChar(0xFFFE) + QChar(0xD800) + "C" + QChar(0xD83D) + QChar(0xDE00) };
    model.components.append(note);
    model.components.append(Component { PanelType, "id2", QPointF(-0.5, 1e7), false, {} });
    Cable cable;
    cable.kind = AcCable;
    cable.id = "id3";
    cable.endB = CableEnd { true, "id2", QPointF(30, 20.25), Right };
    model.cables.append(cable);
    model.cables.append(Cable { 7, "id4", {}, {} });

    const QLocale previous;
    QLocale::setDefault(QLocale(locale));
    const QByteArray bytes = DiagramFormat::write(model);
    QLocale::setDefault(previous);
    QCOMPARE(bytes,
        QByteArray("<installation_diagram>\n"
                   "  <label id=\"id1\" x=\"1050\" y=\"12345.6\">\n"
                   "    <label x=\"0.10000000000000001\" y=\"-1.9999999999999999e-07\" width=\"75.09375\" "
                   "height=\"40\" text=\"Tab&#9;here&#10;ABC\xF0\x9F\x98\x80\"/>\n"
                   "  </label>\n"
                   "  <panel id=\"id2\" x=\"-0.5\" y=\"10000000\"/>\n"
                   "  <connection type=\"AC\" id=\"id3\">\n"
                   "    <connectionB connectedItemId=\"id2\" connectedPosX=\"30\" connectedPosY=\"20.25\" "
                   "direction=\"4\"/>\n"
                   "  </connection>\n"
                   "  <connection type=\"\" id=\"id4\"/>\n"
                   "</installation_diagram>\n"));
    // And it reads back to the same numbers.
    DiagramModel read;
    QCOMPARE(int(DiagramFormat::read(bytes, &read).problem), int(DiagramFormat::None));
    QCOMPARE(read.components.at(0).caption.position, QPointF(0.1, -2e-7));
    QCOMPARE(read.components.at(0).position, QPointF(1050, 12345.6));

    QCOMPARE(DiagramFormat::write(DiagramModel()), QByteArray("<installation_diagram/>\n"));
}

void TestDiagramModel::editsChangeTheModel_data()
{
    QTest::addColumn<QString>("edits");
    QTest::addColumn<QString>("model");
    const QString cables = "cable1 id3 id2(15,0)/1 id1(150,5)/4; cable2 id4 id1(0,5)/8 -; next 5";
    const QString inverter = "inverter id1 (10,20) [(0,50) 120x40 'Inv']";
    const QString start = inverter + "; panel id2 (100,0); " + cables;
    QTest::newRow("nothing") << "" << start;
    QTest::newRow("a component is placed with its caption; its ends keep their offsets")
        << "place id1 -5,7 1,2.5"
        << "inverter id1 (-5,7) [(1,2.5) 120x40 'Inv']; panel id2 (100,0); " + cables;
    QTest::newRow("a component without a caption shows none after a placement")
        << "place id2 1,1 9,9" << inverter + "; panel id2 (1,1); " + cables;
    QTest::newRow("ids the model does not hold change nothing")
        << "place id9 1,1 1,1; place id3 1,1 1,1; text id9 x; size id9 1x1; takecaption id9; "
           "putcaption id3; end id9 A -; end id1 A -; remove id9; restore; remove id3; restore; "
           "removecable id9; removecable id1"
        << start;
    QTest::newRow("caption text and the box it is laid out in")
        << "text id1 Two|lines <b>; size id1 130.5x45"
        << "inverter id1 (10,20) [(0,50) 130.5x45 'Two\nlines <b>']; panel id2 (100,0); " + cables;
    QTest::newRow("a component without a caption gets no text") << "text id2 x; size id2 5x5" << start;
    QTest::newRow("caption taken away") << "takecaption id1"
                                        << "inverter id1 (10,20); panel id2 (100,0); " + cables;
    QTest::newRow("caption taken away and given back as it was")
        << "takecaption id1; place id1 10,20 0,50; putcaption id1" << start;
    QTest::newRow("cable ends attached elsewhere and let go") << "end id4 B id2@0,20.5/8; end id3 A -"
                                                              << inverter
            + "; panel id2 (100,0); cable1 id3 - id1(150,5)/4; cable2 id4 id1(0,5)/8 id2(0,20.5)/8; next 5";
    QTest::newRow("a removed component lets go of every end on it")
        << "remove id1"
        << "panel id2 (100,0); cable1 id3 id2(15,0)/1 -; cable2 id4 - -; next 5";
    QTest::newRow("a removed component comes back with its ends") << "remove id1; restore" << start;
    QTest::newRow("a returning component lies on top") << "remove id2; restore"
                                                       << "panel id2 (100,0); " + inverter + "; " + cables;
    QTest::newRow("placing a removed component changes nothing")
        << "remove id2; place id2 5,5 5,5; restore"
        << "panel id2 (100,0); " + inverter + "; " + cables;
    QTest::newRow("a removed cable") << "removecable id3"
                                     << start.left(start.indexOf("cable1"))
            + "cable2 id4 id1(0,5)/8 -; next 5";
    QTest::newRow("a returning cable lies on top") << "removecable id4; addcable"
                                                   << inverter
            + "; panel id2 (100,0); cable2 id4 id1(0,5)/8 -; cable1 id3 id2(15,0)/1 id1(150,5)/4; next 5";
    QTest::newRow("a new component lies on top") << "addpanel id5 3,4"
                                                 << "panel id5 (3,4); " + start;
    QTest::newRow("lists changed directly are found")
        << "append id7; place id7 1,1 0,0; rename id1 id8; place id8 2,2 3,3; place id1 9,9 9,9"
        << "inverter id8 (2,2) [(3,3) 120x40 'Inv']; panel id2 (100,0); dc id7 (1,1); " + cables;
}

void TestDiagramModel::editsChangeTheModel()
{
    QFETCH(QString, edits);
    QFETCH(QString, model);
    DiagramModel drawing;
    const QByteArray xml
        = "<installation_diagram>"
          "<inverter id='id1' x='10' y='20'>"
          "<label x='0' y='50' width='120' height='40' text='Inv'/></inverter>"
          "<panel id='id2' x='100' y='0'/>"
          "<connection type='Single' id='id3'>"
          "<connectionA connectedItemId='id2' connectedPosX='15' connectedPosY='0' direction='1'/>"
          "<connectionB connectedItemId='id1' connectedPosX='150' connectedPosY='5' direction='4'/>"
          "</connection><connection type='DC' id='id4'>"
          "<connectionA connectedItemId='id1' connectedPosX='0' connectedPosY='5' direction='8'/>"
          "</connection></installation_diagram>";
    QCOMPARE(int(DiagramFormat::read(xml, &drawing).problem), int(DiagramFormat::None));
    runEdits(drawing, edits);
    QCOMPARE(describe(drawing), model);
}

KESTROVAN_TEST_MAIN(TestDiagramModel)
#include "tst_model.moc"
