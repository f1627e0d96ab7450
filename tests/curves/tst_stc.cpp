// Point list codec, series figures and the three STC translations, checked against values
// worked out by hand from the translation formulas.
#include "CurveModuleRow.h"
#include "CurvePointsCodec.h"
#include "CurveRecord.h"
#include "TestSupport.h"

#include <QRandomGenerator>
#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>

using namespace IVCurve;

namespace {
bool near(double actual, double expected, double tolerance = 1e-6)
{
    return std::fabs(actual - expected) <= tolerance;
}

#define COMPARE_POINT(point, ex, ey)                                                                         \
    QVERIFY2(near((point).x(), (ex)) && near((point).y(), (ey)),                                             \
        qPrintable(QStringLiteral("got (%1, %2), expected (%3, %4)")                                         \
                       .arg((point).x(), 0, 'g', 10)                                                         \
                       .arg((point).y(), 0, 'g', 10)                                                         \
                       .arg(double(ex), 0, 'g', 10)                                                          \
                       .arg(double(ey), 0, 'g', 10)))

// Three points from 5 V to 30 V at 800 W/m², the string's own figures a little above them.
CurveRecord smallCurve(quint8 algorithm)
{
    CurveRecord record;
    record.measured().addPoint(5, 8.0, 800, 0);
    record.measured().addPoint(20, 7.0, 800, 0);
    record.measured().addPoint(30, 2.0, 800, 0);
    record.setValue(CurveRecord::Irradiance, QStringLiteral("800"));
    record.setValue(CurveRecord::CellTemp, QStringLiteral("45"));
    record.setValue(CurveRecord::AmbientTemp, QStringLiteral("30"));
    record.setValue(CurveRecord::Isc, QStringLiteral("8.1"));
    record.setValue(CurveRecord::Voc, QStringLiteral("31"));
    STCparameters parameters;
    parameters.algorithm = algorithm;
    record.setSTCparameters(parameters);
    return record;
}

ModuleAssignment module(double voc, double isc, double vmp, double imp, unsigned ns, unsigned np)
{
    CurveModuleRow row;
    row.id = 7;
    row.setValue(CurveModuleRow::Voc, voc);
    row.setValue(CurveModuleRow::Isc, isc);
    row.setValue(CurveModuleRow::Vmp, vmp);
    row.setValue(CurveModuleRow::Imp, imp);
    ModuleAssignment assignment;
    assignment.setModule(row);
    assignment.ns = ns;
    assignment.np = np;
    return assignment;
}

// The point list read field by field with the C locale, the way the format defines it.
CurveSeries decodeWithTheCLocale(const QString& text)
{
    CurveSeries series;
    if (text.isEmpty())
        return series;
    const QLocale c = QLocale::c();
    const QStringList parts = text.split(QLatin1Char('#'));
    for (const QString& part : parts) {
        double values[3] = { 0.0, 0.0, 1000.0 };
        int tag = 0;
        const QStringList fields = part.split(QLatin1Char(':'));
        for (int f = 0; f < fields.size() && f < 4; ++f) {
            bool ok = false;
            if (f < 3) {
                const double value = c.toDouble(fields.at(f), &ok);
                ok = ok && std::isfinite(value);
                values[f] = ok ? value : 0.0;
            } else {
                const int value = c.toInt(fields.at(f), &ok);
                tag = ok ? value : 0;
            }
            if (!ok)
                break;
        }
        series.addPoint(values[0], values[1], values[2], tag);
    }
    return series;
}

bool allFinite(const CurveSeries& series)
{
    for (const QPointF& p : series.points()) {
        if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
            return false;
    }
    return true;
}
} // namespace

class TestSTC : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void decodePoints_data();
    void decodePoints();
    void encodeWritesCLocaleWithThreeDecimals();
    void decodeReadsAtMostThePointLimit();
    void decodeAgreesWithTheCLocaleReading();
    void seriesFigures();
    void appendedPointsKeepTheFiguresOfAddedOnes();
    void blaesserByHand();
    void iecByHand();
    void andersonByHand();
    void iecProcedures2And4ByHand();
    void perPointIrradianceUsesThePreviousReading();
    void emptyConditionsGiveTheMeasuredPointsBack();
    void endPointsAreAddedOnlyWhereNeeded();
    void nominalSeries();
    void nominalSeriesWithoutShape();
    void nothingDrawnIsEverNaNOrInfinite();
    void seriesAreRebuiltWhenParametersChange();
};

