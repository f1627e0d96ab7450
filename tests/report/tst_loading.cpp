#include "DocumentContainer.h"
#include "DocumentFactory.h"
#include "DocumentRegistry.h"
#include "Folders.h"
#include "GraphicsTextItem.h"
#include "ReportCheckBox.h"
#include "ReportPack.h"
#include "ReportPage.h"
#include "ReportReader.h"
#include "ReportResizableImage.h"
#include "ReportScene.h"
#include "ReportSupport.h"
#include "ReportSvg.h"
#include "ReportTable.h"
#include "ReportTableCell.h"
#include "ReportTestSupport.h"
#include "ReportText.h"
#include "ReportXml.h"
#include "TestSupport.h"

#include <QDomDocument>
#include <QGraphicsRectItem>
#include <QGraphicsSvgItem>
#include <QMessageBox>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ReportTestSupport;

namespace {
// The pictures of a scene in the order they were made.
QList<ReportResizableImage*> picturesOf(ReportScene* scene)
{
    QList<ReportResizableImage*> pictures;
    for (QGraphicsItem* item : scene->items(Qt::AscendingOrder)) {
        if (auto* picture = qgraphicsitem_cast<ReportResizableImage*>(item))
            pictures.append(picture);
    }
    return pictures;
}

QDomDocument savedXml(const QString& path)
{
    DocumentContainer container;
    QDomDocument document;
    if (container.load(path))
        ReportXml::parse(container.at(0).data, &document);
    return document;
}

QString textOf(ReportScene* scene, const QString& id)
{
    auto* text = dynamic_cast<ReportText*>(scene->itemById(id));
    return text ? text->plainText() : QStringLiteral("<none>");
}
} // namespace

class TestLoading : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { initTestData(); }
    void init() { TestSupport::resetState(); }

    void documentIsLaidOverItsPack_data();
    void documentIsLaidOverItsPack();
    void documentWithoutPackUsesTheDefaultOfItsSuffix();
    void stylesAreInheritedAndOnlyExplicitOnesWritten();
    void savingKeepsThePackAndTheValues();
    void pagesAndBackgrounds();
    void picturesComeFromTheirEntries();
    void damagedReportsAreRefused_data();
    void damagedReportsAreRefused();
    void numbersOutOfRangeFallBackToTheirDefaults();
    void failedSaveKeepsThePreviousFile();
    void newArrayTestReportFromAnOlderFavouriteWarns();
};

void TestLoading::documentIsLaidOverItsPack_data()
{
    QTest::addColumn<QString>("resPak");
    QTest::addColumn<QString>("expectedPack");
    QTest::addColumn<QString>("dateId");
    QTest::addColumn<bool>("negativeRisoId");
    // The revisions made for the tests stand under :/testpacks, so that these checks of their
    // exact layout do not depend on the program's own packs.
    QTest::newRow("first revision") << ":/testpacks/kstatr.pak"
                                    << ":/testpacks/kstatr.pak"
                                    << "date" << false;
    QTest::newRow("second revision") << ":/testpacks/kstatr_rev2.pak"
                                     << ":/testpacks/kstatr_rev2.pak"
                                     << "DD/MM/YYYY" << false;
    QTest::newRow("third revision") << ":/testpacks/kstatr_rev3.pak"
                                    << ":/testpacks/kstatr_rev3.pak"
                                    << "DD/MM/YYYY" << true;
}

