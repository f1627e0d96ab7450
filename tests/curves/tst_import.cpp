// Importing tester curve files and survey-meter readings into a curve file: line parsing,
// checksums, status bits, dip removal, robustness against bad files, time matching and the
// questions asked before values are replaced.
#include "CurveGraphModel.h"
#include "CurveRecord.h"
#include "CurveStore.h"
#include "CurveTestSupport.h"
#include "CurveTreeModel.h"
#include "FileNames.h"
#include "Folders.h"
#include "ImportPrompts.h"
#include "MeterFileImporter.h"
#include "TestSupport.h"
#include "TesterFileGenerator.h"
#include "TesterFileImporter.h"
#include "TreeItem.h"

#include <QMessageBox>
#include <QMimeData>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <sys/stat.h>

using namespace IVCurve;
using namespace CurveTestSupport;

namespace {
const QString header1 = QStringLiteral("PV Tester Results,SN 777,Export,2");
const QString header2
    = QStringLiteral("Index,DD/MM/YYYY,HH:MM:SS,Voc (VDC),Isc (ADC),Irr (W/m2),Ta (C),Tpv (C),FF,IVCurve");

// The tester's checksum, worked out here independently of the importer: 1 plus the codes of
// every character up to and including the last separator, the decimal counted as '.'.
QString withChecksum(
    const QString& fieldsWithStatus, QChar separator = QLatin1Char(','), QChar decimal = QLatin1Char('.'))
{
    const QString body = fieldsWithStatus + separator;
    uint sum = 1;
    for (QChar c : body)
        sum += c == decimal ? 46u : c == separator ? 44u : uint(c.toLatin1());
    return body + QString::number(sum & 0xFFFF, 16).toUpper();
}

QString curveLine(int index, const QString& date, const QString& time, const QString& irr, const QString& tpv,
    const QString& points, int status = 0)
{
    return withChecksum(QStringLiteral("%1,%2,%3,40.5,8.2,%4,18,%5,0.75,%6,%7")
                            .arg(index)
                            .arg(date, time, irr, tpv, points)
                            .arg(status));
}

QString pointsText(const QList<QList<double>>& points)
{
    QStringList fields;
    for (const QList<double>& p : points) {
        QStringList parts;
        for (double v : p)
            parts << QString::number(v);
        fields << parts.join(QLatin1Char(':'));
    }
    return fields.join(QLatin1Char(','));
}

QByteArray file(const QStringList& dataLines, const QString& h1 = header1, const QString& h2 = header2)
{
    return (QStringList { h1, h2 } + dataLines).join(QStringLiteral("\r\n")).toLatin1() + "\r\n";
}

// The importers as the curve window runs them: the questions asked through the prompts while
// the file is read, and what each step found told once it returns.
class PromptedTester : public TesterFileImporter
{
public:
    explicit PromptedTester(CurveStore& store)
        : TesterFileImporter(store, &m_prompts)
    { }
    bool importFile(const QString& path)
    {
        const bool imported = TesterFileImporter::importFile(path);
        m_prompts.tell(takeNotices());
        return imported;
    }
    TreeItem* importData(const QByteArray& content, const QString& folderLabel)
    {
        TreeItem* folder = TesterFileImporter::importData(content, folderLabel);
        m_prompts.tell(takeNotices());
        return folder;
    }

private:
    ImportPrompts m_prompts { nullptr };
};

class PromptedMeter : public MeterFileImporter
{
public:
    explicit PromptedMeter(CurveStore& store)
        : MeterFileImporter(store, &m_prompts)
    { }
    void importFile(const QString& path, const QModelIndexList& selected)
    {
        MeterFileImporter::importFile(path, selected);
        m_prompts.tell(takeNotices());
    }
    bool readFile(const QString& path)
    {
        const bool read = MeterFileImporter::readFile(path);
        m_prompts.tell(takeNotices());
        return read;
    }
    bool readLines(const QStringList& lines)
    {
        const bool read = MeterFileImporter::readLines(lines);
        m_prompts.tell(takeNotices());
        return read;
    }
    void match(const QModelIndexList& selected)
    {
        MeterFileImporter::match(selected);
        m_prompts.tell(takeNotices());
    }

private:
    ImportPrompts m_prompts { nullptr };
};

QList<double> currents(const CurveSeries& series)
{
    QList<double> result;
    for (const QPointF& p : series.points())
        result << p.y();
    return result;
}
} // namespace

class TestImport : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void linesBecomeStringsInFileOrder();
    void checksumsAndTheirQuestion();
    void spreadsheetSavedFileSkipsChecksums();
    void datesTimesAndPointFields();
    void statusBits();
    void dipRemoval();
    void notTesterFilesAddNothing_data();
    void notTesterFilesAddNothing();
    void longCurvesStopAtThePointLimit();
    void separatorComesFromTheFile_data();
    void separatorComesFromTheFile();
    void cancellingKeepsWhatWasImported();
    void filesThatAreNoFiles();
    void zeroDegreesIsAMeasurement();

    void meterHeaderAndValues();
    void meterMatchingWindow();
    void meterDuplicateTimes();
    void meterReplaceQuestions();
    void meterWritesStatusAndCurve();
    void meterForASelectedFolder();
    void meterDecimalCommaLocale();
    void meterImportDrawsOnceAndCancels();
    void meterFileForms_data();
    void meterFileForms();
    void generatedFilesMatch();

private:
    CurveStore& store();
    TreeItem* importText(const QByteArray& content, const QString& label = QStringLiteral("t.csv"));
    QModelIndexList stringIndexes(TreeItem* folder);
    QString writeFile(const QString& name, const QByteArray& content);

    QTemporaryDir m_dir;
    std::unique_ptr<CurveStore> m_store;
};

void TestImport::init()
{
    TestSupport::resetState();
    ScriptedPrompts::get().reset();
    const QString path = m_dir.filePath(QStringLiteral("curves.kstcrv"));
    QFile::remove(path);
    QVERIFY(copyTemplate(path));
    m_store = std::make_unique<CurveStore>(path);
    QVERIFY(m_store->isOpen());
}

void TestImport::cleanup()
{
    m_store.reset();
    QLocale::setDefault(QLocale::c());
}

CurveStore& TestImport::store()
{
    return *m_store;
}

TreeItem* TestImport::importText(const QByteArray& content, const QString& label)
{
    PromptedTester importer(store());
    return importer.importData(content, label);
}

QModelIndexList TestImport::stringIndexes(TreeItem* folder)
{
    QModelIndexList result;
    for (int i = 0; i < folder->childCount(); ++i)
        result << store().treeModel()->indexForItem(folder->child(i));
    return result;
}

QString TestImport::writeFile(const QString& name, const QByteArray& content)
{
    return CurveTestSupport::writeFile(m_dir.filePath(name), content);
}

