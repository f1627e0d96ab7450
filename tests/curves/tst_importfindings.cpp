// What the curve importers find and what they ask, without a window: the decisions come from a
// script, and the findings and notices are read back from the importers.
#include "CurveConstants.h"
#include "CurveStore.h"
#include "CurveTestSupport.h"
#include "CurveTreeModel.h"
#include "ImportQuestions.h"
#include "MeterFileImporter.h"
#include "TestSupport.h"
#include "TesterFileImporter.h"
#include "TreeItem.h"

#include <QTemporaryDir>

using namespace IVCurve;
using namespace CurveTestSupport;

Q_DECLARE_METATYPE(IVCurve::ImportQuestions::Replace)

namespace {
using Replace = ImportQuestions::Replace;

// Answers from the script, in order (a question past its end gets the answer a person who
// reads on would give), and records each question as "checksum 6", "duplicate 3",
// "irradiance String 1" or "temperature String 1".
class ScriptedQuestions : public ImportQuestions
{
public:
    QStringList asked;
    QList<bool> keepTelling;
    QList<bool> stops;
    QList<Replace> replaces;

    bool checksumFailed(int lineNumber) override
    {
        asked << QStringLiteral("checksum %1").arg(lineNumber);
        return keepTelling.isEmpty() || keepTelling.takeFirst();
    }
    bool stopAtDuplicateTime(int lineNumber) override
    {
        asked << QStringLiteral("duplicate %1").arg(lineNumber);
        return !stops.isEmpty() && stops.takeFirst();
    }
    Replace replaceValue(Value value, const QString& stringLabel) override
    {
        asked << (value == Value::Irradiance ? QStringLiteral("irradiance ") : QStringLiteral("temperature "))
                + stringLabel;
        return replaces.isEmpty() ? Replace::No : replaces.takeFirst();
    }
};

// The tester's checksum, worked out here: 1 plus the codes of every character up to and
// including the last separator.
QString withChecksum(const QString& fieldsWithStatus)
{
    const QString body = fieldsWithStatus + QLatin1Char(',');
    uint sum = 1;
    for (QChar c : body)
        sum += uint(c.toLatin1());
    return body + QString::number(sum & 0xFFFF, 16).toUpper();
}

// A tester file whose data lines are given by letters: 'g' a line with its checksum, 'b' one
// whose value was changed after the checksum was made, 's' the good line with the trailing
// separator a spreadsheet adds. Line n of the letters is line n + 3 of the file.
QByteArray testerFile(const QString& kinds, const QString& irradiance = QStringLiteral("900"))
{
    QStringList lines { QStringLiteral("PV Tester Results,SN 777,Export,2"),
        QStringLiteral("Index,DD/MM/YYYY,HH:MM:SS,Voc (VDC),Isc (ADC),Irr (W/m2),Tpv (C),IVCurve") };
    for (int i = 0; i < kinds.size(); ++i) {
        QString line = withChecksum(QStringLiteral("%1,07/03/2014,09:%2:00,40.5,8.2,%3,30,0:8,30:0,0")
                                        .arg(i + 1)
                                        .arg(5 + i, 2, 10, QLatin1Char('0'))
                                        .arg(irradiance));
        if (kinds.at(i) == QLatin1Char('b'))
            line.replace(QStringLiteral("40.5"), QStringLiteral("40.6"));
        else if (kinds.at(i) == QLatin1Char('s'))
            line += QLatin1Char(',');
        lines << line;
    }
    return lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n";
}

const QString meterHeader = QStringLiteral("Index,Irr,Tpv,Tamb,Date,Time,Irr Unit,Temp Unit");

QString meterLine(int index, int minute, int irradiance = 800)
{
    return QStringLiteral("%1,%2,21,0,07.03.14,09:%3:00,W,C")
        .arg(index)
        .arg(irradiance)
        .arg(minute, 2, 10, QLatin1Char('0'));
}
} // namespace

class TestImportFindings : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void testerChecksumFailures_data();
    void testerChecksumFailures();
    void testerNotices_data();
    void testerNotices();
    void meterDuplicateTimes_data();
    void meterDuplicateTimes();
    void meterReplacements_data();
    void meterReplacements();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<CurveStore> m_store;
};