void TestLoading::documentIsLaidOverItsPack()
{
    QFETCH(QString, resPak);
    QFETCH(QString, expectedPack);
    QFETCH(QString, dateId);
    QFETCH(bool, negativeRisoId);
    const QString root = QString("<document resPak=\"%1\">").arg(resPak);
    const QString xml = root + R"(
  <page id="page1" fontSize="30">
    <text id="installation_address" x="500" y="500" fontSize="40">1 Main Street</text>
    <text id="date">07/12/2026</text>
    <text id="DD/MM/YYYY">08/12/2026</text>
    <text id="no_such_field">dropped</text>
    <text x="40" y="28">A label of the document's own</text>
    <checkBox id="initial" checked="true"/>
    <checkBox id="periodic" checked="TRUE"/>
    <table id="test_table">
      <cell col="2" row="12">512.3</cell>
      <cell col="1" row="12">Open circuit</cell>
      <cell col="9" row="99">outside</cell>
    </table>
  </page>
</document>)";
    QTemporaryDir dir;
    Report report;
    QVERIFY(report.load(writeReport(dir.path(), "site.kstatr", xml.toUtf8())));
    ReportScene* scene = report.scene.get();
    QCOMPARE(scene->packPath(), expectedPack);
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());

    QCOMPARE(textOf(scene, "installation_address"), QString("1 Main Street"));
    // Only the value comes from the document: position and font stay the pack's.
    auto* address = static_cast<ReportText*>(scene->itemById("installation_address"));
    QCOMPARE(address->pos(), QPointF(180, 115));
    QCOMPARE(address->fontSize(), 8.5);
    QCOMPARE(textOf(scene, dateId), dateId == "date" ? QString("07/12/2026") : QString("08/12/2026"));
    QCOMPARE(scene->itemById(dateId == "date" ? "DD/MM/YYYY" : "date"), nullptr);
    QCOMPARE(scene->itemById("no_such_field"), nullptr);
    QVERIFY(static_cast<ReportCheckBox*>(scene->itemById("initial"))->isChecked());
    QVERIFY(!static_cast<ReportCheckBox*>(scene->itemById("periodic"))->isChecked());

    auto* table = qgraphicsitem_cast<ReportTable*>(scene->itemById("test_table"));
    QVERIFY(table);
    QCOMPARE(table->cellAt(2, 12)->plainText(), QString("512.3"));
    // A document cell over a label cell replaces the label's text.
    QCOMPARE(table->cellAt(1, 12)->plainText(), QString("Open circuit"));
    QCOMPARE(table->cellAt(1, 13)->plainText(), QString("Isc (A)"));
    // Later revisions find their row labels by id.
    QCOMPARE(scene->itemById("Voc (VDC)") == table->cellAt(1, 12), resPak.contains("rev"));
    QCOMPARE(scene->itemById("-Riso (MOhm)") == table->cellAt(1, 18), negativeRisoId);
    // Fixed labels of the document are ignored; the pack's label stays.
    bool ownLabel = false;
    for (QGraphicsItem* item : scene->items()) {
        if (auto* text = qgraphicsitem_cast<ReportText*>(item))
            ownLabel = ownLabel || text->plainText() == "A label of the document's own";
    }
    QVERIFY(!ownLabel);
}