void TestImport::linesBecomeStringsInFileOrder()
{
    const QString points = pointsText({ { 0, 8.2, 900, 0 }, { 20, 8.0, 900, 0 }, { 40.5, 0, 900, 0 } });
    const QString path = writeFile(QStringLiteral("site.csv"),
        file({ curveLine(3, "07/03/2014", "09:05:00", "900", "30", points),
            curveLine(1, "07/03/2014", "09:06:00", "900", "30", points),
            curveLine(2, "07/03/2014", "09:07:00", "900", "30", points) }));
    QSignalSpy modified(store().treeModel(), &CurveTreeModel::modified);
    PromptedTester importer(store());
    QVERIFY(importer.importFile(path));
    QVERIFY(!modified.isEmpty());

    TreeItem* root = store().treeModel()->rootItem();
    QCOMPARE(root->childCount(), 1);
    TreeItem* folder = root->child(0);
    QCOMPARE(folder->data(TreeLabel).toString(), QString("site.csv"));
    QCOMPARE(folder->childCount(), 3);
    QStringList labels;
    for (int i = 0; i < 3; ++i)
        labels << folder->child(i)->data(TreeLabel).toString();
    QCOMPARE(labels, QStringList({ "String 3", "String 1", "String 2" }));
    QCOMPARE(importer.importedCount(), 3);

    // Each node names its curve row, which holds the line's values and points.
    TreeItem* node = folder->child(0);
    QCOMPARE(node->data(TreeMemLocation).toUInt(), 3u);
    QCOMPARE(node->data(TreeStatus).toUInt(), 0u);
    const uint curveID = node->data(TreeCurveID).toUInt();
    QVERIFY(curveID > 0);
    std::unique_ptr<CurveRecord> record = store().graphModel()->load(curveID);
    QVERIFY(record);
    QCOMPARE(record->testerSerNo, QString("SN 777"));
    QCOMPARE(record->fileVersion, 2u);
    QCOMPARE(record->value(CurveRecord::Voc), QString("40.5"));
    QCOMPARE(record->value(CurveRecord::FF), QString("0.75"));
    QCOMPARE(record->measured().size(), 3);
    QCOMPARE(record->measured().points().at(1), QPointF(20, 8.0));

    // A second import of the same file lands above the first.
    QVERIFY(importer.importFile(path));
    QCOMPARE(root->childCount(), 2);

    // A file that cannot be read is reported and changes nothing.
    ScriptedPrompts::get().reset();
    QVERIFY(!importer.importFile(m_dir.filePath("missing.csv")));
    QCOMPARE(root->childCount(), 2);
    QCOMPARE(ScriptedPrompts::get().messageTexts(),
        QStringList({ "Error opening " + m_dir.filePath("missing.csv") + " for reading." }));
}

void TestImport::checksumsAndTheirQuestion()
{
    const QString points = pointsText({ { 0, 8, 900, 0 }, { 30, 0, 900, 0 } });
    QString good = curveLine(1, "07/03/2014", "09:05:00", "900", "30", points);
    QVERIFY(TesterFileImporter::checksumMatches(good, ',', '.'));
    QString altered = good;
    altered.replace(QStringLiteral("40.5"), QStringLiteral("40.6"));
    QVERIFY(!TesterFileImporter::checksumMatches(altered, ',', '.'));
    // A line whose checksum field is missing, or not hexadecimal, fails.
    QVERIFY(!TesterFileImporter::checksumMatches(good.left(good.lastIndexOf(',') + 1), ',', '.'));
    QVERIFY(!TesterFileImporter::checksumMatches(good.left(good.lastIndexOf(',') + 1) + "XYZ", ',', '.'));
    QVERIFY(!TesterFileImporter::checksumMatches("no separator at all", ',', '.'));
    // The decimal-comma form counts its decimal commas as points and its semicolons as commas.
    const QString comma = withChecksum("1;2,5;0", ';', ',');
    QVERIFY(TesterFileImporter::checksumMatches(comma, ';', ','));
    // "1,2.5,0," sums to 378, plus the starting 1.
    QCOMPARE(comma.section(';', -1), QString("17B"));

    // Three bad lines: the first is reported; the user unticks "continue showing", so the
    // others are not, yet every one is marked.
    const QByteArray content = file({ altered, altered, good, altered });
    ScriptedPrompts& prompts = ScriptedPrompts::get();
    prompts.checkBoxes = { false };
    TreeItem* folder = importText(content);
    QCOMPARE(prompts.asked.size(), 1);
    // Lines are read from the end of the file back, so the last bad line (line 6) asks first.
    QCOMPARE(prompts.asked.at(0).message.text, QString("Checksum failed on line number 6"));
    QCOMPARE(prompts.asked.at(0).message.checkBoxText, QString("Continue showing errors during this import"));
    QCOMPARE(prompts.asked.at(0).message.icon, QMessageBox::Warning);
    QCOMPARE(prompts.asked.at(0).message.title, QString("Kestrovan"));
    QList<uint> bits;
    for (int i = 0; i < folder->childCount(); ++i)
        bits << (folder->child(i)->data(TreeStatus).toUInt() & StatusChecksumWrong);
    QCOMPARE(bits, QList<uint>({ 1, 1, 0, 1 }));

    // Leaving it ticked shows every failure; the choice lasts for one import only.
    prompts.reset();
    importText(content);
    QCOMPARE(prompts.messageTexts(),
        QStringList({ "Checksum failed on line number 6", "Checksum failed on line number 4",
            "Checksum failed on line number 3" }));
}

void TestImport::spreadsheetSavedFileSkipsChecksums()
{
    // A spreadsheet program saved the file again: trailing separators, checksums no longer
    // matching (the value was edited). No boxes; every node carries the spreadsheet bit only.
    const QString points = pointsText({ { 0, 8, 900, 0 }, { 30, 0, 900, 0 } });
    QString edited = curveLine(1, "07/03/2014", "09:05:00", "900", "30", points);
    edited.replace(QStringLiteral("40.5"), QStringLiteral("41"));
    const QByteArray content
        = file({ edited + ",,,", curveLine(2, "07/03/2014", "09:06:00", "900", "30", points) + ",,,," },
            header1 + ",,,,,,", header2 + ",");
    TreeItem* folder = importText(content);
    QCOMPARE(ScriptedPrompts::get().asked.size(), 0);
    QCOMPARE(folder->childCount(), 2);
    for (int i = 0; i < 2; ++i)
        QCOMPARE(folder->child(i)->data(TreeStatus).toUInt(), uint(StatusSpreadsheetModified));
    // The header's version survives its trailing separators.
    std::unique_ptr<CurveRecord> record
        = store().graphModel()->load(folder->child(0)->data(TreeCurveID).toUInt());
    QCOMPARE(record->fileVersion, 2u);
    QCOMPARE(record->value(CurveRecord::Voc), QString("41"));
}

