// Curve figures by fits, verdicts against the data sheet, the string comparison and published
// module lists, checked against values worked out by hand.
#include "CurveParameters.h"
#include "ModuleLibrary.h"
#include "ModuleListFile.h"
#include "StringComparison.h"
#include "TestSupport.h"
#include "Verdict.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <cmath>

using namespace IVCurve;

Q_DECLARE_METATYPE(QVector<QPointF>)

namespace {
// Near the current axis I = 8 − 0.02·V (Isc 8 A, Rsh 50 Ω); around the maximum-power point
// P = 210 − 0.6·(V − 30)² (Pmp 210 W at 30 V); near the voltage axis V = 40 − 0.5·I
// (Voc 40 V, Rs 0.5 Ω).
QVector<QPointF> exactCurve()
{
    QVector<QPointF> points;
    for (double v : { 0.0, 2.0, 4.0, 6.0 })
        points.append(QPointF(v, 8 - 0.02 * v));
    for (double v : { 24.0, 26.0, 28.0, 30.0, 32.0, 34.0 })
        points.append(QPointF(v, (210 - 0.6 * (v - 30) * (v - 30)) / v));
    for (double i : { 1.5, 1.0, 0.5, 0.0 })
        points.append(QPointF(40 - 0.5 * i, i));
    return points;
}

CurveParameters stcFigures(double pmp, double voc, double isc)
{
    CurveParameters figures;
    figures.valid = true;
    figures.pmp = pmp;
    figures.voc = voc;
    figures.isc = isc;
    return figures;
}

QByteArray moduleList(const QByteArray& rows)
{
    return "Name,Manufacturer,Technology,Bifacial,STC,PTC,A_c,Length,Width,N_s,I_sc_ref,V_oc_ref,I_mp_ref,"
           "V_mp_ref,alpha_sc,beta_oc,T_NOCT,a_ref,I_L_ref,I_o_ref,R_s,R_sh_ref,Adjust,gamma_r,BIPV,Version,"
           "Date\r\n"
           ",,,,W,W,m2,m,m,,A,V,A,V,A/K,V/K,C,V,A,A,Ohm,Ohm,%,%/K,,,\r\n"
           "Units,,,,,,,,,,,,,,,,,,,,,,,,,,\r\n"
        + rows;
}

QByteArray moduleRow(const QByteArray& name, const QByteArray& technology, const QByteArray& cells,
    const QByteArray& isc, const QByteArray& voc, const QByteArray& imp, const QByteArray& vmp,
    const QByteArray& rs = "0.3")
{
    return name + ",Maker," + technology + ",0,300,280,1.6,1.7,1," + cells + "," + isc + "," + voc + "," + imp
        + "," + vmp + ",0.004,-0.12,45,1.6,9.5,1e-10," + rs + ",300,5,-0.4,N,2020.1,1/1/2020\r\n";
}
} // namespace

class TestAnalysis : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { TestSupport::resetState(); }

    void curveParameters_data();
    void curveParameters();
    void verdicts_data();
    void verdicts();
    void comparisonMarksOutliersPerFolder();
    void moduleListRows_data();
    void moduleListRows();
    void moduleListImportUpdatesOnlyListedModules();
};

void TestAnalysis::curveParameters_data()
{
    QTest::addColumn<QVector<QPointF>>("points");
    QTest::addColumn<bool>("valid");
    // Isc, Voc, Vmp, Pmp, Rsh, Rs, then 1 where Isc / Voc / the maximum power are estimated.
    QTest::addColumn<QVector<double>>("expected");

    QTest::newRow("enough points at both ends and around the maximum")
        << exactCurve() << true << QVector<double> { 8, 40, 30, 210, 50, 0.5, 0, 0, 0 };
    QVector<QPointF> shuffled = exactCurve();
    std::reverse(shuffled.begin(), shuffled.end());
    QTest::newRow("points in any order")
        << shuffled << true << QVector<double> { 8, 40, 30, 210, 50, 0.5, 0, 0, 0 };
    // A straight line I = 8 − 0.2·V through five points: each end holds one point, so the three
    // nearest points are fitted (still on the line); the window holds one point, so all five
    // fit the power parabola 8·V − 0.2·V², whose top is 80 W at 20 V.
    QVector<QPointF> sparse;
    for (double v : { 0.0, 10.0, 20.0, 30.0, 40.0 })
        sparse.append(QPointF(v, 8 - 0.2 * v));
    QTest::newRow("too few points: nearest ones, estimated")
        << sparse << true << QVector<double> { 8, 40, 20, 80, 5, 5, 1, 1, 1 };
    QTest::newRow("three points: a parabola through them") << QVector<QPointF> { { 0, 8 }, { 20, 4 },
        { 40, 0 } } << true << QVector<double> { 8, 40, 20, 80, 5, 5, 1, 1, 1 };
    QTest::newRow("one point") << QVector<QPointF> { { 10, 5 } } << false << QVector<double>();
    QTest::newRow("no power") << QVector<QPointF> { { 0, 8 }, { 40, 0 } } << false << QVector<double>();
    QTest::newRow("non-finite points are left out") << QVector<QPointF> { { 0, 8 }, { qInf(), 1 }, { 20, 4 },
        { 30, qQNaN() }, { 40, 0 } } << true << QVector<double> { 8, 40, 20, 80, 5, 5, 1, 1, 1 };
}