void TestSTC::decodePoints_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<QList<double>>>("expected"); // V, I, G, tag per point

    QTest::newRow("full point") << "12.500:8.498:812.000:0"
                                << QList<QList<double>> { { 12.5, 8.498, 812, 0 } };
    QTest::newRow("two points") << "1.000:2.000:900.000:1#3.000:0.000:901.000:2"
                                << QList<QList<double>> { { 1, 2, 900, 1 }, { 3, 0, 901, 2 } };
    QTest::newRow("voltage and current only") << "1.5:2.5" << QList<QList<double>> { { 1.5, 2.5, 1000, 0 } };
    QTest::newRow("voltage not a number") << "x:2:3:4" << QList<QList<double>> { { 0, 0, 1000, 0 } };
    QTest::newRow("irradiance not a number") << "1:2:abc:4" << QList<QList<double>> { { 1, 2, 0, 0 } };
    QTest::newRow("tag not a number") << "1:2:3:x" << QList<QList<double>> { { 1, 2, 3, 0 } };
    QTest::newRow("empty text") << "" << QList<QList<double>> {};
    QTest::newRow("empty part in the middle")
        << "1:1:1:1##2:2:2:2" << QList<QList<double>> { { 1, 1, 1, 1 }, { 0, 0, 1000, 0 }, { 2, 2, 2, 2 } };
    QTest::newRow("trailing hash") << "1:1:1:1#"
                                   << QList<QList<double>> { { 1, 1, 1, 1 }, { 0, 0, 1000, 0 } };
    QTest::newRow("decimal comma is not a number")
        << "1,5:2:3:4" << QList<QList<double>> { { 0, 0, 1000, 0 } };
    QTest::newRow("nan and inf are not numbers")
        << "nan:1:1:1#1:inf:5:1" << QList<QList<double>> { { 0, 0, 1000, 0 }, { 1, 0, 1000, 0 } };
    QTest::newRow("extra fields ignored") << "1:2:3:4:5:6" << QList<QList<double>> { { 1, 2, 3, 4 } };
}

void TestSTC::decodePoints()
{
    QFETCH(QString, text);
    QFETCH(QList<QList<double>>, expected);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    CurveSeries series;
    CurvePointsCodec::decode(text, series);
    QCOMPARE(series.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        COMPARE_POINT(series.points().at(i), expected.at(i).at(0), expected.at(i).at(1));
        QCOMPARE(series.seriesPoints().at(i).irradiance, expected.at(i).at(2));
        QCOMPARE(series.seriesPoints().at(i).tag, int(expected.at(i).at(3)));
    }
}

void TestSTC::encodeWritesCLocaleWithThreeDecimals()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    CurveSeries series;
    series.addPoint(12.5, 8.498, 812, 0);
    series.addPoint(0.0004, 0, 1000, 3);
    series.addPoint(-1.25, 10.0005, 0, -2);
    QCOMPARE(CurvePointsCodec::encode(series),
        QString("12.500:8.498:812.000:0#0.000:0.000:1000.000:3#-1.250:10.001:0.000:-2"));
    CurveSeries back;
    CurvePointsCodec::decode(CurvePointsCodec::encode(series), back);
    QCOMPARE(back.size(), 3);
    COMPARE_POINT(back.points().at(0), 12.5, 8.498);
    QCOMPARE(CurvePointsCodec::encode(CurveSeries()), QString());
}

void TestSTC::decodeReadsAtMostThePointLimit()
{
    QString text = QStringLiteral("1:2:3:4");
    for (int i = 0; i < CurvePointsCodec::maxPoints + 50; ++i)
        text += QStringLiteral("#5:6:7:8");
    CurveSeries series;
    CurvePointsCodec::decode(text, series);
    QCOMPARE(series.size(), CurvePointsCodec::maxPoints);
    COMPARE_POINT(series.points().first(), 1.0, 2.0);
    COMPARE_POINT(series.points().last(), 5.0, 6.0);
}