void TestImport::datesTimesAndPointFields()
{
    const QString points = QStringLiteral("0:8.1,10:8.0:850,20:7.5:860:3,25,abc:1,30:x:1,40:0:870:1");
    const QByteArray content = file({ curveLine(1, "7/3/2014", "9:05:00", "900", "30", points),
        curveLine(2, "07.03.2014", "", "900", "30", points),
        curveLine(3, "", "13:14:15", "900", "30", points),
        curveLine(4, "2014-03-07", "25:00:00", "900", "30", points) });
    TreeItem* folder = importText(content);
    QCOMPARE(folder->childCount(), 4);
    QStringList dates;
    for (int i = 0; i < 4; ++i)
        dates << store().graphModel()->load(folder->child(i)->data(TreeCurveID).toUInt())->testDate;
    QCOMPARE(dates, QStringList({ "2014-03-07T09:05:00", "2014-03-07", "T13:14:15", "" }));
    QCOMPARE(folder->child(0)->data(TreeTestDate).toString(), QString("2014-03-07T09:05:00"));
    QVERIFY(folder->child(3)->data(TreeTestDate).isNull());

    // Two-part points are used with irradiance 0 and tag 0; a voltage alone or a part that
    // does not parse drops the field.
    std::unique_ptr<CurveRecord> record
        = store().graphModel()->load(folder->child(0)->data(TreeCurveID).toUInt());
    const CurveSeries& series = record->measured();
    QCOMPARE(series.size(), 4);
    QCOMPARE(series.points().at(0), QPointF(0, 8.1));
    QCOMPARE(series.seriesPoints().at(0).irradiance, 0.0);
    QCOMPARE(series.points().at(2), QPointF(20, 7.5));
    QCOMPARE(series.seriesPoints().at(2).tag, 3);
    QCOMPARE(series.points().at(3), QPointF(40, 0));
}

void TestImport::statusBits()
{
    const QString even = pointsText({ { 0, 8, 900, 0 }, { 30, 7, 850, 0 }, { 40, 0, 820, 0 } });
    const QString uneven = pointsText({ { 0, 8, 900, 0 }, { 30, 7, 800, 0 }, { 40, 0, 0, 0 } });
    const QByteArray content = file({ curveLine(1, "07/03/2014", "09:05:00", "", "30", even, 5),
        curveLine(2, "07/03/2014", "09:05:00", "900", "", even),
        curveLine(3, "07/03/2014", "09:05:00", "900", "30", uneven),
        curveLine(4, "07/03/2014", "09:05:00", "900", "30", even, 99999999) });
    TreeItem* folder = importText(content);
    QCOMPARE(folder->child(0)->data(TreeStatus).toUInt(), 5u | StatusNoIrradiance);
    QCOMPARE(folder->child(1)->data(TreeStatus).toUInt(), uint(StatusNoCellTemperature));
    // 800 < 0.9 × 900; the zero reading does not count as the smallest.
    QCOMPARE(folder->child(2)->data(TreeStatus).toUInt(), uint(StatusIrradianceVariance));
    // A status number that does not fit the tester's 24 bits is not taken as bits of ours.
    QCOMPARE(folder->child(3)->data(TreeStatus).toUInt(), 0u);
    // The tree shows why a row is grey.
    const QModelIndex index = store().treeModel()->indexForItem(folder->child(0));
    QVERIFY(index.data(Qt::ToolTipRole).toString().contains("No irradiance value"));
}

void TestImport::dipRemoval()
{
    // At 1000 W/m² and 25 °C the translation leaves currents unchanged, so the dips below are
    // dips of the translated current too.
    auto measured = [](const QList<double>& currents) {
        CurveRecord record;
        record.setValue(CurveRecord::Irradiance, "1000");
        record.setValue(CurveRecord::CellTemp, "25");
        for (int i = 0; i < currents.size(); ++i)
            record.measured().addPoint(i * 10.0, currents.at(i), 1000, 0);
        return record;
    };
    CurveRecord one = measured({ 9, 8.8, 7.0, 8.5, 8.0, 5, 0 });
    TesterFileImporter::removeDips(one);
    QCOMPARE(currents(one.measured()), QList<double>({ 9, 8.8, 8.5, 8.0, 5, 0 }));
    QVERIFY(one.stcParameters().perPointIrradiance);
    QCOMPARE(one.measured().maxPowerIndex(), 3);

    // Two adjacent dips go in two rounds: 7.0 first, then 7.1 becomes a minimum itself.
    CurveRecord two = measured({ 9, 8.8, 7.1, 7.0, 8.5, 8.0, 5, 0 });
    TesterFileImporter::removeDips(two);
    QCOMPARE(currents(two.measured()), QList<double>({ 9, 8.8, 8.5, 8.0, 5, 0 }));
    // A falling curve keeps every point.
    CurveRecord clean = measured({ 9, 8.9, 8.7, 8, 5, 0 });
    TesterFileImporter::removeDips(clean);
    QCOMPARE(clean.measured().size(), 6);

    // A curve shaped to lose two points a round (a deep V) would take one round per pair of
    // points: the rounds stop when their work is spent, with the points of the rounds left.
    QList<double> vee;
    const int half = 10000;
    for (int i = 0; i < 2 * half; ++i)
        vee << double(i < half ? half - i : i - half + 1);
    CurveRecord deep = measured(vee);
    TesterFileImporter::removeDips(deep);
    // About maxDipRemovalWork / 20000 rounds of two points each.
    const int rounds = int(TesterFileImporter::maxDipRemovalWork / (2 * half));
    QVERIFY(deep.measured().size() > 2 * half - 2 * (rounds + 10));
    QVERIFY(deep.measured().size() < 2 * half - 2 * (rounds - 10));
    // A curve of a tester's size loses all its dips however many rounds that takes: the V
    // is eaten from its bottom up until only its two ends are left.
    QList<double> small;
    for (int i = 0; i < 128; ++i)
        small << double(i < 64 ? 64 - i : i - 63);
    CurveRecord shallow = measured(small);
    TesterFileImporter::removeDips(shallow);
    QCOMPARE(currents(shallow.measured()), QList<double>({ 64, 64 }));
    // A budget shared by the curves of one import is spent by them, and once spent stops them.
    qint64 budget = 300;
    CurveRecord first = measured(small);
    TesterFileImporter::removeDips(first, &budget);
    QVERIFY(budget < 300 && budget >= 0);
    CurveRecord second = measured(small);
    budget = 0;
    TesterFileImporter::removeDips(second, &budget);
    QCOMPARE(second.measured().size(), 128);

    // Through the import: format 2 removes the dip, format 1 does not.
    const QString points = pointsText({ { 0, 9, 1000, 0 }, { 10, 8.8, 1000, 0 }, { 20, 7.0, 1000, 0 },
        { 30, 8.5, 1000, 0 }, { 40, 0, 1000, 0 } });
    auto imported = [&](const QString& version) {
        TreeItem* folder = importText(file({ curveLine(1, "07/03/2014", "09:05:00", "1000", "25", points) },
            "PV Tester Results,SN 777,Export," + version));
        return store().graphModel()->load(folder->child(0)->data(TreeCurveID).toUInt())->measured().size();
    };
    QCOMPARE(imported("2"), 4);
    QCOMPARE(imported("1"), 5);
}