void TestAnalysis::curveParameters()
{
    QFETCH(QVector<QPointF>, points);
    QFETCH(bool, valid);
    QFETCH(QVector<double>, expected);
    const CurveParameters p = CurveParameters::fromPoints(points);
    QCOMPARE(p.valid, valid);
    if (!valid)
        return;
    const double got[] = { p.isc, p.voc, p.vmp, p.pmp, p.rsh, p.rs };
    const char* const names[] = { "Isc", "Voc", "Vmp", "Pmp", "Rsh", "Rs" };
    for (int i = 0; i < 6; ++i)
        QVERIFY2(std::fabs(got[i] - expected.at(i)) < 1e-6 * std::max(1.0, expected.at(i)),
            qPrintable(QStringLiteral("%1 = %2, expected %3")
                           .arg(names[i])
                           .arg(got[i], 0, 'g', 12)
                           .arg(expected.at(i))));
    QCOMPARE(p.imp, p.pmp / p.vmp);
    QCOMPARE(p.fillFactor, p.pmp / (p.isc * p.voc));
    QCOMPARE(p.iscEstimated, expected.at(6) != 0);
    QCOMPARE(p.vocEstimated, expected.at(7) != 0);
    QCOMPARE(p.mppEstimated, expected.at(8) != 0);
}

void TestAnalysis::verdicts_data()
{
    QTest::addColumn<double>("pmp");
    QTest::addColumn<double>("voc");
    QTest::addColumn<double>("isc");
    QTest::addColumn<bool>("hasModule");
    QTest::addColumn<bool>("hasCurve");
    QTest::addColumn<bool>("hasIrradiance");
    QTest::addColumn<QString>("expected");

    // Ten modules in series of Voc 40 V, Isc 9 A, Vmp 32 V, Imp 8.5 A: nominal 400 V, 9 A, 2720 W.
    QTest::newRow("on the nominal values") << 2720.0 << 400.0 << 9.0 << true << true << true << "Pass";
    QTest::newRow("power exactly 5 % below") << 2584.0 << 400.0 << 9.0 << true << true << true << "Pass";
    QTest::newRow("power above nominal has no limit")
        << 3000.0 << 400.0 << 9.0 << true << true << true << "Pass";
    QTest::newRow("power 6 % below") << 2556.8 << 400.0 << 9.0 << true << true << true << "Fail: Pmp -6.0 %";
    QTest::newRow("Voc exactly 3 % above and Isc 3 % below")
        << 2720.0 << 412.0 << 8.73 << true << true << true << "Pass";
    QTest::newRow("Voc 3.5 % above, Isc 4 % below")
        << 2720.0 << 414.0 << 8.64 << true << true << true << "Fail: Voc +3.5 %, Isc -4.0 %";
    QTest::newRow("every value out") << 2000.0 << 380.0 << 10.0 << true << true << true
                                     << "Fail: Pmp -26.5 %, Voc -5.0 %, Isc +11.1 %";
    QTest::newRow("no module") << 2720.0 << 400.0 << 9.0 << false << true << true << "No verdict: no module";
    QTest::newRow("no curve") << 2720.0 << 400.0 << 9.0 << true << false << true << "No verdict: no curve";
    QTest::newRow("no irradiance") << 2720.0 << 400.0 << 9.0 << true << true << false
                                   << "No verdict: no irradiance";
}