void TestSTC::decodeAgreesWithTheCLocaleReading()
{
    // The reader's own scanner handles the plain numbers the program writes; everything else
    // must read exactly as the C locale reads it, to the last bit.
    QStringList texts { "0.000:0.000:0.000:0", "-0.000:-12.5:1e3:+7", "007.5:1.:.5:08", "1,000:2:3:4",
        " 1:2 :3:4", "1.2.3:4:5:6", "-:1:2:3", "12345678901234567890:1:2:2147483647", "1:2:3:2147483648",
        "1:2:3:-2147483648", "1:2:3:99999999999", "0.1:0.2:0.3:0",
        "123456789012345678901234567890123456789012345678901234567890123456789.5:1:2:3",
        "9.999999999999999999:1.0000000000000000001:2.5e-3:0", "1e400:1:1:1", "٣:1:1:1", "1:2:3:4#", "#",
        ":::", "1:2:3:4:5",
        // Around the fifteen digits that are converted without the standard library.
        "123456789012345:12345678901234.5:0.12345678901234:1", "1234567890123456:123456789012345.6:1:1",
        "0.1234567890123456:-999999999999999:-0:00", "00.5:0.50:-00:-0.0", "12.:-.5:1..2:1-", "1:2:3:4\n#5:6",
        "##::##", "-1:-2:-3:-4" };
    QRandomGenerator random(1050);
    const QString alphabet = QStringLiteral("0123456789.-+:#e ,x");
    for (int n = 0; n < 3000; ++n) {
        QString text;
        if (n % 2 == 0) {
            const int length = int(random.bounded(30));
            for (int i = 0; i < length; ++i)
                text += alphabet.at(int(random.bounded(alphabet.size())));
        } else {
            // Well-formed points with long mantissas: rounding must match.
            for (int p = 0; p < 4; ++p) {
                if (p > 0)
                    text += QLatin1Char('#');
                for (int f = 0; f < 3; ++f) {
                    text += QString::number(random.bounded(2000000) - 1000000) + QLatin1Char('.')
                        + QString::number(random.generate64()) + QLatin1Char(':');
                }
                text += QString::number(int(random.bounded(200)) - 100);
            }
        }
        texts << text;
    }
    // Fifteen and sixteen significant digits with the point anywhere: beyond fifteen the
    // mantissa no longer converts exactly, and the result must still be rounded once.
    for (int n = 0; n < 2000; ++n) {
        QString text;
        for (int f = 0; f < 3; ++f) {
            QString digits = QString::number(random.bounded(1, 10));
            const int length = 14 + int(random.bounded(2));
            while (digits.size() <= length)
                digits += QChar('0' + int(random.bounded(10)));
            const int point = 1 + int(random.bounded(length));
            text += (f > 0 ? QStringLiteral(":") : QString()) + digits.left(point) + QLatin1Char('.')
                + digits.mid(point);
        }
        texts << text + QStringLiteral(":0");
    }
    // A NUL inside the text is a character like any other, not its end.
    texts << QString::fromUtf8("1:2:3:4\0#5.5:6:7:8", 18) << QString::fromUtf8("1\0:2:3:4", 8);
    for (const QString& text : qAsConst(texts)) {
        const CurveSeries expected = decodeWithTheCLocale(text);
        // The text as the program holds it and as the file's bytes, appended to a series that
        // has points already.
        for (bool utf8 : { false, true }) {
            CurveSeries decoded;
            decoded.addPoint(0.5, 0.25, 900.0, 1);
            if (utf8)
                CurvePointsCodec::decodeUtf8(text.toUtf8(), decoded);
            else
                CurvePointsCodec::decode(text, decoded);
            CurveSeries reference;
            reference.addPoint(0.5, 0.25, 900.0, 1);
            for (int i = 0; i < expected.size(); ++i) {
                reference.addPoint(expected.points().at(i).x(), expected.points().at(i).y(),
                    expected.seriesPoints().at(i).irradiance, expected.seriesPoints().at(i).tag);
            }
            QVERIFY2(decoded.size() == reference.size(), qPrintable(text));
            for (int i = 0; i < reference.size(); ++i) {
                QVERIFY2(decoded.points().at(i) == reference.points().at(i)
                        && std::memcmp(&decoded.points().at(i), &reference.points().at(i), sizeof(QPointF))
                            == 0,
                    qPrintable(text));
                QVERIFY2(decoded.seriesPoints().at(i).index == i, qPrintable(text));
                QVERIFY2(decoded.seriesPoints().at(i).irradiance == reference.seriesPoints().at(i).irradiance,
                    qPrintable(text));
                QVERIFY2(
                    decoded.seriesPoints().at(i).tag == reference.seriesPoints().at(i).tag, qPrintable(text));
            }
            QVERIFY2(decoded.maxVoltage() == reference.maxVoltage()
                    && decoded.maxCurrent() == reference.maxCurrent()
                    && decoded.irradiance() == reference.irradiance()
                    && decoded.minIrradiance() == reference.minIrradiance()
                    && decoded.maxIrradiance() == reference.maxIrradiance()
                    && decoded.maxPowerIndex() == reference.maxPowerIndex(),
                qPrintable(text));
        }
    }
}