void TestImport::notTesterFilesAddNothing_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("reason");
    QByteArray noise;
    for (int i = 0; i < 200000; ++i)
        noise.append(char((i * 7919 + i / 13) % 256));
    QTest::newRow("binary noise") << noise << "line 2 names no column a tester writes";
    QTest::newRow("empty") << QByteArray() << "line 1 is empty";
    QTest::newRow("cr only") << QByteArray("\r\r\r") << "line 1 is empty";
    QTest::newRow("crs and newlines") << QByteArray("\r\r\r\n\n\n\r") << "line 1 is empty";
    QTest::newRow("one line") << QByteArray("only one line") << "line 2 names no column a tester writes";
    QTest::newRow("header only") << file({}) << "there is no curve after line 2";
    QTest::newRow("header and blank lines") << file({ "", "  " }) << "there is no curve after line 2";
    QTest::newRow("data without header") << QByteArray("5,6,7\n") << "line 2 names no column a tester writes";
    QTest::newRow("separators only") << QByteArray(50000, ',') << "line 2 names no column a tester writes";
    // One line of point fields far beyond any curve: refused when the limit is reached, not
    // split whole first.
    QByteArray endless = "1,";
    while (endless.size() <= TesterFileImporter::maxLineLength)
        endless += "1:2,";
    endless.prepend(file({}));
    QTest::newRow("endless line")
        << endless << QString("line 3 is longer than %1 characters").arg(TesterFileImporter::maxLineLength);
}

void TestImport::notTesterFilesAddNothing()
{
    // Each says why, names the file, and adds no folder; from a file on disk the same.
    QFETCH(QByteArray, content);
    QFETCH(QString, reason);
    const QString expected = "bad.csv is not a tester file: " + reason + ".";
    PromptedTester importer(store());
    QVERIFY(!importer.importData(content, "bad.csv"));
    QCOMPARE(importer.refusal(), reason);
    QCOMPARE(ScriptedPrompts::get().messageTexts(), QStringList({ expected }));
    QCOMPARE(ScriptedPrompts::get().asked.at(0).message.icon, QMessageBox::Warning);
    QCOMPARE(ScriptedPrompts::get().asked.at(0).message.title, QString("Kestrovan"));
    QCOMPARE(ScriptedPrompts::get().asked.at(0).message.informativeText, QString("Nothing was imported."));

    ScriptedPrompts::get().reset();
    PromptedTester fromDisk(store());
    QVERIFY(!fromDisk.importFile(writeFile("bad.csv", content)));
    QCOMPARE(ScriptedPrompts::get().messageTexts(), QStringList({ expected }));
    QCOMPARE(store().treeModel()->rootItem()->childCount(), 0);
}

void TestImport::longCurvesStopAtThePointLimit()
{
    // A line within the line limit but with more points than a curve keeps imports the first
    // points, and the store still works.
    QByteArray huge = "H,S,x,1\nIndex,IVCurve\n1,";
    for (int i = 0; i < 300000; ++i)
        huge += "1:2,";
    huge += "0,FFFF\n";
    ScriptedPrompts::get().buttons = { QMessageBox::Ok };
    TreeItem* hugeFolder = importText(huge);
    QVERIFY(hugeFolder);
    QCOMPARE(hugeFolder->childCount(), 1);
    std::unique_ptr<CurveRecord> record
        = store().graphModel()->load(hugeFolder->child(0)->data(TreeCurveID).toUInt());
    QVERIFY(record);
    QCOMPARE(record->measured().size(), 100000);
    for (const ScriptedPrompts::Asked& a : ScriptedPrompts::get().asked)
        QVERIFY2(a.message.text.startsWith("Checksum failed"), qPrintable(a.message.text));
}

void TestImport::separatorComesFromTheFile_data()
{
    QTest::addColumn<QLocale>("userLocale");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QChar>("decimal");
    const QLocale english(QLocale::English, QLocale::UnitedKingdom);
    const QLocale german(QLocale::German, QLocale::Germany);
    QTest::newRow("';' file, English computer") << english << QChar(';') << QChar(',');
    QTest::newRow("',' file, German computer") << german << QChar(',') << QChar('.');
    QTest::newRow("';' file, German computer") << german << QChar(';') << QChar(',');
    QTest::newRow("',' file, English computer") << english << QChar(',') << QChar('.');
}

void TestImport::separatorComesFromTheFile()
{
    // The tester's locale chose the separator and decimal mark, not the computer reading the
    // file: one string, no checksum box, numbers shown in the user's own way.
    QFETCH(QLocale, userLocale);
    QFETCH(QChar, separator);
    QFETCH(QChar, decimal);
    QLocale::setDefault(userLocale);
    auto local = [&](QString text) { return text.replace(',', separator).replace('.', decimal); };
    // Written with '|' for the separator and '.' for the decimal, then put into the file's form.
    auto fileForm = [&](QString text) { return text.replace('.', decimal).replace('|', separator); };
    const QString line = withChecksum(
        fileForm("7|07/03/2014|09:05:00|1234.5|8.25|950|18|41.5|0.75|0:8.2|30.5:0|0"), separator, decimal);
    const QByteArray content
        = (QStringList { local("PV,SN 1,x,1"),
               local("Index,DD/MM/YYYY,HH:MM:SS,Voc (VDC),Isc (ADC),Irr (W/m2),Ta (C),Tpv (C),FF,IVCurve"),
               line })
              .join("\r\n")
              .toLatin1();
    PromptedTester importer(store());
    TreeItem* folder = importer.importData(content, "site.csv");
    QVERIFY(folder);
    QCOMPARE(ScriptedPrompts::get().asked.size(), 0);
    QCOMPARE(importer.separator(), separator);
    QCOMPARE(importer.decimal(), decimal);
    QCOMPARE(folder->childCount(), 1);
    TreeItem* node = folder->child(0);
    QCOMPARE(node->data(TreeLabel).toString(), QString("String 7"));
    QCOMPARE(node->data(TreeStatus).toUInt(), 0u);
    QCOMPARE(node->data(TreeCellTemp).toString(), QLocale().toString(41.5));
    QCOMPARE(node->data(TreeVoc).toString(), QString("1234") + QLocale().decimalPoint() + "5");
    std::unique_ptr<CurveRecord> record = store().graphModel()->load(node->data(TreeCurveID).toUInt());
    QCOMPARE(record->measured().points(), QVector<QPointF>({ QPointF(0, 8.2), QPointF(30.5, 0) }));
    QSqlQuery query(store().database());
    QVERIFY(query.exec("SELECT Voc, FF FROM Curves"));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toDouble(), 1234.5);
    QCOMPARE(query.value(1).toDouble(), 0.75);
}

