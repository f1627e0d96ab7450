// Reports are laid out in the user interface's language: the German packs are twins of the English
// ones, and a document keeps naming the pack it named whichever language shows it.
#include "DocumentContainer.h"
#include "Folders.h"
#include "ReportPack.h"
#include "ReportReader.h"
#include "ReportScene.h"
#include "ReportTestSupport.h"
#include "ReportText.h"
#include "ReportXml.h"
#include "TestSupport.h"

#include <QDir>
#include <QDomDocument>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>

using namespace ReportTestSupport;

namespace {
void setLanguage(const QString& locale)
{
    QSettings().setValue(QStringLiteral("locale"), locale);
}

// Every fixed text the scene shows, labels and headings alike.
QStringList shownTexts(ReportScene* scene)
{
    QStringList texts;
    for (QGraphicsItem* item : scene->items())
        if (item->type() == ReportText::Type)
            texts << static_cast<ReportText*>(static_cast<QGraphicsObject*>(item))->plainText();
    return texts;
}

QDomElement packRoot(const QString& path)
{
    DocumentContainer pack;
    QDomDocument document;
    if (!pack.load(path) || pack.count() == 0 || !ReportXml::parse(pack.at(0).data, &document))
        return {};
    return document.documentElement();
}

QStringList attributeList(const QDomElement& element, bool withFontSize)
{
    QStringList list;
    const QDomNamedNodeMap attributes = element.attributes();
    for (int i = 0; i < attributes.count(); ++i) {
        const QDomAttr attribute = attributes.item(i).toAttr();
        if (withFontSize || attribute.name() != QLatin1String("fontSize"))
            list << attribute.name() + QLatin1Char('=') + attribute.value();
    }
    list.sort();
    return list;
}

// Empty fields, string numbers and symbols that read the same in German.
bool sameInBothLanguages(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*\\d*\\s*$"));
    return number.match(text).hasMatch() || text == QLatin1String("Isc (A)");
}

// Compares the two trees element by element; returns where they part, empty when they agree.
// Only a fixed label (an element without an id) may change its font size; texts are counted.
QString compareLayouts(const QDomElement& english, const QDomElement& german, int* changedTexts)
{
    if (english.tagName() != german.tagName())
        return QStringLiteral("<%1> against <%2>").arg(english.tagName(), german.tagName());
    const bool label = !english.hasAttribute(QStringLiteral("id"));
    if (attributeList(english, !label) != attributeList(german, !label))
        return QStringLiteral("attributes of <%1 id=\"%2\"> at %3,%4")
            .arg(english.tagName(), english.attribute("id"), english.attribute("x"), english.attribute("y"));
    QDomElement e = english.firstChildElement();
    QDomElement g = german.firstChildElement();
    if (e.isNull() && g.isNull()) {
        if (english.text() != german.text())
            ++*changedTexts;
        else if (!sameInBothLanguages(english.text()))
            return QStringLiteral("untranslated \"%1\"").arg(english.text());
        return {};
    }
    for (; !e.isNull() && !g.isNull(); e = e.nextSiblingElement(), g = g.nextSiblingElement()) {
        const QString parted = compareLayouts(e, g, changedTexts);
        if (!parted.isEmpty())
            return parted;
    }
    if (!e.isNull() || !g.isNull())
        return QStringLiteral("children of <%1 id=\"%2\"> differ in number")
            .arg(english.tagName(), english.attribute("id"));
    return {};
}
} // namespace

class TestReportLanguages : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { initTestData(); }
    void init() { TestSupport::resetState(); }

    void layoutPackFollowsTheLanguage_data();
    void layoutPackFollowsTheLanguage();
    void germanPacksAreTwinsOfTheEnglishOnes();
    void noTwoTextBoxesOfAPackOverlap_data();
    void noTwoTextBoxesOfAPackOverlap();
    void aReportShowsTheLanguageOfTheUserAndKeepsItsPack();
    void newReportsFromTheBuiltInTemplateFollowTheLanguage();
};