void TestSTC::seriesFigures()
{
    CurveSeries series;
    QCOMPARE(series.maxPowerIndex(), -1);
    QCOMPARE(series.irradiance(), 1000.0);
    series.addPoint(0, 9, 0, 0);
    series.addPoint(10, 6, 850, 0); // 60 W
    series.addPoint(12, 5, 920, 0); // 60 W: a tie keeps the earlier point
    series.addPoint(20, 1, 700, 0);
    QCOMPARE(series.maxPowerIndex(), 1);
    QCOMPARE(series.irradiance(), 850.0);
    QCOMPARE(series.minIrradiance(), 700.0);
    QCOMPARE(series.maxIrradiance(), 920.0);
    QCOMPARE(series.maxVoltage(), 20.0);
    QCOMPARE(series.maxCurrent(), 9.0);
    series.clear();
    QCOMPARE(series.size(), 0);
    QCOMPARE(series.maxPowerIndex(), -1);
    QCOMPARE(series.irradiance(), 1000.0);
    QCOMPARE(series.maxVoltage(), 0.0);
    QCOMPARE(series.minIrradiance(), 0.0);
}

void TestSTC::appendedPointsKeepTheFiguresOfAddedOnes()
{
    // Series are built in one go by the loops that make them; the result must be what adding
    // the points one by one gives, whatever the points and whatever the series held before.
    QRandomGenerator random(25);
    const double specials[] = { 0.0, -0.0, 1000.0, -5.0, 1e308, -1e308,
        std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN() };
    for (int round = 0; round < 400; ++round) {
        CurveSeries added;
        CurveSeries appended;
        const int before = int(random.bounded(4));
        for (int i = 0; i < before; ++i) {
            const double v = random.generateDouble() * 100;
            added.addPoint(v, 2.0, 800.0, 3);
            appended.addPoint(v, 2.0, 800.0, 3);
        }
        // A maximum-power index set from outside, even one beyond the points, is honoured alike.
        if (round % 5 == 0) {
            added.setMaxPowerIndex(before + 2);
            appended.setMaxPowerIndex(before + 2);
        }
        const int count = int(random.bounded(40));
        QVector<double> values;
        QVector<bool> kept;
        for (int i = 0; i < count * 3; ++i) {
            values << (random.bounded(6) == 0 ? specials[random.bounded(int(std::size(specials)))]
                                              : (random.generateDouble() - 0.3) * 1200.0);
        }
        for (int i = 0; i < count; ++i)
            kept << (random.bounded(4) != 0);
        for (int i = 0; i < count; ++i) {
            if (kept.at(i))
                added.addPoint(values.at(3 * i), values.at(3 * i + 1), values.at(3 * i + 2), i);
        }
        appended.appendPoints(count, [&](int i, QPointF& point, SeriesPoint& extra) {
            point = QPointF(values.at(3 * i), values.at(3 * i + 1));
            extra.irradiance = values.at(3 * i + 2);
            extra.tag = i;
            return bool(kept.at(i));
        });
        QCOMPARE(appended.size(), added.size());
        for (int i = 0; i < added.size(); ++i) {
            QVERIFY(std::memcmp(&appended.points().at(i), &added.points().at(i), sizeof(QPointF)) == 0);
            QCOMPARE(appended.seriesPoints().at(i).index, i);
            QVERIFY(std::memcmp(&appended.seriesPoints().at(i).irradiance,
                        &added.seriesPoints().at(i).irradiance, sizeof(double))
                == 0);
            QCOMPARE(appended.seriesPoints().at(i).tag, added.seriesPoints().at(i).tag);
        }
        const auto same = [](double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; };
        QVERIFY(same(appended.maxVoltage(), added.maxVoltage()));
        QVERIFY(same(appended.maxCurrent(), added.maxCurrent()));
        QVERIFY(same(appended.irradiance(), added.irradiance()));
        QVERIFY(same(appended.minIrradiance(), added.minIrradiance()));
        QVERIFY(same(appended.maxIrradiance(), added.maxIrradiance()));
        QCOMPARE(appended.maxPowerIndex(), added.maxPowerIndex());
    }
}

void TestSTC::blaesserByHand()
{
    // T1 = ambient 30 °C, G1 = 800 W/m², Isc = 8.1 A, Voc = 31 V, defaults a 0.06, b −0.004,
    // alpha 0.004, Rs 0.35. F = (1 − 0.004/8.1·5)·1.25 = 1.246913580; D = 0.02 + 0.06·ln 1.25
    // = 0.033388613. I2 = F·I1; V2 = V1 + D·31 + 0.35·(I1 − I2).
    CurveRecord record = smallCurve(AlgorithmBlaesser);
    const CurveSeries& stc = record.stc();
    QCOMPARE(stc.size(), 5);
    COMPARE_POINT(stc.points().at(0), 0.0, 9.975308642);
    COMPARE_POINT(stc.points().at(1), 5.343688981, 9.975308642);
    COMPARE_POINT(stc.points().at(2), 20.430108734, 8.728395062);
    COMPARE_POINT(stc.points().at(3), 30.862207499, 2.493827160);
    COMPARE_POINT(stc.points().at(4), 30.862207499, 0.0);
    // A module changes nothing for this method.
    record.setModuleAssignment(module(38, 9, 31, 8.5, 10, 2));
    COMPARE_POINT(record.stc().points().at(1), 5.343688981, 9.975308642);
}