void TestImport::filesThatAreNoFiles()
{
    // A device that never ends, a pipe nobody writes to and a folder, chosen in the open dialog
    // (or through a link named like a CSV file): each is refused as unreadable at once, rather
    // than read until memory runs out or waited on for ever.
    const QString link = m_dir.filePath("zero.csv");
    QVERIFY(QFile::link("/dev/zero", link));
    const QString pipe = m_dir.filePath("pipe.csv");
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QStringList paths { "/dev/zero", link, pipe, m_dir.path() };
    for (const QString& path : paths) {
        ScriptedPrompts::get().reset();
        PromptedTester tester(store());
        QVERIFY2(!tester.importFile(path), qPrintable(path));
        QCOMPARE(ScriptedPrompts::get().messageTexts(),
            QStringList({ "Error opening " + path + " for reading." }));

        ScriptedPrompts::get().reset();
        PromptedMeter meter(store());
        QVERIFY2(!meter.readFile(path), qPrintable(path));
        QCOMPARE(ScriptedPrompts::get().messageTexts(),
            QStringList({ "Error opening " + path + " for reading." }));
    }
    QCOMPARE(store().treeModel()->rootItem()->childCount(), 0);

    // A meter file far larger than any meter writes is not held in memory line by line.
    const QString huge = m_dir.filePath("huge.csv");
    QFile hugeFile(huge);
    QVERIFY(hugeFile.open(QIODevice::WriteOnly));
    hugeFile.write("Index,Irr,Tpv,Tamb,Date,Time,Irr Unit,Temp Unit\n");
    QVERIFY(hugeFile.resize(qint64(65) << 20));
    hugeFile.close();
    ScriptedPrompts::get().reset();
    PromptedMeter meter(store());
    QVERIFY(!meter.readFile(huge));
    QCOMPARE(
        ScriptedPrompts::get().messageTexts(), QStringList({ "Error opening " + huge + " for reading." }));
}

void TestImport::cancellingKeepsWhatWasImported()
{
    QStringList lines;
    const QString points = pointsText({ { 0, 8, 900, 0 }, { 30, 0, 900, 0 } });
    for (int i = 1; i <= 1000; ++i)
        lines << curveLine(i, "07/03/2014", "09:05:00", "900", "30", points);
    PromptedTester importer(store());
    QList<int> reports;
    importer.setProgress([&](int done, int total) {
        reports << done;
        Q_UNUSED(total);
        return done < 300;
    });
    TreeItem* folder = importer.importData(file(lines), "long.csv");
    QVERIFY(importer.wasCancelled());
    QVERIFY(reports.size() >= 2);
    QVERIFY(folder->childCount() > 0 && folder->childCount() < 1000);
    QCOMPARE(importer.importedCount(), folder->childCount());
    QCOMPARE(store().treeModel()->rootItem()->childCount(), 1);
    // The user is told what stayed.
    QCOMPARE(ScriptedPrompts::get().messageTexts(),
        QStringList(
            { QString("The import of long.csv was cancelled. %1 strings were kept, from the end of the "
                      "file; the others were not imported.")
                    .arg(folder->childCount()) }));
    QCOMPARE(ScriptedPrompts::get().asked.at(0).message.title, QString("Kestrovan"));
    ScriptedPrompts::get().reset();

    // Without cancelling the last report says everything is done.
    PromptedTester full(store());
    int last = 0, all = 0;
    full.setProgress([&](int done, int total) {
        last = done;
        all = total;
        return true;
    });
    QCOMPARE(full.importData(file(lines), "long.csv")->childCount(), 1000);
    QVERIFY(!full.wasCancelled());
    QCOMPARE(last, all);
}

void TestImport::zeroDegreesIsAMeasurement()
{
    // A winter test at 0 °C: imported as a value, not as a missing one, and translated from
    // 0 °C, not from 25 °C.
    const QString points = pointsText({ { 0, 8, 1000, 0 }, { 30, 7, 1000, 0 }, { 40, 0, 1000, 0 } });
    TreeItem* folder = importText(file({ curveLine(1, "07/03/2014", "09:05:00", "1000", "0", points) },
        "PV Tester Results,SN 777,Export,1"));
    TreeItem* node = folder->child(0);
    QCOMPARE(node->data(TreeStatus).toUInt() & StatusNoCellTemperature, 0u);
    std::unique_ptr<CurveRecord> record = store().graphModel()->load(node->data(TreeCurveID).toUInt());
    QCOMPARE(record->value(CurveRecord::CellTemp), QString("0"));

    for (quint8 algorithm : { quint8(AlgorithmIEC60891), quint8(AlgorithmAnderson) }) {
        STCparameters parameters = record->stcParameters();
        parameters.algorithm = algorithm;
        record->setSTCparameters(parameters);
        CurveRecord at25;
        at25.setValue(CurveRecord::Irradiance, "1000");
        at25.setValue(CurveRecord::CellTemp, "25");
        at25.setSTCparameters(parameters);
        for (const QPointF& p : record->measured().points())
            at25.measured().addPoint(p.x(), p.y(), 1000, 0);
        // At 25 °C nothing changes; from 0 °C the voltages fall (the string's voltage is
        // higher in the cold than at 25 °C).
        QCOMPARE(at25.stc().points().at(1), QPointF(30, 7));
        QVERIFY2(record->stc().points().at(1).x() < 29.5, qPrintable(QString::number(algorithm)));
    }
    // Blaesser reads the ambient temperature: 0 there counts as well.
    STCparameters blaesser = record->stcParameters();
    blaesser.algorithm = AlgorithmBlaesser;
    record->setSTCparameters(blaesser);
    record->setValue(CurveRecord::AmbientTemp, "0");
    QVERIFY(record->stc().points().at(1).x() < 29.5);
}