void TestAnalysis::verdicts()
{
    QFETCH(double, pmp);
    QFETCH(double, voc);
    QFETCH(double, isc);
    QFETCH(bool, hasModule);
    QFETCH(bool, hasCurve);
    QFETCH(bool, hasIrradiance);
    QFETCH(QString, expected);
    const NominalString nominal
        = hasModule ? NominalString::fromModule(40, 9, 32, 8.5, 10, 1) : NominalString();
    CurveParameters stc = stcFigures(pmp, voc, isc);
    stc.valid = hasCurve;
    const Verdict verdict = Verdict::judge(nominal, stc, hasIrradiance, VerdictTolerances());
    QCOMPARE(verdict.text(), expected);
    QCOMPARE(verdict.outcome,
        expected == QLatin1String("Pass")                ? Verdict::Pass
            : expected.startsWith(QLatin1String("Fail")) ? Verdict::Fail
                                                         : Verdict::None);
    // A tolerance of 30 % lets every measured string of the table pass.
    const VerdictTolerances loose { 30.0, 30.0, 30.0 };
    if (verdict.outcome != Verdict::None)
        QCOMPARE(Verdict::judge(nominal, stc, hasIrradiance, loose).outcome, Verdict::Pass);
}

void TestAnalysis::comparisonMarksOutliersPerFolder()
{
    QCOMPARE(StringComparison::median({}), 0.0);
    QCOMPARE(StringComparison::median({ 3, 1, 2 }), 2.0);
    QCOMPARE(StringComparison::median({ 4, 1, 3, 2 }), 2.5);

    // Folder 1: 100, 102, 98, 101, 99, 80 → median 99.5, MAD median(0.5, 2.5, 1.5, 1.5, 0.5, 19.5)
    // = 1.5, scaled 2.2239: 80 lies 19.5 away (outlier), 102 lies 2.5 away (not).
    // Folder 2: 80, 80, 81 → median 80, MAD 0: only 81 stands out. A row without a curve has no
    // deviation and is never an outlier.
    QVector<ComparisonRow> rows;
    const QVector<QPair<int, double>> powers { { 1, 100 }, { 1, 102 }, { 1, 98 }, { 1, 101 }, { 1, 99 },
        { 1, 80 }, { 2, 80 }, { 2, 80 }, { 2, 81 }, { 2, -1 } };
    for (const auto& power : powers) {
        ComparisonRow row;
        row.folder = power.first;
        row.stc = stcFigures(power.second, 400, 9);
        row.stc.valid = power.second > 0;
        rows.append(row);
    }
    StringComparison::rank(rows);
    const QVector<bool> outliers { false, false, false, false, false, true, false, false, true, false };
    for (int i = 0; i < rows.size(); ++i)
        QVERIFY2(rows.at(i).outlier == outliers.at(i), qPrintable(QString::number(i)));
    QVERIFY(std::fabs(rows.at(1).deviation - (102 - 99.5) / 99.5 * 100) < 1e-9);
    QVERIFY(std::fabs(rows.at(8).deviation - 1.25) < 1e-9);
    QVERIFY(!rows.last().hasDeviation);
}

void TestAnalysis::moduleListRows_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("skipped");
    QTest::addColumn<QString>("error");

    const QByteArray good
        = moduleRow("\"Aldmere AS-300, black\"", "Mono-c-Si", "60", "9.8", "39.9", "9.3", "32.3");
    QTest::newRow("a quoted name with a comma")
        << moduleList(good) << QStringList { "Aldmere AS-300, black" } << 0 << QString();
    QTest::newRow("byte-order mark and LF endings")
        << QByteArray("\xEF\xBB\xBF" + moduleList(good).replace("\r\n", "\n"))
        << QStringList { "Aldmere AS-300, black" } << 0 << QString();
    QTest::newRow("impossible and missing values are skipped and counted")
        << moduleList(good + moduleRow("Imp above Isc", "Mono-c-Si", "60", "9", "40", "9.5", "32")
               + moduleRow("Vmp above Voc", "Mono-c-Si", "60", "9", "40", "8.5", "41")
               + moduleRow("no cells", "Mono-c-Si", "", "9", "40", "8.5", "32")
               + moduleRow("half a cell", "Mono-c-Si", "60.5", "9", "40", "8.5", "32")
               + moduleRow("negative Rs", "Mono-c-Si", "60", "9", "40", "8.5", "32", "-0.1")
               + moduleRow("", "Mono-c-Si", "60", "9", "40", "8.5", "32") + "short,row\r\n"
               + moduleRow("Thin one", "CdTe", "216", "2.5", "88", "2.3", "70"))
        << QStringList { "Aldmere AS-300, black", "Thin one" } << 7 << QString();
    QTest::newRow("another CSV file")
        << QByteArray("Name,Isc,Voc\r\nA,9,40\r\n") << QStringList() << 0
        << "The file is not a module list: the column \"Technology\" is missing.";
    QTest::newRow("empty") << QByteArray() << QStringList() << 0
                           << "The file is not a module list: it is empty.";
}