void TestSTC::iecByHand()
{
    // T1 = cell 45 °C, G1 = 800, Isc1 = 8 (first point). Without a module Ns = Np = 1:
    // I2 = I1 + 8·0.25 + 0.004·(−20) = I1 + 1.92; V2 = V1 + 3 − 0.35·1.92 + 0.025·I2.
    CurveRecord record = smallCurve(AlgorithmIEC60891);
    QCOMPARE(record.stc().size(), 5);
    COMPARE_POINT(record.stc().points().at(1), 7.576, 9.92);
    COMPARE_POINT(record.stc().points().at(2), 22.551, 8.92);
    COMPARE_POINT(record.stc().points().at(3), 32.426, 3.92);
    // Ns = 10, Np = 2: I2 = I1 + 2 − 0.16; V2 = V1 + 10·(3 − 0.35·1.84 + 0.025·I2).
    record.setModuleAssignment(module(38, 9, 31, 8.5, 10, 2));
    COMPARE_POINT(record.stc().points().at(1), 31.02, 9.84);
    COMPARE_POINT(record.stc().points().at(2), 45.77, 8.84);
    COMPARE_POINT(record.stc().points().at(3), 54.52, 3.84);
}

void TestSTC::andersonByHand()
{
    // Without a module: alpha_rel = 0.004/(1.25·8) = 0.0004, beta_rel = −0.15/30 = −0.005,
    // c = 1.008·0.8 → Isc_STC = 9.920634921; f = (1 + 0.085·ln 0.8)·0.9 → Voc_STC = 33.977797069.
    CurveRecord record = smallCurve(AlgorithmAnderson);
    QCOMPARE(record.stc().size(), 5);
    COMPARE_POINT(record.stc().points().at(0), 0.0, 9.920634921);
    COMPARE_POINT(record.stc().points().at(1), 5.662966178, 9.920634921);
    COMPARE_POINT(record.stc().points().at(2), 22.651864713, 8.680555556);
    COMPARE_POINT(record.stc().points().at(3), 33.977797069, 2.480158730);
    // With a module (Voc 38, Isc 9) its Isc sets the current coefficient although the measured
    // Isc is known: alpha_rel = 0.004/9, beta_rel = −0.15/(0.5·(38 + 30)).
    record.setModuleAssignment(module(38, 9, 31, 8.5, 1, 1));
    COMPARE_POINT(record.stc().points().at(1), 5.589895647, 9.911894273);
    COMPARE_POINT(record.stc().points().at(3), 33.539373881, 2.477973568);
}

void TestSTC::iecProcedures2And4ByHand()
{
    // Procedure 2 with alpha_rel 0.05 %/°C, beta_rel −0.3 %/°C, a 0.06, Rs' 0.5 Ω, κ' 0.001 Ω/°C;
    // T1 = cell 45 °C, G1 = 800, Voc1 = 30 (last point): I2 = I1·0.99·1.25 = 1.2375·I1;
    // V2 = V1 + 30·(0.06 + 0.06·ln 1.25) − 0.5·(I2 − I1) + 0.02·I2.
    CurveRecord record = smallCurve(AlgorithmIEC60891Procedure2);
    STCparameters parameters = record.stcParameters();
    parameters.iec2Rs = QStringLiteral("0.5");
    parameters.iec2Kappa = QStringLiteral("0.001");
    record.setSTCparameters(parameters);
    QCOMPARE(record.stc().size(), 5);
    COMPARE_POINT(record.stc().points().at(0), 0.0, 9.9);
    COMPARE_POINT(record.stc().points().at(1), 6.449658392, 9.9);
    COMPARE_POINT(record.stc().points().at(2), 21.543658392, 8.6625);
    COMPARE_POINT(record.stc().points().at(3), 32.013658392, 2.475);
    COMPARE_POINT(record.stc().points().at(4), 32.013658392, 0.0);

    // Procedure 4 with alpha 0.004 A/°C, Rs 0.5 Ω, 60 cells, ε 1.232 V, Isc1 = 8 (first point):
    // I' = I1 + 8·0.25, V' = V1 − 0.5·2; I2 = I' − 0.08; V2 = V' − 20/318.15·(V' − 73.92).
    parameters.algorithm = AlgorithmIEC60891Procedure4;
    parameters.iec4Rs = QStringLiteral("0.5");
    record.setSTCparameters(parameters);
    COMPARE_POINT(record.stc().points().at(1), 8.395410970, 9.92);
    COMPARE_POINT(record.stc().points().at(2), 22.452459532, 8.92);
    COMPARE_POINT(record.stc().points().at(3), 31.823825240, 3.92);
    // Ten modules in series, two strings in parallel: Rs 0.5·10/2, α 0.004·2, Nc 600, so
    // I2 = I' − 0.16, V' = V1 − 2.5·2 and V2 = V' − 20/318.15·(V' − 739.2).
    record.setModuleAssignment(module(38, 9, 31, 8.5, 10, 2));
    COMPARE_POINT(record.stc().points().at(2), 15 - 20 / 318.15 * (15 - 739.2), 8.84);
    // Procedure 2 scales Rs' and κ' alike: V2 = V1 + 2.2016583924 − 2.5·(I2 − I1) + 0.1·I2.
    parameters.algorithm = AlgorithmIEC60891Procedure2;
    record.setSTCparameters(parameters);
    COMPARE_POINT(record.stc().points().at(2), 20 + 2.2016583923655775 - 2.5 * 1.6625 + 0.1 * 8.6625, 8.6625);
    // At 25 °C and 1000 W/m² neither procedure moves a point.
    record.setValue(CurveRecord::Irradiance, QString());
    record.setValue(CurveRecord::CellTemp, QString());
    for (quint8 algorithm : { AlgorithmIEC60891Procedure2, AlgorithmIEC60891Procedure4 }) {
        parameters.algorithm = algorithm;
        record.setSTCparameters(parameters);
        COMPARE_POINT(record.stc().points().at(2), 20.0, 7.0);
    }
}