void TestImport::meterHeaderAndValues()
{
    PromptedMeter importer(store());
    QVERIFY(!importer.readLines({ "Index,Irr,Tpv,Tamb,Date,Time,Irr Unit" }));
    QVERIFY(!importer.readLines({ "Index;Irradiance;Tpv;X;Date;Time;Irr Unit;Temp Unit" }));
    QVERIFY(!importer.readLines({}));
    QCOMPARE(ScriptedPrompts::get().messageTexts(),
        QStringList({ "Not a MT410 csv file", "Not a MT410 csv file", "Not a MT410 csv file" }));
    QCOMPARE(ScriptedPrompts::get().asked.at(0).message.icon, QMessageBox::Critical);

    // Either separator in the header; values in W and °C kept, BTU/(h·ft²) and °F converted
    // and truncated; ERR means absent; a broken escape or a date that is no date is skipped.
    QVERIFY(importer.readLines({ "Index;Irr,Tpv;Tamb,Date,Time,Irr Unit,\"Temp Unit\"",
        "1,850,25,0,07.03.14,09:05:00,W,C", "2,100,77,0,07/03/14,09:06:00,BTU,F",
        "3,ERR,ERR,0,7-3-14,9:07:00,W,C", "4,ERR,-4,0,07 03 14,09:08:00,W,F", "5,1,2,0,\\q,09:09:00,W,C",
        "6,900,30,0,32.13.14,09:10:00,W,C", "7,900,30", "" }));
    const MeterFileImporter::Readings& r = importer.readings();
    QCOMPARE(int(r.size()), 4);
    auto at
        = [&](int h, int m) { return r.at(MeterFileImporter::timeKey(QDate(2014, 3, 7), QTime(h, m, 0))); };
    QCOMPARE(at(9, 5).irradiance, 850u);
    QCOMPARE(at(9, 5).temperature, 25);
    QCOMPARE(at(9, 5).flags, 3);
    QCOMPARE(at(9, 6).irradiance, uint(100 * 0.29307107 * 10.7639));
    QCOMPARE(at(9, 6).irradiance, 315u);
    QCOMPARE(at(9, 6).temperature, 25);
    QCOMPARE(at(9, 7).flags, 0);
    QCOMPARE(at(9, 8).flags, int(MeterFileImporter::HasTemperature));
    QCOMPARE(at(9, 8).temperature, -20);

    // A wrong header reads nothing, and the import then says there was nothing to read.
    ScriptedPrompts::get().reset();
    TreeItem* folder = importText(file({ curveLine(1, "07/03/2014", "09:05:00", "", "", "0:8,30:0") }));
    const QString meter = writeFile("bad.csv", "Index,Irr\n1,850\n");
    PromptedMeter(store()).importFile(meter, stringIndexes(folder));
    QCOMPARE(ScriptedPrompts::get().messageTexts(),
        QStringList({ "Not a MT410 csv file", "No data found in csv file" }));
    // No selection: nothing is read at all.
    ScriptedPrompts::get().reset();
    PromptedMeter(store()).importFile(meter, {});
    QCOMPARE(ScriptedPrompts::get().messageTexts(), QStringList({ "No strings selected" }));
}

void TestImport::meterMatchingWindow()
{
    // Tests at 09:05:00; the meter read 19 s later for string 1's time, 20 s for string 2's,
    // and 1 s before string 3's.
    TreeItem* folder = importText(file({ curveLine(1, "07/03/2014", "09:05:00", "", "", "0:8,30:0"),
        curveLine(2, "07/03/2014", "10:05:00", "", "", "0:8,30:0"),
        curveLine(3, "07/03/2014", "11:05:00", "", "", "0:8,30:0"), curveLine(4, "", "", "", "", "0:8,30:0"),
        curveLine(5, "07/03/2014", "9h05", "", "", "0:8,30:0") }));
    // String 5's time could not be read: it is not taken for midnight.
    QCOMPARE(folder->child(4)->data(TreeTestDate).toString(), QString("2014-03-07"));
    ScriptedPrompts::get().reset();
    const QString meter = writeFile("meter.csv",
        "Index,Irr,Tpv,Tamb,Date,Time,Irr Unit,Temp Unit\n1,801,21,0,07.03.14,09:05:19,W,C\n"
        "2,802,22,0,07.03.14,10:05:20,W,C\n3,803,23,0,07.03.14,11:04:59,W,C\n4,804,24,0,07.03.14,00:00:05,W,"
        "C\n");
    PromptedMeter importer(store());
    importer.importFile(meter, stringIndexes(folder));
    QCOMPARE(importer.notFound(), QStringList({ "String 2", "String 3", "String 4", "String 5" }));
    QVERIFY(folder->child(4)->data(TreeIrradiance).toString().isEmpty());
    QCOMPARE(folder->child(0)->data(TreeIrradiance).toString(), QString("801"));
    QCOMPARE(folder->child(0)->data(TreeCellTemp).toString(), QString("21"));
    QVERIFY(folder->child(1)->data(TreeIrradiance).toString().isEmpty());
    QCOMPARE(ScriptedPrompts::get().messageTexts(),
        QStringList({ "Irradiance and temperature import complete.\n No match found for String 2, String 3, "
                      "String 4, String 5" }));
    QCOMPARE(ScriptedPrompts::get().asked.last().message.icon, QMessageBox::Information);
}

void TestImport::meterDuplicateTimes()
{
    const QStringList lines
        = { "Index,Irr,Tpv,Tamb,Date,Time,Irr Unit,Temp Unit", "1,801,21,0,07.03.14,09:05:00,W,C",
              "2,999,99,0,07.03.14,09:05:00,W,C", "3,803,23,0,07.03.14,09:06:00,W,C" };
    PromptedMeter importer(store());
    ScriptedPrompts::get().buttons = { QMessageBox::Yes };
    importer.readLines(lines);
    QCOMPARE(ScriptedPrompts::get().messageTexts(),
        QStringList({ "Duplicate times detected in the input file, cancel processing?" }));
    QCOMPARE(int(importer.readings().size()), 1);

    ScriptedPrompts::get().reset();
    ScriptedPrompts::get().buttons = { QMessageBox::No };
    importer.readLines(lines);
    QCOMPARE(int(importer.readings().size()), 2);
    QCOMPARE(importer.readings().begin()->second.irradiance, 801u);
}

void TestImport::meterReplaceQuestions()
{
    TreeItem* folder = importText(file({ curveLine(1, "07/03/2014", "09:05:00", "700", "40", "0:8,30:0"),
        curveLine(2, "07/03/2014", "09:06:00", "700", "40", "0:8,30:0"),
        curveLine(3, "07/03/2014", "09:07:00", "700", "40", "0:8,30:0") }));
    const QString meter = writeFile("meter.csv",
        "Index,Irr,Tpv,Tamb,Date,Time,Irr Unit,Temp Unit\n1,801,21,0,07.03.14,09:05:00,W,C\n"
        "2,802,22,0,07.03.14,09:06:00,W,C\n3,803,23,0,07.03.14,09:07:00,W,C\n");
    // String 1: No to irradiance, Yes to temperature. String 2: Yes to All for the rest.
    ScriptedPrompts& prompts = ScriptedPrompts::get();
    prompts.reset();
    prompts.buttons = { QMessageBox::No, QMessageBox::Yes, QMessageBox::YesToAll };
    PromptedMeter(store()).importFile(meter, stringIndexes(folder));
    QCOMPARE(prompts.messageTexts(),
        QStringList({ "String 1 contains irradiance data, replace the data?",
            "String 1 contains temperature data, replace the data?",
            "String 2 contains irradiance data, replace the data?",
            "Irradiance and temperature import complete." }));
    QCOMPARE(prompts.asked.at(0).message.buttons, QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::No);
    QCOMPARE(prompts.asked.at(0).message.defaultButton, QMessageBox::Yes);
    QCOMPARE(folder->child(0)->data(TreeIrradiance).toString(), QString("700"));
    QCOMPARE(folder->child(0)->data(TreeCellTemp).toString(), QString("21"));
    QCOMPARE(folder->child(1)->data(TreeIrradiance).toString(), QString("802"));
    QCOMPARE(folder->child(2)->data(TreeCellTemp).toString(), QString("23"));

    // No to both: the string counts as not found.
    prompts.reset();
    prompts.buttons = { QMessageBox::No, QMessageBox::No, QMessageBox::No, QMessageBox::No, QMessageBox::No,
        QMessageBox::No };
    PromptedMeter again(store());
    again.importFile(meter, stringIndexes(folder).mid(0, 1));
    QCOMPARE(again.notFound(), QStringList({ "String 1" }));
}