void TestReportLanguages::layoutPackFollowsTheLanguage_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("named");
    QTest::addColumn<QString>("shown");
    QTest::newRow("German UI, English pack") << "de_DE"
                                             << ":res/reports/kstir.pak"
                                             << ":res/reports_de/kstir.pak";
    QTest::newRow("Austrian German") << "de_AT"
                                     << ":res/reports/kstatr.pak"
                                     << ":res/reports_de/kstatr.pak";
    QTest::newRow("German UI, German pack") << "de_DE"
                                            << ":res/reports_de/kstvc.pak"
                                            << ":res/reports_de/kstvc.pak";
    QTest::newRow("English UI, German pack") << "en"
                                             << ":res/reports_de/kstchk.pak"
                                             << ":res/reports/kstchk.pak";
    QTest::newRow("English UI, English pack") << "en"
                                              << ":res/reports/kstchk.pak"
                                              << ":res/reports/kstchk.pak";
    QTest::newRow("French UI is not German") << "fr_FR"
                                             << ":res/reports_de/kstir.pak"
                                             << ":res/reports/kstir.pak";
    QTest::newRow("no German twin") << "de_DE"
                                    << ":res/reports/missing.pak"
                                    << ":res/reports/missing.pak";
    QTest::newRow("not a built-in pack") << "de_DE"
                                         << ":/testpacks/kstatr.pak"
                                         << ":/testpacks/kstatr.pak";
    QTest::newRow("a look-alike folder") << "de_DE"
                                         << ":res/reportsX/kstir.pak"
                                         << ":res/reportsX/kstir.pak";
}

void TestReportLanguages::layoutPackFollowsTheLanguage()
{
    QFETCH(QString, locale);
    QFETCH(QString, named);
    QFETCH(QString, shown);
    QCOMPARE(ReportPack::layoutPath(named, locale), shown);
}

void TestReportLanguages::germanPacksAreTwinsOfTheEnglishOnes()
{
    const QStringList english = QDir(":res/reports").entryList({ "*.pak" }, QDir::Files, QDir::Name);
    const QStringList german = QDir(":res/reports_de").entryList({ "*.pak" }, QDir::Files, QDir::Name);
    QVERIFY(english.contains("kstatr_rev3.pak"));
    QCOMPARE(german, english);
    for (const QString& name : english) {
        const QDomElement e = packRoot(":res/reports/" + name);
        const QDomElement g = packRoot(":res/reports_de/" + name);
        QVERIFY2(!e.isNull() && !g.isNull(), qPrintable(name));
        int changedTexts = 0;
        const QString parted = compareLayouts(e, g, &changedTexts);
        QVERIFY2(parted.isEmpty(), qPrintable(name + ": " + parted));
        QVERIFY2(changedTexts > 10, qPrintable(name));
    }
}