void TestSTC::perPointIrradianceUsesThePreviousReading()
{
    // Point irradiances 900, 0, 800; curve irradiance 900 (first non-zero), G1 text 800.
    CurveRecord record;
    record.measured().addPoint(5, 8.0, 900, 0);
    record.measured().addPoint(20, 7.0, 0, 0);
    record.measured().addPoint(30, 2.0, 800, 0);
    record.setValue(CurveRecord::Irradiance, QStringLiteral("800"));
    record.setValue(CurveRecord::CellTemp, QStringLiteral("45"));
    STCparameters parameters;
    parameters.algorithm = AlgorithmIEC60891;
    parameters.perPointIrradiance = true;
    record.setSTCparameters(parameters);
    // I2 = I1 + 8·(Gp/900)·(1000/Gp − 1) − 0.08 with Gp = 900, 900 (previous), 800.
    COMPARE_POINT(record.stc().points().at(1), 7.937111111, 8.808888889);
    COMPARE_POINT(record.stc().points().at(2), 22.912111111, 7.808888889);
    COMPARE_POINT(record.stc().points().at(3), 32.498222222, 3.697777778);

    // Anderson recomputes its factors per point; the zero reading reuses 900.
    parameters.algorithm = AlgorithmAnderson;
    record.setSTCparameters(parameters);
    COMPARE_POINT(record.stc().points().at(1), 5.605758734, 8.809602467);
    COMPARE_POINT(record.stc().points().at(2), 22.423034937, 7.708402158);
    COMPARE_POINT(record.stc().points().at(3), 33.977797069, 2.480158730);
}

void TestSTC::emptyConditionsGiveTheMeasuredPointsBack()
{
    for (quint8 algorithm :
        { quint8(AlgorithmIEC60891), quint8(AlgorithmAnderson), quint8(AlgorithmBlaesser) }) {
        CurveRecord record = smallCurve(algorithm);
        record.setValue(CurveRecord::Irradiance, QString());
        record.setValue(CurveRecord::CellTemp, QString());
        record.setValue(CurveRecord::AmbientTemp, QString());
        const CurveSeries& stc = record.stc();
        QCOMPARE(stc.size(), 5);
        for (int i = 0; i < 3; ++i)
            COMPARE_POINT(stc.points().at(i + 1), record.measured().points().at(i).x(),
                record.measured().points().at(i).y());
        QCOMPARE(stc.seriesPoints().at(2).irradiance, 800.0);
    }
}

void TestSTC::endPointsAreAddedOnlyWhereNeeded()
{
    CurveRecord record;
    record.measured().addPoint(0, 8.0, 1000, 0);
    record.measured().addPoint(20, 7.0, 1000, 0);
    record.measured().addPoint(30, 0.0, 1000, 0);
    QCOMPARE(record.stc().size(), 3);
    COMPARE_POINT(record.stc().points().first(), 0.0, 8.0);
    COMPARE_POINT(record.stc().points().last(), 30.0, 0.0);

    CurveRecord open;
    open.measured().addPoint(4, 8.0, 1000, 5);
    open.measured().addPoint(25, 3.0, 1000, 5);
    const CurveSeries& stc = open.stc();
    QCOMPARE(stc.size(), 4);
    COMPARE_POINT(stc.points().at(0), 0.0, 8.0);
    COMPARE_POINT(stc.points().at(3), 25.0, 0.0);
    QCOMPARE(stc.seriesPoints().at(1).tag, 0);
    QCOMPARE(stc.maxPowerIndex(), 2);

    const CurveSeries& power = open.stcPower();
    QCOMPARE(power.size(), 4);
    COMPARE_POINT(power.points().at(2), 25.0, 75.0);
    QCOMPARE(power.maxPowerIndex(), 2);
    QCOMPARE(power.maxCurrent(), 75.0);

    CurveRecord empty;
    QCOMPARE(empty.stc().size(), 0);
}