void TestImportFindings::init()
{
    TestSupport::resetState();
    const QString path = m_dir.filePath(QStringLiteral("curves.kstcrv"));
    QFile::remove(path);
    QVERIFY(copyTemplate(path));
    m_store = std::make_unique<CurveStore>(path);
    QVERIFY(m_store->isOpen());
}

void TestImportFindings::cleanup()
{
    m_store.reset();
}

void TestImportFindings::testerChecksumFailures_data()
{
    QTest::addColumn<QString>("lines");
    QTest::addColumn<bool>("withQuestions");
    QTest::addColumn<QList<bool>>("keepTelling");
    QTest::addColumn<QVector<int>>("failures");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<bool>("spreadsheet");

    // Lines are imported from the end of the file back: the last bad line is met first.
    QTest::newRow("all good") << "gg" << true << QList<bool>() << QVector<int>() << QStringList() << false;
    QTest::newRow("one bad") << "gb" << true << QList<bool>() << QVector<int> { 4 }
                             << QStringList { "checksum 4" } << false;
    QTest::newRow("every failure told") << "bbgb" << true << QList<bool>() << QVector<int> { 6, 4, 3 }
                                        << QStringList { "checksum 6", "checksum 4", "checksum 3" } << false;
    QTest::newRow("no more after the first")
        << "bbgb" << true << QList<bool> { false } << QVector<int> { 6, 4, 3 } << QStringList { "checksum 6" }
        << false;
    QTest::newRow("no more after the second")
        << "bbgb" << true << QList<bool> { true, false } << QVector<int> { 6, 4, 3 }
        << QStringList { "checksum 6", "checksum 4" } << false;
    QTest::newRow("nobody to ask") << "bbgb" << false << QList<bool>() << QVector<int> { 6, 4, 3 }
                                   << QStringList() << false;
    // A spreadsheet's trailing separators: the checksums mean nothing any more.
    QTest::newRow("saved by a spreadsheet")
        << "sbs" << true << QList<bool>() << QVector<int>() << QStringList() << true;
}

void TestImportFindings::testerChecksumFailures()
{
    QFETCH(QString, lines);
    QFETCH(bool, withQuestions);
    QFETCH(QList<bool>, keepTelling);
    QFETCH(QVector<int>, failures);
    QFETCH(QStringList, asked);
    QFETCH(bool, spreadsheet);

    ScriptedQuestions questions;
    questions.keepTelling = keepTelling;
    TesterFileImporter importer(*m_store, withQuestions ? &questions : nullptr);
    TreeItem* folder = importer.importData(testerFile(lines), QStringLiteral("t.csv"));
    QVERIFY(folder);
    QCOMPARE(importer.checksumFailures(), failures);
    QCOMPARE(questions.asked, asked);
    QCOMPARE(importer.spreadsheetModified(), spreadsheet);
    QCOMPARE(importer.importedCount(), lines.size());
    // Told or not, every failing line is imported and marked.
    QCOMPARE(folder->childCount(), lines.size());
    for (int i = 0; i < lines.size(); ++i) {
        const quint32 status = folder->child(i)->data(TreeStatus).toUInt();
        QCOMPARE(bool(status & StatusChecksumWrong), failures.contains(i + 3));
        QCOMPARE(bool(status & StatusSpreadsheetModified), spreadsheet);
    }
    QVERIFY(importer.takeNotices().isEmpty());
}

void TestImportFindings::testerNotices_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("fromDisk");
    QTest::addColumn<int>("cancelAt");
    QTest::addColumn<bool>("imported");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("details");

    QTest::newRow("imported") << testerFile("gg") << true << -1 << true << -1 << QString() << QString();
    QTest::newRow("not on disk") << QByteArray() << true << -1 << false << int(CurveNotice::Warning)
                                 << "Error opening %1 for reading." << QString();
    QTest::newRow("no column line") << QByteArray("PV Tester Results,SN 1\r\nnothing here\r\n1,2,3\r\n")
                                    << true << -1 << false << int(CurveNotice::Warning)
                                    << "t.csv is not a tester file: line 2 names no column a tester writes."
                                    << "Nothing was imported.";
    QTest::newRow("no curve given as data")
        << testerFile(QString()) << false << -1 << false << int(CurveNotice::Warning)
        << "t.csv is not a tester file: there is no curve after line 2."
        << "Nothing was imported.";
    // Cancelled at the first progress report, after 256 of the lines (the empty last one among them).
    QTest::newRow("cancelled") << testerFile(QString(300, QLatin1Char('g'))) << false << 1 << true
                               << int(CurveNotice::Information)
                               << "The import of t.csv was cancelled. 254 strings were kept, from the end of "
                                  "the file; the others were not imported."
                               << QString();
}

