#include "TesterFileGenerator.h"

#include <QRandomGenerator>
#include <QStringList>
#include <cmath>

namespace {
// Test types in the order a tester usually runs them on one string.
const int TestCycle[] = { 1, 4, 8, 16, 2 };
} // namespace

quint16 testerLineChecksum(const QByteArray& line, char separator, char decimal)
{
    quint32 sum = 1;
    for (char c : line) {
        if (c == decimal)
            c = '.';
        else if (c == separator)
            c = ',';
        sum += static_cast<unsigned char>(c);
    }
    return static_cast<quint16>(sum & 0xFFFF);
}

QByteArray generateTesterFile(const TesterFileOptions& options)
{
    const char sep = options.separator.toLatin1();
    const char decimal = sep == ';' ? ',' : '.';
    QRandomGenerator random(options.seed);
    auto number = [decimal](double value, int decimals) {
        QByteArray text = QByteArray::number(value, 'f', decimals);
        if (decimal != '.')
            text.replace('.', decimal);
        return text;
    };
    auto uniform
        = [&random](double low, double high) { return low + (high - low) * random.generateDouble(); };

    QByteArray out;
    out += "PV Tester Results" + QByteArray(1, sep) + options.serialNumber.toUtf8() + QByteArray(1, sep)
        + "Export" + QByteArray(1, sep) + QByteArray::number(options.fileVersion) + "\r\n";
    const QList<QByteArray> columns = { "Index", "DD/MM/YYYY", "HH:MM:SS", "TestType", "Voc (VDC)",
        "Isc (ADC)", "Irr (W/m2)", "Ta (C)", "Tpv (C)", "Viso (V)", "Riso (MOhm)", "Rpe (Ohm)",
        "Iclamp (Amp)", "FF", "Vmpp (V)", "Impp(A)", "IVCurve" };
    for (int i = 0; i < columns.size(); ++i)
        out += (i ? QByteArray(1, sep) : QByteArray()) + columns.at(i);
    out += "\r\n";

    QDateTime when = options.firstTest;
    for (int row = 0; row < options.rows; ++row) {
        const int type = options.curvesOnly ? 16 : TestCycle[row % 5];
        const int modules = int(uniform(8, 22));
        const double moduleVoc = uniform(37.0, 49.5);
        const double isc = uniform(8.5, 13.9);
        const double irradiance = uniform(620, 1010);
        const double cellTemp = uniform(22, 58);
        const double voc = modules * moduleVoc * (1 - 0.0030 * (cellTemp - 25));
        const double iscNow = isc * irradiance / 1000.0;
        const bool failed = options.failEvery > 0 && row % options.failEvery == options.failEvery - 1;

        QList<QByteArray> fields;
        fields << QByteArray::number(row + 1) << when.date().toString(QStringLiteral("dd/MM/yyyy")).toLatin1()
               << when.time().toString(QStringLiteral("HH:mm:ss")).toLatin1() << QByteArray::number(type);
        const bool iv = type == 2 || type == 16;
        const bool insulation = type == 4 || type == 8;
        fields << (iv ? number(voc, 1) : QByteArray()) << (iv ? number(iscNow, 2) : QByteArray())
               << (iv ? number(irradiance, 0) : QByteArray())
               << (iv ? number(cellTemp - 12, 1) : QByteArray()) << (iv ? number(cellTemp, 1) : QByteArray());
        fields << (insulation ? QByteArray(voc > 500 ? "1000" : "500") : QByteArray())
               << (insulation ? number(failed ? uniform(0.2, 0.9) : uniform(20, 199), 1) : QByteArray())
               << (type == 1 ? number(failed ? uniform(1.2, 3.0) : uniform(0.05, 0.6), 2) : QByteArray())
               << (iv ? number(iscNow * uniform(0.97, 1.0), 2) : QByteArray());

        QList<QByteArray> points;
        double vmp = 0, imp = 0, pmax = 0;
        if (type == 16) {
            // A single-diode-like knee: current falls off sharply near Voc.
            for (int p = 0; p < options.curvePoints; ++p) {
                const double v = voc * p / (options.curvePoints - 1);
                const double i = std::max(0.0, iscNow * (1 - std::exp((v - voc) / (0.06 * voc))));
                if (v * i > pmax) {
                    pmax = v * i;
                    vmp = v;
                    imp = i;
                }
                QByteArray point = number(v, 2) + ':' + number(i, 3);
                if (options.fileVersion > 1)
                    point += ':' + number(irradiance + uniform(-4, 4), 0) + ":0";
                points << point;
            }
        } else if (type == 2) {
            vmp = voc * 0.81;
            imp = iscNow * 0.94;
            pmax = vmp * imp;
        }
        fields << (iv ? number(pmax / (voc * iscNow), 2) : QByteArray())
               << (iv ? number(vmp, 1) : QByteArray()) << (iv ? number(imp, 2) : QByteArray());
        fields += points;
        fields << QByteArray::number(failed ? (insulation ? 3 : 2) : 0);

        QByteArray line;
        for (const QByteArray& field : qAsConst(fields))
            line += field + sep;
        line += QByteArray::number(testerLineChecksum(line, sep, decimal), 16).toUpper();
        out += line + "\r\n";
        when = when.addSecs(int(uniform(40, 160)));
    }
    return out;
}