void TestImport::meterWritesStatusAndCurve()
{
    TreeItem* folder = importText(file({ curveLine(1, "07/03/2014", "09:05:00", "", "", "0:8,30:0", 4) }));
    TreeItem* node = folder->child(0);
    QCOMPARE(node->data(TreeStatus).toUInt(), 4u | StatusNoIrradiance | StatusNoCellTemperature);
    QVERIFY(store().treeModel()->slotSave());
    const uint curveID = node->data(TreeCurveID).toUInt();
    CurveRecord* cached = store().graphModel()->cache(curveID);
    QVERIFY(cached);
    cached->stc();
    QSignalSpy selected(store().graphModel(), &CurveGraphModel::signalStringSelected);
    QSignalSpy deselected(store().graphModel(), &CurveGraphModel::signalStringDeselected);
    QSignalSpy changed(store().treeModel(), &QAbstractItemModel::dataChanged);

    const QString meter = writeFile(
        "meter.csv", "Index,Irr,Tpv,Tamb,Date,Time,Irr Unit,Temp Unit\n1,0,0,0,07.03.14,09:05:05,W,C\n");
    PromptedMeter(store()).importFile(meter, stringIndexes(folder));
    QCOMPARE(node->data(TreeStatus).toUInt(), 4u);
    QCOMPARE(selected.size(), 1);
    QCOMPARE(deselected.size(), 1);
    QCOMPARE(selected.at(0).at(0).toUInt(), curveID);
    QVERIFY(!changed.isEmpty());
    // A reading of 0 °C and 0 W/m² is a reading: stored, and the translation is rebuilt.
    QCOMPARE(cached->value(CurveRecord::CellTemp), QString("0"));
    QSqlQuery query(store().database());
    QVERIFY(query.exec(QString("SELECT t.Status, c.Irradiance, c.CellTemp FROM TreeNodes t JOIN Curves c "
                               "ON t.CurveID = c.CurveID WHERE c.CurveID = %1")
                           .arg(curveID)));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toUInt(), 4u);
    QCOMPARE(query.value(1).toString(), QString("0"));
    QCOMPARE(query.value(2).toString(), QString("0"));
}

void TestImport::meterForASelectedFolder()
{
    // A selected folder stands for its strings, as on the graph: their readings are taken in,
    // rather than nothing done and the import reported complete.
    TreeItem* folder = importText(file({ curveLine(1, "07/03/2014", "09:05:00", "", "", "0:8,30:0"),
        curveLine(2, "07/03/2014", "09:10:00", "", "", "0:8,30:0") }));
    CurveTreeModel* tree = store().treeModel();
    TreeItem* sub = tree->newNode(tree->indexForItem(folder));
    TreeItem* third = importText(file({ curveLine(3, "07/03/2014", "09:20:00", "", "", "0:8,30:0") }));
    // A string deeper down counts too, and a string selected with its folder is taken once.
    const std::unique_ptr<QMimeData> dragged(tree->mimeData({ tree->indexForItem(third->child(0)) }));
    QVERIFY(tree->dropMimeData(dragged.get(), Qt::MoveAction, 0, 0, tree->indexForItem(sub)));
    QCOMPARE(sub->childCount(), 1);
    ScriptedPrompts::get().reset();
    const QString meter = writeFile("meter.csv",
        "Index,Irr,Tpv,Tamb,Date,Time,Irr Unit,Temp Unit\n1,800,30,0,07.03.14,09:05:05,W,C\n"
        "2,810,31,0,07.03.14,09:10:05,W,C\n3,820,32,0,07.03.14,09:20:05,W,C\n");
    PromptedMeter(store()).importFile(
        meter, { tree->indexForItem(folder), tree->indexForItem(folder->child(1)) });
    QCOMPARE(folder->child(1)->data(TreeIrradiance).toString(), QString("800"));
    QCOMPARE(folder->child(2)->data(TreeIrradiance).toString(), QString("810"));
    QCOMPARE(sub->child(0)->data(TreeCellTemp).toString(), QString("32"));
    QCOMPARE(ScriptedPrompts::get().messageTexts(),
        QStringList({ "Irradiance and temperature import complete." }));
}

void TestImport::meterDecimalCommaLocale()
{
    // In a decimal-comma locale the tester writes ";" and "," and the meter's lines use ";".
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    PromptedTester tester(store());
    QCOMPARE(tester.separator(), QChar(';'));
    QCOMPARE(tester.decimal(), QChar(','));
    const QString line = withChecksum("1;07/03/2014;09:05:00;1234,5;8,25;;;;0,75;0:8,2;30,5:0;0", ';', ',');
    TreeItem* folder
        = tester.importData((QStringList { "PV;SN 1;x;1",
                                 "Index;DD/MM/YYYY;HH:MM:SS;Voc (VDC);Isc (ADC);Irr (W/m2);Ta (C);Tpv "
                                 "(C);FF;IVCurve",
                                 line })
                                .join("\n")
                                .toLatin1(),
            "de.csv");
    QCOMPARE(ScriptedPrompts::get().asked.size(), 0);
    std::unique_ptr<CurveRecord> record
        = store().graphModel()->load(folder->child(0)->data(TreeCurveID).toUInt());
    QCOMPARE(record->measured().points().at(1), QPointF(30.5, 0));
    // Stored as numbers, shown back with a decimal comma.
    QCOMPARE(record->value(CurveRecord::FF), QString("0,75"));
    QSqlQuery query(store().database());
    QVERIFY(query.exec("SELECT Voc FROM Curves"));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toDouble(), 1234.5);

    PromptedMeter meter(store());
    QVERIFY(meter.readLines({ "Index;Irr;Tpv;Tamb;Date;Time;Irr Unit;Temp Unit",
        "1;850;25;0;07.03.14;09:05:00;W;C", "2,851,25,0,07.03.14,09:06:00,W,C" }));
    QCOMPARE(int(meter.readings().size()), 1);
    QCOMPARE(meter.readings().begin()->second.irradiance, 850u);
}