void TestReportLanguages::noTwoTextBoxesOfAPackOverlap_data()
{
    QTest::addColumn<QString>("pack");
    for (const QString folder : { ":res/reports/", ":res/reports_de/" }) {
        for (const QString& name : QDir(folder).entryList({ "*.pak" }, QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(folder + name)) << folder + name;
    }
}

void TestReportLanguages::noTwoTextBoxesOfAPackOverlap()
{
    // A value shrunk into its box would otherwise run over the caption beside or above it.
    QFETCH(QString, pack);
    const QDomElement root = packRoot(pack);
    QVERIFY(!root.isNull());
    int boxes = 0;
    for (QDomElement page = root.firstChildElement("page"); !page.isNull();
         page = page.nextSiblingElement("page")) {
        QList<QPair<QString, QRectF>> placed;
        for (QDomElement e = page.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
            if (e.tagName() != "text" && e.tagName() != "checkBox")
                continue;
            const QRectF box(e.attribute("x").toDouble(), e.attribute("y").toDouble(),
                e.attribute("width").toDouble(), e.attribute("height").toDouble());
            if (box.isEmpty())
                continue;
            const QString name = e.attribute("id", e.text());
            for (const auto& other : qAsConst(placed))
                QVERIFY2(!other.second.intersects(box), qPrintable(name + " overlaps " + other.first));
            placed.append({ name, box });
            ++boxes;
        }
    }
    QVERIFY(boxes > 10);
}

void TestReportLanguages::aReportShowsTheLanguageOfTheUserAndKeepsItsPack()
{
    QTemporaryDir dir;
    const QString path = writeReport(dir.path(), "Site.kstvc",
        R"(<document resPak=":res/reports/kstvc.pak"><page id="page1">)"
        R"(<text id="client">Familie Weiß</text></page></document>)");

    setLanguage("de_DE");
    {
        Report report;
        QVERIFY(report.load(path));
        const QStringList texts = shownTexts(report.scene.get());
        QVERIFY(texts.contains(QString::fromUtf8("Prüfbescheinigung PV-Anlage")));
        QVERIFY(texts.contains("Auftraggeber"));
        QVERIFY(!texts.contains("PV System Verification Certificate"));
        QCOMPARE(static_cast<ReportText*>(report.scene->itemById("client"))->plainText(),
            QString::fromUtf8("Familie Weiß"));
        QCOMPARE(report.scene->packPath(), QString(":res/reports/kstvc.pak"));
        QVERIFY(report.scene->save(path));
    }
    QString saved;
    QVERIFY(ReportReader::readPackPath(path, &saved));
    QCOMPARE(saved, QString(":res/reports/kstvc.pak"));

    setLanguage("en_GB");
    {
        Report report;
        QVERIFY(report.load(path));
        const QStringList texts = shownTexts(report.scene.get());
        QVERIFY(texts.contains("PV System Verification Certificate"));
        QVERIFY(!texts.contains(QString::fromUtf8("Prüfbescheinigung PV-Anlage")));
        QCOMPARE(static_cast<ReportText*>(report.scene->itemById("client"))->plainText(),
            QString::fromUtf8("Familie Weiß"));
    }

    // A file naming the German set opens in English for an English user and keeps its name.
    const QString germanNamed = writeReport(dir.path(), "Liste.kstchk",
        R"(<document resPak=":res/reports_de/kstchk.pak"><page id="page1"/></document>)");
    {
        Report report;
        QVERIFY(report.load(germanNamed));
        QVERIFY(shownTexts(report.scene.get()).contains("Client Handover Pack Checklist"));
        QVERIFY(report.scene->save(germanNamed));
    }
    QVERIFY(ReportReader::readPackPath(germanNamed, &saved));
    QCOMPARE(saved, QString(":res/reports_de/kstchk.pak"));
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());
}

void TestReportLanguages::newReportsFromTheBuiltInTemplateFollowTheLanguage()
{
    const QList<QPair<QString, QString>> forms
        = { { "kstir", "Prüfbericht PV-Anlage" }, { "kstatr", "Prüfprotokoll PV-Generator" },
              { "kstvc", "Prüfbescheinigung PV-Anlage" }, { "kstchk", "Checkliste Übergabeunterlagen" } };
    for (const auto& form : forms) {
        setLanguage("de");
        Report german;
        QVERIFY2(german.load(Folders::builtInTemplatePath(form.first)), qPrintable(form.first));
        QVERIFY2(shownTexts(german.scene.get()).contains(form.second), qPrintable(form.first));
        QVERIFY2(german.scene->packPath().startsWith(":res/reports/"), qPrintable(german.scene->packPath()));

        setLanguage("en");
        Report english;
        QVERIFY(english.load(Folders::builtInTemplatePath(form.first)));
        QVERIFY2(!shownTexts(english.scene.get()).contains(form.second), qPrintable(form.first));
        QCOMPARE(english.scene->packPath(), german.scene->packPath());
    }
}

KESTROVAN_TEST_MAIN(TestReportLanguages)
#include "tst_languages.moc"