QByteArray generateMeterFile(const QByteArray& testerFile, const MeterFileOptions& options)
{
    const QList<QByteArray> lines = testerFile.split('\n');
    if (lines.size() < 2)
        return QByteArray();
    // The tester's own separator: the one its column line is split by.
    const char testerSep = lines.at(1).contains(';') ? ';' : ',';
    const char testerDecimal = testerSep == ';' ? ',' : '.';
    QList<QByteArray> columns = lines.at(1).trimmed().split(testerSep);
    const int dateColumn = columns.indexOf("DD/MM/YYYY");
    const int timeColumn = columns.indexOf("HH:MM:SS");
    const int irrColumn = columns.indexOf("Irr (W/m2)");
    const int tpvColumn = columns.indexOf("Tpv (C)");
    const char sep = options.separator.toLatin1();
    QRandomGenerator random(options.seed);
    const QByteArray s(1, sep);

    QByteArray out = "Index" + s + "Irr" + s + "Tpv" + s + "Tamb" + s + "Date" + s + "Time" + s + "Irr Unit"
        + s + "Temp Unit\r\n";
    int index = 0;
    for (int n = 2; n < lines.size(); ++n) {
        const QList<QByteArray> fields = lines.at(n).trimmed().split(testerSep);
        if (dateColumn < 0 || timeColumn < 0 || fields.size() <= qMax(dateColumn, timeColumn))
            continue;
        const QDate date
            = QDate::fromString(QString::fromLatin1(fields.at(dateColumn)), QStringLiteral("dd/MM/yyyy"));
        const QTime time
            = QTime::fromString(QString::fromLatin1(fields.at(timeColumn)), QStringLiteral("HH:mm:ss"));
        if (!date.isValid() || !time.isValid())
            continue;
        auto number = [&](int column, double fallback) {
            if (column < 0 || column >= fields.size() || fields.at(column).isEmpty())
                return fallback;
            return QByteArray(fields.at(column)).replace(testerDecimal, '.').toDouble();
        };
        const double irradiance = number(irrColumn, 800) + random.bounded(11) - 5;
        const double cellTemp = number(tpvColumn, 35) + random.bounded(3) - 1;
        const QDateTime when = QDateTime(date, time).addSecs(options.secondsAfterTest);
        const int copies = options.duplicateEvery > 0 && (index + 1) % options.duplicateEvery == 0 ? 2 : 1;
        for (int copy = 0; copy < copies; ++copy) {
            ++index;
            QByteArray irr = options.imperialUnits ? QByteArray::number(qRound(irradiance / 3.15459075))
                                                   : QByteArray::number(qRound(irradiance));
            QByteArray tpv = options.imperialUnits ? QByteArray::number(qRound(cellTemp * 9 / 5 + 32))
                                                   : QByteArray::number(qRound(cellTemp));
            if (options.errEvery > 0 && index % options.errEvery == 0)
                irr = "ERR";
            if (options.errEvery > 0 && index % (options.errEvery + 1) == 0)
                tpv = "ERR";
            out += QByteArray::number(index) + s + irr + s + tpv + s
                + QByteArray::number(qRound(cellTemp - 10)) + s
                + when.date().toString(QStringLiteral("dd.MM.yy")).toLatin1() + s
                + when.time().toString(QStringLiteral("HH:mm:ss")).toLatin1() + s
                + (options.imperialUnits ? "BTU" : "W") + s + (options.imperialUnits ? "F" : "C") + "\r\n";
        }
    }
    return out;
}