void TestSTC::nominalSeries()
{
    // Voc 38, Isc 9, Vmp 31, Imp 8.5: d = −7/ln(1 − 8.5/9) = 2.421833794. Two in series.
    CurveRecord record;
    record.setModuleAssignment(module(38, 9, 31, 8.5, 2, 1));
    QVERIFY(near(record.module().d, 2.421833794));
    const CurveSeries& nom = record.nominal();
    QCOMPARE(nom.size(), 128);
    // I = 9 − (e^(v/d) − 2)·e^(−38/d)·9 at v = i·38/127, voltage times Ns.
    COMPARE_POINT(nom.points().at(0), 0.0, 9.000001380);
    COMPARE_POINT(nom.points().at(50), 29.921259843, 8.999337922);
    COMPARE_POINT(nom.points().at(100), 59.842519685, 8.679726086);
    COMPARE_POINT(nom.points().at(126), 75.401574803, 1.045989386);
    COMPARE_POINT(nom.points().at(127), 76.0, 0.0);
    QCOMPARE(nom.maxPowerIndex(), 104);
    QCOMPARE(nom.maxVoltage(), 76.0);
    QVERIFY(nom.maxCurrent() >= 9.0);
    QCOMPARE(record.nominalPower().size(), 128);
    QCOMPARE(record.nominalPower().maxPowerIndex(), 104);

    // Two strings in parallel double the current.
    record.setModuleAssignment(module(38, 9, 31, 8.5, 2, 2));
    COMPARE_POINT(record.nominal().points().at(100), 59.842519685, 17.359452172);

    // Strings of one module share the curve made for the first; any figure that differs, the
    // layout included, gives a curve of its own, and a shared curve changed in one record stays
    // as it was in the other.
    const QVector<ModuleAssignment> modules { module(38, 9, 31, 8.5, 2, 1), module(38, 9, 31, 8.5, 3, 1),
        module(38, 9, 31, 8.5, 2, 3), module(38.5, 9, 31, 8.5, 2, 1), module(38, 9.1, 31, 8.5, 2, 1),
        module(38, 9, 31.5, 8.5, 2, 1), module(38, 9, 31, 8.4, 2, 1), module(38, 0, 31, 8.5, 2, 1),
        module(38, -0.0, 31, 8.5, 2, 1) };
    QVector<CurveSeries> alone;
    for (const ModuleAssignment& m : modules) {
        CurveRecord first;
        first.setModuleAssignment(m);
        alone << first.nominal();
        // A different module in between, so that nothing is left over from this one.
        CurveRecord other;
        other.setModuleAssignment(module(40, 10, 33, 9, 1, 1));
        QVERIFY(!other.nominal().isEmpty());
    }
    for (int round = 0; round < 2; ++round) {
        for (int n = 0; n < modules.size(); ++n) {
            CurveRecord a;
            CurveRecord b;
            a.setModuleAssignment(modules.at(n));
            b.setModuleAssignment(modules.at(n));
            const CurveSeries& first = a.nominal();
            const CurveSeries& second = b.nominal();
            for (const CurveSeries* series : { &first, &second }) {
                QCOMPARE(series->size(), alone.at(n).size());
                QVERIFY(std::memcmp(series->points().constData(), alone.at(n).points().constData(),
                            sizeof(QPointF) * std::size_t(series->size()))
                    == 0);
                QCOMPARE(series->maxPowerIndex(), alone.at(n).maxPowerIndex());
                QCOMPARE(series->maxVoltage(), alone.at(n).maxVoltage());
                QCOMPARE(series->maxCurrent(), alone.at(n).maxCurrent());
            }
            if (n > 0)
                QVERIFY(std::memcmp(alone.at(n).points().constData(), alone.at(0).points().constData(),
                            sizeof(QPointF) * std::size_t(std::min(alone.at(n).size(), alone.at(0).size())))
                    != 0);
            a.setModuleAssignment(module(40, 10, 33, 9, 1, 1));
            QVERIFY(std::memcmp(b.nominal().points().constData(), alone.at(n).points().constData(),
                        sizeof(QPointF) * std::size_t(alone.at(n).size()))
                == 0);
        }
    }
}