void TestImport::meterImportDrawsOnceAndCancels()
{
    // Thousands of strings shown: the values are written as they are matched, the graph is
    // told once at the end (and the legend refreshed), and Cancel keeps what was done, saying so.
    TreeItem* folder = importText(file({ curveLine(1, "07/03/2014", "09:05:00", "", "", "0:8,30:0"),
        curveLine(2, "07/03/2014", "09:06:00", "", "", "0:8,30:0"),
        curveLine(3, "07/03/2014", "09:07:00", "", "", "0:8,30:0") }));
    const QString meter = writeFile("meter.csv",
        "Index,Irr,Tpv,Tamb,Date,Time,Irr Unit,Temp Unit\n1,801,21,0,07.03.14,09:05:00,W,C\n"
        "2,802,22,0,07.03.14,09:06:00,W,C\n3,803,23,0,07.03.14,09:07:00,W,C\n");
    CurveGraphModel* graph = store().graphModel();
    for (int cancelAt : { -1, 2 }) {
        ScriptedPrompts::get().reset();
        ScriptedPrompts::get().buttons = { QMessageBox::YesToAll };
        QSignalSpy drawn(graph, &CurveGraphModel::signalStringSelected);
        QSignalSpy legend(graph, &CurveGraphModel::signalUpdateLegend);
        QList<int> drawnWhileMatching;
        PromptedMeter importer(store());
        importer.setProgress([&](int done, int total) {
            drawnWhileMatching << drawn.count();
            Q_UNUSED(total);
            return done != cancelAt;
        });
        importer.importFile(meter, stringIndexes(folder));
        QCOMPARE(importer.wasCancelled(), cancelAt >= 0);
        QVERIFY(drawnWhileMatching.size() >= 3);
        QCOMPARE(drawnWhileMatching.count(0), drawnWhileMatching.size());
        const int updated = cancelAt >= 0 ? cancelAt : 3;
        QCOMPARE(drawn.count(), updated);
        QCOMPARE(legend.count(), 1);
        if (cancelAt >= 0) {
            QCOMPARE(ScriptedPrompts::get().messageTexts().last(),
                QString(
                    "Irradiance and temperature import cancelled: 2 of 3 strings updated, the others left "
                    "as they were."));
            QCOMPARE(ScriptedPrompts::get().asked.last().message.title, QString("Kestrovan"));
        }
    }
    QSqlQuery query(store().database());
    QVERIFY(query.exec("SELECT COUNT(*) FROM Curves WHERE Irradiance IS NOT NULL AND Irradiance <> ''"));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toInt(), 3);
}

void TestImport::meterFileForms_data()
{
    QTest::addColumn<QLocale>("userLocale");
    QTest::addColumn<QStringList>("lines");
    const QLocale english(QLocale::English, QLocale::UnitedKingdom);
    const QLocale german(QLocale::German, QLocale::Germany);
    const QString header = "Index,Irr,Tpv,Tamb,Date,Time,Irr Unit,Temp Unit";
    QTest::newRow("byte-order mark") << english
                                     << QStringList { QString::fromLatin1("\xEF\xBB\xBF") + header,
                                            "1,850,25,0,07.03.14,09:05:00,W,C" };
    QTest::newRow("byte-order mark, decoded")
        << english << QStringList { QChar(0xFEFF) + header, "1,850,25,0,07.03.14,09:05:00,W,C" };
    QTest::newRow("four-digit year") << english
                                     << QStringList { header, "1,850,25,0,07/03/2014,09:05:00,W,C" };
    QTest::newRow("',' rows on a German computer")
        << german << QStringList { header, "1,850,25,0,07.03.14,09:05:00,W,C" };
    QTest::newRow("';' rows on an English computer")
        << english << QStringList { QString(header).replace(',', ';'), "1;850;25;0;07.03.14;09:05:00;W;C" };
}

void TestImport::meterFileForms()
{
    // What a meter's file may look like after a spreadsheet or another computer had it: each
    // gives its reading at 09:05 on 7 March 2014.
    QFETCH(QLocale, userLocale);
    QFETCH(QStringList, lines);
    QLocale::setDefault(userLocale);
    PromptedMeter importer(store());
    QVERIFY(importer.readLines(lines));
    QCOMPARE(ScriptedPrompts::get().asked.size(), 0);
    QCOMPARE(int(importer.readings().size()), 1);
    QCOMPARE(importer.readings().begin()->first, MeterFileImporter::timeKey(QDate(2014, 3, 7), QTime(9, 5)));
    QCOMPARE(importer.readings().begin()->second.irradiance, 850u);
}

void TestImport::generatedFilesMatch()
{
    // The generator's meter readings belong to the generator's tester file, in both units and
    // both separators, with ERR values and duplicate times.
    TesterFileOptions tester;
    tester.rows = 20;
    tester.curvesOnly = true;
    tester.curvePoints = 40;
    tester.fileVersion = 1;
    const QByteArray testerFile = generateTesterFile(tester);
    TreeItem* folder = importText(testerFile);
    QCOMPARE(folder->childCount(), 20);
    QCOMPARE(ScriptedPrompts::get().asked.size(), 0);
    std::unique_ptr<CurveRecord> first
        = store().graphModel()->load(folder->child(0)->data(TreeCurveID).toUInt());
    QCOMPARE(first->measured().size(), 40);

    MeterFileOptions metric;
    QStringList lines = QString::fromLatin1(generateMeterFile(testerFile, metric)).split("\r\n");
    PromptedMeter plain(store());
    QVERIFY(plain.readLines(lines));
    QCOMPARE(int(plain.readings().size()), 20);
    ScriptedPrompts::get().buttons = { QMessageBox::YesToAll };
    plain.match(stringIndexes(folder));
    QVERIFY(plain.notFound().isEmpty());

    // Imperial units convert back to about the same irradiance (rounding both ways).
    MeterFileOptions imperial;
    imperial.imperialUnits = true;
    PromptedMeter converted(store());
    QVERIFY(converted.readLines(QString::fromLatin1(generateMeterFile(testerFile, imperial)).split("\r\n")));
    auto a = plain.readings().begin();
    auto b = converted.readings().begin();
    QCOMPARE(a->first, b->first);
    QVERIFY(qAbs(int(a->second.irradiance) - int(b->second.irradiance)) <= 3);
    QVERIFY(qAbs(a->second.temperature - b->second.temperature) <= 1);

    // ERR values and duplicate times; No to the duplicate question keeps reading.
    MeterFileOptions rough;
    rough.errEvery = 4;
    rough.duplicateEvery = 5;
    const QString roughText = QString::fromLatin1(generateMeterFile(testerFile, rough));
    QVERIFY(roughText.contains(",ERR,"));
    ScriptedPrompts::get().reset();
    ScriptedPrompts::get().buttons = { QMessageBox::No, QMessageBox::No, QMessageBox::No, QMessageBox::No };
    PromptedMeter withErrors(store());
    QVERIFY(withErrors.readLines(roughText.split("\r\n")));
    QCOMPARE(int(withErrors.readings().size()), 20);
    QCOMPARE(ScriptedPrompts::get().messageTexts().count(
                 "Duplicate times detected in the input file, cancel processing?"),
        4);

    // The semicolon form is what a decimal-comma locale reads.
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    MeterFileOptions semicolon;
    semicolon.separator = ';';
    PromptedMeter french(store());
    QVERIFY(french.readLines(QString::fromLatin1(generateMeterFile(testerFile, semicolon)).split("\r\n")));
    QCOMPARE(int(french.readings().size()), 20);
}

KESTROVAN_TEST_MAIN(TestImport)
#include "tst_import.moc"