void TestLoading::documentWithoutPackUsesTheDefaultOfItsSuffix()
{
    // Only what every first revision of the array test layout holds is checked here.
    QTemporaryDir dir;
    Report report;
    QVERIFY(report.load(writeReport(dir.path(), "old.kstatr", R"(<document><page id="page1">
      <text id="date">07/12/2026</text><text id="DD/MM/YYYY">08/12/2026</text>
      <text id="no_such_field">dropped</text><checkBox id="initial" checked="true"/></page></document>)")));
    QCOMPARE(report.scene->packPath(), QString(":res/reports/kstatr.pak"));
    QCOMPARE(textOf(report.scene.get(), "date"), QString("07/12/2026"));
    QCOMPARE(report.scene->itemById("DD/MM/YYYY"), nullptr);
    QCOMPARE(report.scene->itemById("no_such_field"), nullptr);
    QVERIFY(static_cast<ReportCheckBox*>(report.scene->itemById("initial"))->isChecked());
    // The folder is "reports" whatever the suffix; a suffix without a pack is unreadable.
    QCOMPARE(ReportPack::defaultPath("kstvc"), QString(":res/reports/kstvc.pak"));
    Report none;
    QVERIFY(!none.load(writeReport(dir.path(), "x.kstunknown", "<document/>")));
    QCOMPARE(ScriptedPrompts::get().messageTexts(),
        QStringList { "Error opening :res/reports/kstunknown.pak for reading" });
}

void TestLoading::stylesAreInheritedAndOnlyExplicitOnesWritten()
{
    QTemporaryDir dir;
    Report report;
    QVERIFY(
        report.load(writeReport(dir.path(), "s.kstir", "<document resPak=\":/testpacks/twopage.pak\"/>")));
    ReportScene* scene = report.scene.get();

    auto* page = static_cast<AbstractReportItem*>(scene->itemById("page1"));
    QCOMPARE(page->explicitStyleMask(),
        unsigned(ReportStyle::Editable | ReportStyle::Font | ReportStyle::FontSize));
    auto* name = static_cast<ReportText*>(scene->itemById("name"));
    QCOMPARE(name->explicitStyleMask(), 0u);
    QVERIFY(name->isEditable());
    QCOMPARE(name->fontFamily(), QString("Liberation Serif"));
    QCOMPARE(name->fontSize(), 9.0);
    QCOMPARE(name->fontWeight(), 50);
    QCOMPARE(name->padding(), 2.0);
    QCOMPARE(name->colour(), QColor(Qt::black));
    // The default of a page without any style attribute and without a style parent.
    auto* page2 = static_cast<AbstractReportItem*>(scene->itemById("page2"));
    QVERIFY(!page2->isEditable());
    QCOMPARE(page2->fontFamily(), QString("Arial"));
    QCOMPARE(page2->backgroundColour(), QColor("#ffffee"));
    QVERIFY(!static_cast<ReportText*>(scene->itemById("page2label"))->isEditable());

    // Cells inherit from their row, else their column, else the table (which inherits the page).
    auto* table = static_cast<ReportTable*>(scene->itemById("grid"));
    QVERIFY(!table->cellAt(0, 1)->isEditable());
    QVERIFY(table->cellAt(3, 1)->isEditable());
    QCOMPARE(table->cellAt(3, 1)->fontFamily(), QString("Liberation Serif"));

    const QString saved = dir.filePath("saved.kstir");
    QVERIFY(scene->save(saved));
    const QDomElement root = savedXml(saved).documentElement();
    const QDomElement pageElement = findById(root, "page1");
    QCOMPARE(pageElement.attribute("font"), QString("Liberation Serif"));
    QCOMPARE(pageElement.attribute("editable"), QString("1"));
    QVERIFY(!pageElement.hasAttribute("colour"));
    QVERIFY(!pageElement.hasAttribute("x"));
    QCOMPARE(pageElement.attribute("pageNumber"), QString("1"));
    const QDomElement nameElement = findById(root, "name");
    for (const char* attribute :
        { "editable", "font", "fontSize", "fontWeight", "colour", "backgroundColour", "padding" })
        QVERIFY2(!nameElement.hasAttribute(attribute), attribute);
    QCOMPARE(nameElement.attribute("width"), QString("300"));
    QCOMPARE(nameElement.attribute("x"), QString("100"));
    QDomElement label;
    for (QDomElement e = pageElement.firstChildElement("text"); !e.isNull();
         e = e.nextSiblingElement("text")) {
        if (e.text() == "Name")
            label = e;
    }
    QCOMPARE(label.attribute("editable"), QString("0"));
    QCOMPARE(label.attribute("fontWeight"), QString("75"));
    QVERIFY(!label.hasAttribute("font"));
    QVERIFY(!label.hasAttribute("id"));
    QVERIFY(!label.hasAttribute("width"));
}

void TestLoading::savingKeepsThePackAndTheValues()
{
    QTemporaryDir dir;
    const QString path
        = writeReport(dir.path(), "keep.kstatr", R"(<document resPak=":/testpacks/kstatr_rev2.pak">
  <page id="page1"><text id="inspector">A. Inspector</text><checkBox id="periodic" checked="true"/></page></document>)");
    {
        Report report;
        QVERIFY(report.load(path));
        QVERIFY(report.scene->save(path));
    }
    QString pack;
    QVERIFY(ReportReader::readPackPath(path, &pack));
    QCOMPARE(pack, QString(":/testpacks/kstatr_rev2.pak"));
    Report again;
    QVERIFY(again.load(path));
    QCOMPARE(textOf(again.scene.get(), "inspector"), QString("A. Inspector"));
    QVERIFY(static_cast<ReportCheckBox*>(again.scene->itemById("periodic"))->isChecked());
    QVERIFY(!static_cast<ReportCheckBox*>(again.scene->itemById("initial"))->isChecked());

    // A document without resPak is written with the pack it was laid over.
    const QString old = writeReport(dir.path(), "old.kstatr", "<document/>");
    Report first;
    QVERIFY(first.load(old));
    QVERIFY(first.scene->save(old));
    QVERIFY(ReportReader::readPackPath(old, &pack));
    QCOMPARE(pack, QString(":res/reports/kstatr.pak"));
}

void TestLoading::pagesAndBackgrounds()
{
    QTemporaryDir dir;
    Report report;
    QVERIFY(
        report.load(writeReport(dir.path(), "p.kstir", "<document resPak=\":/testpacks/twopage.pak\"/>")));
    const QList<ReportPage*>& pages = report.scene->pages();
    QCOMPARE(pages.size(), 2);
    QCOMPARE(pages.at(0)->pos(), QPointF(0, 0));
    QCOMPARE(pages.at(1)->pos(), QPointF(0, 1173));
    QCOMPARE(pages.at(1)->pageNumber(), 2);
    QCOMPARE(pages.at(0)->paper()->rect(), QRectF(0, 0, 793, 1123));
    QCOMPARE(pages.at(1)->paper()->brush().color(), QColor("#ffffee"));
    QCOMPARE(pages.at(0)->sceneBoundingRect(), QRectF(0, 0, 793, 1123));

    Report array;
    QVERIFY(array.load(writeReport(dir.path(), "a.kstatr", "<document resPak=\":/testpacks/kstatr.pak\"/>")));
    ReportSvg* svg = nullptr;
    for (QGraphicsItem* item : array.scene->items())
        svg = svg ? svg : qgraphicsitem_cast<ReportSvg*>(item);
    QVERIFY(svg);
    QCOMPARE(svg->dpi(), 90);
    QVERIFY(svg->drawing());
    QVERIFY(qFuzzyCompare(svg->drawing()->scale(), 96.0 / 90.0));
    // Drawn at 90 dpi, the background fills the A4 page.
    QVERIFY(qAbs(svg->sceneBoundingRect().width() - 793.6) < 1);

    // An A3 page, pages given out of order, a background without dpi.
    const QString pack = dir.filePath("a3.pak");
    QVERIFY(writeFile(pack, handMadeContainer({ { "", R"(<document>
      <page id="second" pageNumber="2"/>
      <page id="first" pageType="A3"><svg file=":/testdata/background.svg"/></page></document>)" } })));
    Report a3;
    QVERIFY(
        a3.load(writeReport(dir.path(), "b.kstir", QString("<document resPak=\"%1\"/>").arg(pack).toUtf8())));
    QCOMPARE(a3.scene->pages().size(), 2);
    QCOMPARE(a3.scene->pages().at(0)->reportId(), QString("first"));
    QCOMPARE(a3.scene->pages().at(0)->paper()->rect(), QRectF(0, 0, 842, 1190));
    QCOMPARE(a3.scene->pages().at(1)->pos(), QPointF(0, 1173));
    for (QGraphicsItem* item : a3.scene->items()) {
        if (auto* background = qgraphicsitem_cast<ReportSvg*>(item))
            QCOMPARE(background->drawing()->scale(), 1.0);
    }
}

void TestLoading::picturesComeFromTheirEntries()
{
    // Nothing is registered first: the loader makes pictures on its own, so none can go missing
    // and then be dropped by the next save.
    QTemporaryDir dir;
    const QString path
        = writeReport(dir.path(), "pictures.kstir", R"(<document resPak=":/testpacks/twopage.pak">
  <page id="page2"><image index="2" scale="1" x="10" y="20"/><image index="1" scale="1" x="30" y="40"/></page></document>)",
            { { "png", QByteArray("first picture") }, { "SVG", QByteArray("second picture") } });
    Report report;
    QVERIFY(report.load(path));
    QList<ReportResizableImage*> created = picturesOf(report.scene.get());
    QCOMPARE(created.size(), 2);
    QCOMPARE(created.at(0)->suffix(), QString("SVG"));
    QCOMPARE(created.at(0)->data(), QByteArray("second picture"));
    QCOMPARE(created.at(0)->parentItem(), report.scene->itemById("page2"));
    QCOMPARE(created.at(1)->pos(), QPointF(30, 40));

    // Written back in the order the writer meets them: entries 1 and 2 follow the XML.
    const QString saved = dir.filePath("saved.kstir");
    QVERIFY(report.scene->save(saved));
    DocumentContainer container;
    QVERIFY(container.load(saved));
    QCOMPARE(container.count(), 3);
    QCOMPARE(container.at(1).data, QByteArray("second picture"));
    QCOMPARE(container.at(2).name, QString("png"));
    QVERIFY(container.at(0).data.contains("index=\"2\""));

    // A .kstreport has no pack: only its top-level pictures are made.
    Report plain;
    QVERIFY(plain.load(writeReport(dir.path(), "p.kstreport", R"(<document><image index="1" scale="1"/>
      <page id="page1"><image index="1" scale="1"/></page></document>)",
        { { "png", QByteArray("x") } })));
    QCOMPARE(picturesOf(plain.scene.get()).size(), 1);
    QVERIFY(plain.scene->pages().isEmpty());

    // A template made by the pack compiler carries its logo as entry 1.
    const QString templ = dir.filePath("from-template.kstir");
    QVERIFY(writeFile(templ, readFile(":/testpacks/template.kstreport")));
    Report fromTemplate;
    QVERIFY(fromTemplate.load(templ));
    created = picturesOf(fromTemplate.scene.get());
    QCOMPARE(created.size(), 1);
    QCOMPARE(created.at(0)->suffix(), QString("svg"));
    QVERIFY(created.at(0)->data().contains("<svg"));
    QCOMPARE(created.at(0)->parentItem(), fromTemplate.scene->itemById("page1"));
    QCOMPARE(textOf(fromTemplate.scene.get(), "name"), QString("Template name"));
}

void TestLoading::damagedReportsAreRefused_data()
{
    // What the reader refuses is tested on the model (tst_model); here that each kind of refusal
    // reaches the user as a warning. xml is entry 0 of the report (or the whole file after
    // "raw:"); pictures adds entries after it; pack, when given, is written to a file that "@pack"
    // in the XML names.
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<int>("pictures");
    QTest::addColumn<QString>("pack");
    QTest::addColumn<QString>("message");

    const QString reading = "Error opening %1 for reading";
    const QString onPack = "Error opening @pack for reading";
    auto doc = [](const QString& resPak, const QByteArray& body) {
        return "<document resPak=\"" + resPak.toUtf8() + "\">" + body + "</document>";
    };
    const QString twoPage = ":/testpacks/twopage.pak";
    QTest::newRow("not a container") << QByteArray("raw:plain text") << 0 << QString() << reading;
    QTest::newRow("xml error") << QByteArray("<document>\n<page>") << 0 << QString()
                               << "XML validation error in %1 on line 2, column 6";
    QTest::newRow("pack with bad xml") << doc("@pack", "") << 0 << QString("<document><page>") << onPack;
    QTest::newRow("image index beyond the entries")
        << doc(twoPage, "<page id=\"page1\"><image index=\"2\"/></page>") << 1 << QString() << reading;
}

void TestLoading::damagedReportsAreRefused()
{
    QFETCH(QByteArray, xml);
    QFETCH(int, pictures);
    QFETCH(QString, pack);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString packPath = dir.filePath("test.pak");
    if (!pack.isEmpty()) {
        const QByteArray packBytes
            = pack.startsWith("raw:") ? pack.mid(4).toUtf8() : handMadeContainer({ { "", pack.toUtf8() } });
        QVERIFY(writeFile(packPath, packBytes));
    }
    xml.replace("@pack", packPath.toUtf8());
    QList<Entry> entries { { "xml", xml } };
    for (int i = 0; i < pictures; ++i)
        entries.append(Entry("png", "picture"));
    const QString path = dir.filePath("damaged.kstir");
    QVERIFY(writeFile(path, xml.startsWith("raw:") ? xml.mid(4) : handMadeContainer(entries)));
    Report report;
    QVERIFY(!report.load(path));
    message.replace("@pack", packPath);
    QCOMPARE(ScriptedPrompts::get().messageTexts(),
        QStringList { message.contains("%1") ? message.arg(path) : message });
    QCOMPARE(ScriptedPrompts::get().asked.first().message.icon, QMessageBox::Warning);
}

void TestLoading::numbersOutOfRangeFallBackToTheirDefaults()
{
    QTemporaryDir dir;
    const QString pack = dir.filePath("n.pak");
    QVERIFY(
        writeFile(pack, handMadeContainer({ { "", R"(<document><page id="p" fontSize="1e300" fontWeight="nan">
      <text id="a" x="nan" y="1e308" width="inf" height="20" editable="1">A</text>
      <text id="b" x="-5" y="12.5" width="0" height="30" fontSize="-3">B</text>
      <svg file="/dev/zero" dpi="0"/>
      <table id="t" width="nan" height="30" numCols="2" numRows="1"><tableset col="0" size="-4"/></table>
      </page></document>)" } })));
    Report report;
    // A table whose size is not a number is damage; the rest of the layout would load.
    QVERIFY(!report.load(
        writeReport(dir.path(), "n.kstir", QString("<document resPak=\"%1\"/>").arg(pack).toUtf8())));

    QVERIFY(
        writeFile(pack, handMadeContainer({ { "", R"(<document><page id="p" fontSize="1e300" fontWeight="nan">
      <text id="a" x="nan" y="1e308" width="inf" height="20" editable="1">A</text>
      <text id="b" x="-5" y="12.5" width="0" height="30" fontSize="-3">B</text>
      <svg file="/dev/zero" dpi="0"/>
      </page></document>)" } })));
    Report again;
    QVERIFY(again.load(
        writeReport(dir.path(), "m.kstir", QString("<document resPak=\"%1\"/>").arg(pack).toUtf8())));
    auto* page = again.scene->itemById("p");
    QCOMPARE(page->fontSize(), 8.5);
    QCOMPARE(page->fontWeight(), 50);
    auto* a = static_cast<ReportText*>(again.scene->itemById("a"));
    QCOMPARE(a->pos(), QPointF(0, 0));
    QCOMPARE(a->rect(), QRectF());
    auto* b = static_cast<ReportText*>(again.scene->itemById("b"));
    QCOMPARE(b->pos(), QPointF(-5, 12.5));
    QCOMPARE(b->fontSize(), 1.0);
    for (QGraphicsItem* item : again.scene->items()) {
        if (auto* svg = qgraphicsitem_cast<ReportSvg*>(item)) {
            QCOMPARE(svg->dpi(), 96);
            QCOMPARE(svg->drawing(), nullptr);
        }
    }
}

void TestLoading::failedSaveKeepsThePreviousFile()
{
    QTemporaryDir dir;
    const QString path = writeReport(dir.path(), "full.kstatr",
        "<document><page id=\"page1\"><text id=\"comments\">"
        "Before</text></page></document>");
    const QByteArray before = readFile(path);
    Report report;
    QVERIFY(report.load(path));
    // Text that does not compress makes the new file larger than the disk can take: several
    // fields as full as a field may be.
    const QStringList fields { "comments", "installation_address", "description_of_work", "inspector",
        "test_instruments" };
    QStringList noise;
    quint32 seed = 12345;
    for (const QString& id : fields) {
        QString text;
        for (int i = 0; i < ReportLimits::MaxFieldLength; ++i) {
            seed = seed * 1103515245 + 12345;
            text += QChar(0x4E00 + int((seed >> 8) % 2000));
        }
        noise << text;
        static_cast<ReportText*>(report.scene->itemById(id))->textItem()->setPlainText(text);
    }

    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit { 16 * 1024, 16 * 1024 };
        setrlimit(RLIMIT_FSIZE, &limit);
        ScriptedPrompts::get().reset();
        const bool saved = report.scene->save(path);
        const QStringList texts = ScriptedPrompts::get().messageTexts();
        const bool told = texts == QStringList { QString("Error opening %1 for writing").arg(path) }
            && ScriptedPrompts::get().asked.first().message.informativeText
                == "Is the file read-only or has it been deleted?";
        _exit(!saved && told ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(readFile(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList { "full.kstatr" });

    // Without the limit the same save goes through.
    QVERIFY(report.scene->save(path));
    Report again;
    QVERIFY(again.load(path));
    for (int i = 0; i < fields.size(); ++i)
        QCOMPARE(textOf(again.scene.get(), fields.at(i)), noise.at(i));
}

void TestLoading::newArrayTestReportFromAnOlderFavouriteWarns()
{
    ReportSupport::registerWithDocuments();
    QTemporaryDir project;
    const QString favourite = Folders::instance()->favouriteTemplatePath("kstatr");
    const QString warning
        = "You are creating an Array Test Report from a favourite that was created in an older "
          "version of the program. If you use this version then you will not be able to import "
          "data into it.";

    // The current revision: no question, the favourite is copied.
    writeReport(
        QFileInfo(favourite).path(), "default.kstatr", "<document resPak=\":res/reports/kstatr_rev3.pak\"/>");
    QCOMPARE(QFileInfo(createNewDocument(project.path(), "Test.kstatr")).fileName(), QString("Test.kstatr"));
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());

    // An older revision, kept on No.
    writeReport(
        QFileInfo(favourite).path(), "default.kstatr", "<document resPak=\":res/reports/kstatr_rev2.pak\"/>");
    ScriptedPrompts::get().buttons << QMessageBox::No;
    const QString second = createNewDocument(project.path(), "Test.kstatr");
    QCOMPARE(ScriptedPrompts::get().messageTexts(), QStringList { warning });
    const MessageRequest asked = ScriptedPrompts::get().asked.first().message;
    QCOMPARE(asked.icon, QMessageBox::Warning);
    QCOMPARE(asked.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(asked.informativeText,
        QString("Would you like to replace the favourite with the new version of the report?"));
    QCOMPARE(readFile(second), readFile(favourite));

    // Yes deletes the favourite before the copy is made.
    ScriptedPrompts::get().reset();
    writeReport(QFileInfo(favourite).path(), "default.kstatr", "<document/>");
    ScriptedPrompts::get().buttons << QMessageBox::Yes;
    createNewDocument(project.path(), "Test.kstatr");
    QCOMPARE(ScriptedPrompts::get().messageTexts().first(), warning);
    QVERIFY(readFile(favourite) != handMadeContainer({ { "xml", "<document/>" } }));

    // A favourite that cannot be read is left alone.
    ScriptedPrompts::get().reset();
    QVERIFY(writeFile(favourite, "not a report"));
    createNewDocument(project.path(), "Test.kstatr");
    QVERIFY(!ScriptedPrompts::get().messageTexts().contains(warning));
    QCOMPARE(readFile(favourite), QByteArray("not a report"));
}

KESTROVAN_TEST_MAIN(TestLoading)
#include "tst_loading.moc"