void TestImportFindings::testerNotices()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, fromDisk);
    QFETCH(int, cancelAt);
    QFETCH(bool, imported);
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(QString, details);

    const QString path = m_dir.filePath(QStringLiteral("t.csv"));
    QFile::remove(path);
    if (!content.isEmpty())
        QVERIFY(!writeFile(path, content).isEmpty());
    TesterFileImporter importer(*m_store);
    if (cancelAt >= 0)
        importer.setProgress([cancelAt](int done, int) { return done < cancelAt; });
    const bool done = fromDisk ? importer.importFile(path)
                               : importer.importData(content, QStringLiteral("t.csv")) != nullptr;
    QCOMPARE(done, imported);
    QCOMPARE(importer.wasCancelled(), cancelAt >= 0);
    const QVector<CurveNotice> notices = importer.takeNotices();
    if (kind < 0) {
        QVERIFY(notices.isEmpty());
        return;
    }
    QCOMPARE(notices.size(), 1);
    QCOMPARE(notices.first().text, text.contains(QLatin1String("%1")) ? text.arg(path) : text);
    QCOMPARE(notices.first().kind, CurveNotice::Kind(kind));
    QCOMPARE(notices.first().details, details);
    // Each notice is handed over once.
    QVERIFY(importer.takeNotices().isEmpty());
}

void TestImportFindings::meterDuplicateTimes_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("withQuestions");
    QTest::addColumn<QList<bool>>("stops");
    QTest::addColumn<QVector<int>>("duplicates");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<int>("readings");

    const QStringList once { meterHeader, meterLine(1, 5), meterLine(2, 5, 999), meterLine(3, 6) };
    const QStringList twice { meterHeader, meterLine(1, 5), meterLine(2, 5), meterLine(3, 6), meterLine(4, 6),
        meterLine(5, 7) };
    QTest::newRow("no repeated time") << QStringList { meterHeader, meterLine(1, 5), meterLine(2, 6) } << true
                                      << QList<bool>() << QVector<int>() << QStringList() << 2;
    QTest::newRow("read on") << once << true << QList<bool> { false } << QVector<int> { 3 }
                             << QStringList { "duplicate 3" } << 2;
    QTest::newRow("stop") << once << true << QList<bool> { true } << QVector<int> { 3 }
                          << QStringList { "duplicate 3" } << 1;
    QTest::newRow("read on twice") << twice << true << QList<bool>() << QVector<int> { 3, 5 }
                                   << QStringList { "duplicate 3", "duplicate 5" } << 3;
    QTest::newRow("stop at the second")
        << twice << true << QList<bool> { false, true } << QVector<int> { 3, 5 }
        << QStringList { "duplicate 3", "duplicate 5" } << 2;
    QTest::newRow("nobody to ask") << twice << false << QList<bool>() << QVector<int> { 3, 5 }
                                   << QStringList() << 3;
}

void TestImportFindings::meterDuplicateTimes()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, withQuestions);
    QFETCH(QList<bool>, stops);
    QFETCH(QVector<int>, duplicates);
    QFETCH(QStringList, asked);
    QFETCH(int, readings);

    ScriptedQuestions questions;
    questions.stops = stops;
    MeterFileImporter importer(*m_store, withQuestions ? &questions : nullptr);
    QVERIFY(importer.readLines(lines));
    QCOMPARE(importer.duplicateLines(), duplicates);
    QCOMPARE(questions.asked, asked);
    QCOMPARE(int(importer.readings().size()), readings);
    // The first reading of a time is the one kept.
    QCOMPARE(importer.readings().begin()->second.irradiance, 800u);
    QVERIFY(importer.takeNotices().isEmpty());
}