void TestSTC::nominalSeriesWithoutShape()
{
    // Imp = Isc gives no shape: points lie on the voltage axis, not multiplied by Ns.
    CurveRecord record;
    record.setModuleAssignment(module(38, 9, 31, 9, 3, 1));
    QCOMPARE(record.module().d, 0.0);
    const CurveSeries& nom = record.nominal();
    QCOMPARE(nom.size(), 128);
    COMPARE_POINT(nom.points().at(127), 114.0, 0.0);
    COMPARE_POINT(nom.points().at(126), 126 * 38.0 / 127, 0.0);
    for (int i = 0; i < 127; ++i)
        QCOMPARE(nom.points().at(i).y(), 0.0);
    // No module, or one without Voc: no nominal curve.
    CurveRecord none;
    QCOMPARE(none.nominal().size(), 0);
    none.setModuleAssignment(module(0, 9, 31, 8, 1, 1));
    QCOMPARE(none.nominal().size(), 0);
}

void TestSTC::nothingDrawnIsEverNaNOrInfinite()
{
    // Irradiance 0 or negative, a coefficient that overflows, Imp above Isc, a module Voc of 0.
    for (quint8 algorithm :
        { quint8(AlgorithmIEC60891), quint8(AlgorithmAnderson), quint8(AlgorithmBlaesser) }) {
        CurveRecord zero = smallCurve(algorithm);
        zero.setValue(CurveRecord::Irradiance, QStringLiteral("0"));
        QVERIFY(allFinite(zero.stc()));
        QCOMPARE(zero.stc().size(), 5);
        CurveRecord negative = smallCurve(algorithm);
        negative.setValue(CurveRecord::Irradiance, QStringLiteral("-20"));
        QVERIFY(allFinite(negative.stc()));
        QCOMPARE(negative.stc().size(), 5);

        CurveRecord huge = smallCurve(algorithm);
        STCparameters parameters = huge.stcParameters();
        parameters.alpha = QStringLiteral("1e308");
        parameters.beta = QStringLiteral("-1e308");
        parameters.a = QStringLiteral("1e308");
        huge.setSTCparameters(parameters);
        QVERIFY(allFinite(huge.stc()));
        QVERIFY(allFinite(huge.stcPower()));
    }
    // Per-point readings of 0 and below with Anderson's logarithm.
    CurveRecord perPoint;
    perPoint.measured().addPoint(1, 5, -50, 0);
    perPoint.measured().addPoint(2, 4, 0, 0);
    STCparameters parameters;
    parameters.perPointIrradiance = true;
    perPoint.setSTCparameters(parameters);
    QVERIFY(allFinite(perPoint.stc()));
    QCOMPARE(perPoint.stc().size(), 4);

    // A measured curve of zero current: Anderson's guarded values give (0, 0).
    CurveRecord dark;
    dark.measured().addPoint(0, 0, 1000, 0);
    dark.measured().addPoint(10, 0, 1000, 0);
    QVERIFY(allFinite(dark.stc()));
    COMPARE_POINT(dark.stc().points().at(1), 0.0, 0.0);

    CurveRecord odd;
    odd.setModuleAssignment(module(38, 9, 31, 12, 1, 1));
    QCOMPARE(odd.module().d, 0.0);
    QVERIFY(allFinite(odd.nominal()));
    CurveRecord steep;
    steep.setModuleAssignment(module(38, 9, 37.999, 8.999999, 1, 1));
    QVERIFY(allFinite(steep.nominal()));
    QVERIFY(allFinite(steep.nominalPower()));
}

void TestSTC::seriesAreRebuiltWhenParametersChange()
{
    CurveRecord record = smallCurve(AlgorithmIEC60891);
    QCOMPARE(record.stc().points().at(1).y(), 9.92);
    record.setValue(CurveRecord::Irradiance, QStringLiteral("1000"));
    // I2 = 8 + 0 − 0.08
    QVERIFY(near(record.stc().points().at(1).y(), 7.92));
    STCparameters parameters = record.stcParameters();
    parameters.alpha = QStringLiteral("0");
    record.setSTCparameters(parameters);
    QVERIFY(near(record.stc().points().at(1).y(), 8.0));
    QVERIFY(near(record.stcPower().points().at(1).y(), record.stc().points().at(1).x() * 8.0));
    record.setModuleAssignment(module(38, 9, 31, 8.5, 2, 1));
    QCOMPARE(record.nominal().size(), 128);
    record.setModuleAssignment(ModuleAssignment());
    QCOMPARE(record.nominal().size(), 0);
    QCOMPARE(record.nominalPower().size(), 0);
}

KESTROVAN_TEST_MAIN(TestSTC)
#include "tst_stc.moc"