void TestAnalysis::moduleListRows()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, names);
    QFETCH(int, skipped);
    QFETCH(QString, error);
    const ModuleListFile list = ModuleListFile::parse(content);
    QStringList got;
    for (const CurveModuleRow& row : list.modules)
        got.append(row.value(CurveModuleRow::Description).toString());
    QCOMPARE(got, names);
    QCOMPARE(list.skipped, skipped);
    QCOMPARE(list.error, error);
    if (!list.modules.isEmpty()) {
        const CurveModuleRow& first = list.modules.first();
        QCOMPARE(first.value(CurveModuleRow::Isc).toDouble(), 9.8);
        QCOMPARE(first.value(CurveModuleRow::Vmp).toDouble(), 32.3);
        QCOMPARE(first.value(CurveModuleRow::Alpha).toDouble(), 0.004);
        QCOMPARE(first.value(CurveModuleRow::Beta).toDouble(), -0.12);
        QCOMPARE(first.value(CurveModuleRow::Rs).toDouble(), 0.3);
        QCOMPARE(first.value(CurveModuleRow::Cells).toInt(), 60);
        QCOMPARE(first.value(CurveModuleRow::Delta).toDouble(), 0.085);
        QCOMPARE(
            list.modules.last().value(CurveModuleRow::Delta).toDouble(), names.size() > 1 ? 0.063 : 0.085);
    }
}

void TestAnalysis::moduleListImportUpdatesOnlyListedModules()
{
    ModuleLibrary& library = ModuleLibrary::instance();
    // The preloaded library predates the cell count: it reads without it.
    const int preloaded = library.all().size();
    QVERIFY(preloaded > 0);
    QVERIFY(library.all().first().value(CurveModuleRow::Cells).isNull());

    CurveModuleRow own;
    own.setValue(CurveModuleRow::Description, QStringLiteral("Mine 300"));
    own.setValue(CurveModuleRow::Isc, 1.0);
    own.setValue(CurveModuleRow::UserModule, true);
    QVERIFY(library.insert(own) != 0);

    const QByteArray first = moduleRow("Listed 300", "Multi-c-Si", "60", "9", "40", "8.5", "32")
        + moduleRow("Mine 300", "Mono-c-Si", "72", "9", "48", "8.5", "39");
    ModuleLibrary::ImportCount count;
    QString error;
    QVERIFY(library.importModules(ModuleListFile::parse(moduleList(first)).modules, &count, &error));
    QCOMPARE(count.added, 2);
    QCOMPARE(count.updated, 0);

    // Marked as a favourite, then imported again with new values: the listed module is updated
    // in place, the user's own module of the same name is left as the user made it.
    CurveModuleRow listed = library.select(QStringLiteral("Description='Listed 300'")).first();
    listed.setValue(CurveModuleRow::Favourite, true);
    QVERIFY(library.update(listed));
    const QByteArray second = moduleRow("Listed 300", "Multi-c-Si", "60", "9.1", "40", "8.6", "32")
        + moduleRow("Mine 300", "Mono-c-Si", "72", "9", "48", "8.5", "39");
    QVERIFY(library.importModules(ModuleListFile::parse(moduleList(second)).modules, &count, &error));
    QCOMPARE(count.added, 0);
    QCOMPARE(count.updated, 2);
    const QList<CurveModuleRow> again = library.select(QStringLiteral("Description='Listed 300'"));
    QCOMPARE(again.size(), 1);
    QCOMPARE(again.first().id, listed.id);
    QCOMPARE(again.first().value(CurveModuleRow::Isc).toDouble(), 9.1);
    QCOMPARE(again.first().value(CurveModuleRow::Cells).toInt(), 60);
    QVERIFY(again.first().value(CurveModuleRow::Favourite).toBool());
    const QList<CurveModuleRow> mine
        = library.select(QStringLiteral("Description='Mine 300' AND UserModule=1"));
    QCOMPARE(mine.size(), 1);
    QCOMPARE(mine.first().value(CurveModuleRow::Isc).toDouble(), 1.0);
    QCOMPARE(library.all().size(), preloaded + 3);
}

KESTROVAN_TEST_MAIN(TestAnalysis)
#include "tst_analysis.moc"