void TestImportFindings::meterReplacements_data()
{
    QTest::addColumn<QString>("shownIrradiance");
    QTest::addColumn<bool>("withQuestions");
    QTest::addColumn<QList<Replace>>("answers");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QStringList>("irradiances");
    QTest::addColumn<QStringList>("notFound");
    QTest::addColumn<int>("updated");
    QTest::addColumn<QString>("notice");

    const QString complete = QStringLiteral("Irradiance and temperature import complete.");
    const QString withMisses
        = QStringLiteral("Irradiance and temperature import complete.\n No match found for %1");
    // The tester wrote no irradiance and no temperature: nothing is asked, everything filled in.
    QTest::newRow("nothing shown") << "" << true << QList<Replace>() << QStringList()
                                   << QStringList { "801", "802" } << QStringList() << 2 << complete;
    QTest::newRow("yes to each") << "700" << true
                                 << QList<Replace> { Replace::Yes, Replace::Yes, Replace::Yes, Replace::Yes }
                                 << QStringList { "irradiance String 1", "temperature String 1",
                                        "irradiance String 2", "temperature String 2" }
                                 << QStringList { "801", "802" } << QStringList() << 2 << complete;
    QTest::newRow("yes to all at the first")
        << "700" << true << QList<Replace> { Replace::YesToAll } << QStringList { "irradiance String 1" }
        << QStringList { "801", "802" } << QStringList() << 2 << complete;
    QTest::newRow("no to one value of the first")
        << "700" << true << QList<Replace> { Replace::No, Replace::YesToAll }
        << QStringList { "irradiance String 1", "temperature String 1" } << QStringList { "700", "802" }
        << QStringList() << 2 << complete;
    QTest::newRow("no to everything")
        << "700" << true << QList<Replace> { Replace::No, Replace::No, Replace::No, Replace::No }
        << QStringList { "irradiance String 1", "temperature String 1", "irradiance String 2",
               "temperature String 2" }
        << QStringList { "700", "700" } << QStringList { "String 1", "String 2" } << 0
        << withMisses.arg("String 1, String 2");
    QTest::newRow("nobody to ask") << "700" << false << QList<Replace>() << QStringList()
                                   << QStringList { "700", "700" } << QStringList { "String 1", "String 2" }
                                   << 0 << withMisses.arg("String 1, String 2");
}

void TestImportFindings::meterReplacements()
{
    QFETCH(QString, shownIrradiance);
    QFETCH(bool, withQuestions);
    QFETCH(QList<Replace>, answers);
    QFETCH(QStringList, asked);
    QFETCH(QStringList, irradiances);
    QFETCH(QStringList, notFound);
    QFETCH(int, updated);
    QFETCH(QString, notice);

    // Two strings, tested at 09:05 and 09:06, with a temperature shown when an irradiance is.
    TesterFileImporter tester(*m_store);
    TreeItem* folder = tester.importData(testerFile("gg", shownIrradiance), QStringLiteral("t.csv"));
    QVERIFY(folder);
    if (shownIrradiance.isEmpty()) {
        for (int i = 0; i < 2; ++i)
            folder->child(i)->setData(TreeCellTemp, QVariant());
    }
    QModelIndexList selected;
    for (int i = 0; i < folder->childCount(); ++i)
        selected << m_store->treeModel()->indexForItem(folder->child(i));

    ScriptedQuestions questions;
    questions.replaces = answers;
    MeterFileImporter importer(*m_store, withQuestions ? &questions : nullptr);
    QVERIFY(importer.readLines({ meterHeader, meterLine(1, 5, 801), meterLine(2, 6, 802) }));
    importer.match(selected);
    QCOMPARE(questions.asked, asked);
    QCOMPARE(QStringList({ folder->child(0)->data(TreeIrradiance).toString(),
                 folder->child(1)->data(TreeIrradiance).toString() }),
        irradiances);
    QCOMPARE(importer.notFound(), notFound);
    QCOMPARE(importer.stringCount(), 2);
    QCOMPARE(importer.updatedCount(), updated);
    const QVector<CurveNotice> expected { { CurveNotice::Information, notice } };
    QCOMPARE(importer.takeNotices(), expected);
}

KESTROVAN_TEST_MAIN(TestImportFindings)
#include "tst_importfindings.moc"
