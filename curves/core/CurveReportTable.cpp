#include "CurveReportTable.h"

#include "CurveParameters.h"

#include "CurveRecord.h"
#include "ModuleLibrary.h"
#include "NumberText.h"
#include "TestDate.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>

namespace IVCurve {
namespace CurveReportTable {

namespace {
const char* const CellStyle = "font-family: Arial, Helvetica, sans-serif; font-size: 8pt;";

QString cell(const QString& placeholder, bool left = false)
{
    return QStringLiteral("<td align=\"%1\" style=\"%2%3\">%4</td>")
        .arg(left ? QStringLiteral("left") : QStringLiteral("center"), QLatin1String(CellStyle),
            left ? QStringLiteral(" white-space: nowrap;") : QString(), placeholder);
}

QString stringsRowTemplate()
{
    return QStringLiteral("<tr>") + cell(QStringLiteral("<!--#STRINGNAME#-->"), true)
        + cell(QStringLiteral("<!--#DATE#-->")) + cell(QStringLiteral("<!--#IRRADIANCE#-->"))
        + cell(QStringLiteral("<!--#CELLTEMP#-->")) + cell(QStringLiteral("<!--#FILLFACTOR#-->"))
        + cell(QStringLiteral("<!--#NUM_MODULES#-->")) + cell(QStringLiteral("<!--#VERDICT#-->"))
        + QStringLiteral("</tr>\n");
}

QString electricalRowTemplate()
{
    static const char* const names[]
        = { "MEAS_PWR", "STC_PWR", "NOM_PWR", "DIFF_PWR", "MEAS_VOC", "STC_VOC", "NOM_VOC", "MEAS_VMPP",
              "STC_VMPP", "NOM_VMPP", "MEAS_ISC", "STC_ISC", "NOM_ISC", "MEAS_IMPP", "STC_IMPP", "NOM_IMPP" };
    QString row = QStringLiteral("<tr>") + cell(QStringLiteral("<!--#STRINGNAME#-->"), true);
    for (const char* name : names)
        row += cell(QStringLiteral("<!--#%1#-->").arg(QLatin1String(name)));
    return row + QStringLiteral("</tr>\n");
}

QString number(const QString& text, int decimals)
{
    bool ok = false;
    const double value = NumberText::parse(text.trimmed(), &ok);
    return ok ? fixed(value, decimals) : QString();
}

// The figures of one IV series and its power series: the largest power, Voc (last point),
// the maximum-power point and Isc (first point).
struct Figures
{
    bool present = false;
    double power = 0.0;
    double voc = 0.0;
    double isc = 0.0;
    double vmpp = 0.0;
    double impp = 0.0;
};

Figures figures(const CurveSeries& iv, const CurveSeries& power)
{
    Figures f;
    if (iv.isEmpty())
        return f;
    f.present = true;
    f.power = power.maxCurrent();
    f.voc = iv.points().last().x();
    f.isc = iv.points().first().y();
    const int mpp = iv.maxPowerIndex();
    if (mpp >= 0 && mpp < iv.size()) {
        f.vmpp = iv.points().at(mpp).x();
        f.impp = iv.points().at(mpp).y();
    }
    return f;
}

void put(QString& row, const char* name, const QString& value)
{
    row.replace(QStringLiteral("<!--#%1#-->").arg(QLatin1String(name)), value);
}

// The cells without a value are left empty.
QString clearUnfilled(QString row)
{
    static const QRegularExpression unfilled(QStringLiteral("<!--#[A-Z_]+#-->"));
    return row.remove(unfilled);
}

QString moduleDescription(const CurveRecord& record, CurveModuleRow* row)
{
    if (!record.module().hasModule())
        return QString();
    ModuleLibrary& library = ModuleLibrary::instance();
    if (!library.open() || !library.module(uint(record.module().moduleID), row))
        return QString();
    return row->value(CurveModuleRow::Description).toString();
}
} // namespace

QString fixed(double value, int decimals)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals);
}

QString pageTemplate()
{
    QFile file(QStringLiteral(":/res/reports/PV Array Curve Report.html"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

Verdict verdictOf(CurveRecord& record, const VerdictTolerances& tolerances)
{
    return StringComparison::judgeRecord(
        record, CurveParameters::fromPoints(record.stc().points()), tolerances);
}

QString stringsRow(CurveRecord& record, const VerdictTolerances& tolerances)
{
    return stringsRow(record, verdictOf(record, tolerances));
}

QString stringsRow(CurveRecord& record, const Verdict& verdict)
{
    QString row = stringsRowTemplate();
    put(row, "STRINGNAME", record.label.toHtmlEscaped());
    put(row, "DATE", TestDate::displayText(record.testDate).toHtmlEscaped());
    put(row, "IRRADIANCE", number(record.value(CurveRecord::Irradiance), 0));
    put(row, "CELLTEMP", number(record.value(CurveRecord::CellTemp), 1));
    put(row, "FILLFACTOR", number(record.value(CurveRecord::FF), 0));
    put(row, "NUM_MODULES", record.nominal().isEmpty() ? QString() : QString::number(record.module().ns));
    put(row, "VERDICT", verdict.text().toHtmlEscaped());
    return clearUnfilled(row);
}

QString electricalRow(CurveRecord& record)
{
    QString row = electricalRowTemplate();
    put(row, "STRINGNAME", record.label.toHtmlEscaped());
    const Figures meas = figures(record.measured(), record.measuredPower());
    if (meas.present) {
        put(row, "MEAS_PWR", fixed(meas.power, 0));
        put(row, "MEAS_VOC", fixed(meas.voc, 1));
        put(row, "MEAS_VMPP", fixed(meas.vmpp, 1));
        put(row, "MEAS_IMPP", fixed(meas.impp, 2));
        put(row, "MEAS_ISC", fixed(meas.isc, 2));
    }
    const Figures stc = figures(record.stc(), record.stcPower());
    if (stc.present) {
        put(row, "STC_PWR", fixed(stc.power, 0));
        put(row, "STC_VOC", fixed(stc.voc, 1));
        put(row, "STC_VMPP", fixed(stc.vmpp, 1));
        put(row, "STC_IMPP", fixed(stc.impp, 2));
        put(row, "STC_ISC", fixed(stc.isc, 2));
    }
    if (!record.nominal().isEmpty()) {
        const ModuleAssignment& m = record.module();
        const double nominalPower = (m.np * m.imp) * (m.ns * m.vmp);
        put(row, "NOM_PWR", fixed(nominalPower, 0));
        put(row, "NOM_VOC", fixed(m.ns * m.voc, 1));
        put(row, "NOM_VMPP", fixed(m.ns * m.vmp, 1));
        put(row, "NOM_IMPP", fixed(m.np * m.imp, 2));
        put(row, "NOM_ISC", fixed(m.np * m.isc, 2));
        if (stc.present && record.nominalPower().maxCurrent() > 0.0 && nominalPower > 0.0)
            put(row, "DIFF_PWR", fixed(std::abs(nominalPower - stc.power) * 100.0 / nominalPower, 1));
    }
    return clearUnfilled(row);
}

QString fill(const QString& pageTemplate, const Header& header, const QList<CurveRecord*>& records,
    CurveRecord& headerRecord)
{
    QString html = pageTemplate;
    const auto replace = [&html](const char* placeholder, const QString& value) {
        html.replace(QStringLiteral("<!-- %1 -->").arg(QLatin1String(placeholder)), value);
    };
    replace("REPORT_LOGO", header.logoHtml);
    replace("REPORT_SITE", header.site.toHtmlEscaped());
    replace("REPORT_SUBSTATION", header.substation.toHtmlEscaped());
    replace("REPORT_INVERTER", header.inverter.toHtmlEscaped());
    replace("REPORT_COMBINER", header.combiner.toHtmlEscaped());
    CurveModuleRow module;
    const QString description = moduleDescription(headerRecord, &module);
    if (!description.isEmpty()) {
        replace("REPORT_MODULE", description.toHtmlEscaped());
        const auto coefficient = [&](const char* placeholder, CurveModuleRow::Field field) {
            bool ok = false;
            const double value = NumberText::fromVariant(module.value(field), &ok);
            if (ok)
                replace(placeholder, NumberText::format(value));
        };
        coefficient("REPORT_ALPHA", CurveModuleRow::Alpha);
        coefficient("REPORT_BETA", CurveModuleRow::Beta);
        coefficient("REPORT_SERIESR", CurveModuleRow::Rs);
    }
    replace("REPORT_SERIAL", headerRecord.testerSerNo.toHtmlEscaped());

    QDateTime first;
    QDateTime last;
    QString table1;
    QString table2;
    int counts[3] = {};
    for (CurveRecord* record : records) {
        const Verdict verdict = verdictOf(*record, header.tolerances);
        ++counts[verdict.outcome];
        const QDateTime when = TestDate::parse(record->testDate);
        if (when.isValid()) {
            if (!first.isValid() || when < first)
                first = when;
            if (!last.isValid() || when > last)
                last = when;
        }
        table1 += stringsRow(*record, verdict);
        table2 += electricalRow(*record);
    }
    const QString format = QLocale::system().dateFormat(QLocale::ShortFormat) + QStringLiteral(" HH:mm:ss");
    if (first.isValid())
        replace("REPORT_STARTTIME", first.toString(format).toHtmlEscaped());
    if (last.isValid())
        replace("REPORT_ENDTIME", last.toString(format).toHtmlEscaped());
    replace("TABLE1_ROWS", table1);
    replace("VERDICT_COUNTS",
        QCoreApplication::translate("IVCurve::CurveReportTable", "Pass: %1, Fail: %2, No verdict: %3")
            .arg(counts[Verdict::Pass])
            .arg(counts[Verdict::Fail])
            .arg(counts[Verdict::None]));
    replace("TABLE2_ROWS", table2);
    return html;
}

QString comparisonPage(const QVector<ComparisonRow>& rows)
{
    auto tr = [](const char* text) { return QCoreApplication::translate("IVCurve::CurveReportTable", text); };
    const char* const headers[] = { QT_TRANSLATE_NOOP("IVCurve::CurveReportTable", "String Name"),
        QT_TRANSLATE_NOOP("IVCurve::CurveReportTable", "Irr (W/m²)"),
        QT_TRANSLATE_NOOP("IVCurve::CurveReportTable", "Tpv (°C)"),
        QT_TRANSLATE_NOOP("IVCurve::CurveReportTable", "Isc (A)"),
        QT_TRANSLATE_NOOP("IVCurve::CurveReportTable", "Voc (V)"),
        QT_TRANSLATE_NOOP("IVCurve::CurveReportTable", "Impp (A)"),
        QT_TRANSLATE_NOOP("IVCurve::CurveReportTable", "Vmpp (V)"),
        QT_TRANSLATE_NOOP("IVCurve::CurveReportTable", "Pmpp (W)"),
        QT_TRANSLATE_NOOP("IVCurve::CurveReportTable", "FF"),
        QT_TRANSLATE_NOOP("IVCurve::CurveReportTable", "Pmpp vs. median (%)"),
        QT_TRANSLATE_NOOP("IVCurve::CurveReportTable", "Verdict") };
    QString html = QStringLiteral(
        "<html><body style=\"font-family: Arial, Helvetica, sans-serif;\">"
        "<p style=\"font-size: 14pt;\"><b>%1</b></p>"
        "<table width=\"100%\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
        "style=\"border-color: #808080; border-style: solid;\"><thead><tr bgcolor=\"#d9d9d9\">")
                       .arg(tr("String Comparison at STC").toHtmlEscaped());
    for (const char* header : headers)
        html += QStringLiteral("<th>%1</th>").arg(tr(header).toHtmlEscaped());
    html += QStringLiteral("</tr></thead>\n");
    int counts[3] = {};
    int outliers = 0;
    for (const ComparisonRow& row : rows) {
        const CurveParameters& p = row.stc;
        ++counts[row.verdict.outcome];
        outliers += row.outlier ? 1 : 0;
        const auto number
            = [&p](double value, int decimals) { return p.valid ? fixed(value, decimals) : QString(); };
        html += row.outlier ? QStringLiteral("<tr bgcolor=\"#ffddaa\">") : QStringLiteral("<tr>");
        html += cell(row.label.toHtmlEscaped(), true) + cell(CurveReportTable::number(row.irradiance, 0))
            + cell(CurveReportTable::number(row.cellTemperature, 1)) + cell(number(p.isc, 2))
            + cell(number(p.voc, 1)) + cell(number(p.imp, 2)) + cell(number(p.vmp, 1))
            + cell(number(p.pmp, 0)) + cell(number(p.fillFactor, 2))
            + cell(row.hasDeviation ? fixed(row.deviation, 1) : QString())
            + cell(row.verdict.text().toHtmlEscaped(), true) + QStringLiteral("</tr>\n");
    }
    html
        += QStringLiteral("</table><p style=\"font-size: 8pt;\">%1</p></body></html>")
               .arg(tr("Pass: %1, Fail: %2, No verdict: %3. Outliers (more than three scaled median absolute "
                       "deviations from their folder's median): %4.")
                        .arg(counts[Verdict::Pass])
                        .arg(counts[Verdict::Fail])
                        .arg(counts[Verdict::None])
                        .arg(outliers)
                        .toHtmlEscaped());
    return html;
}

} // namespace CurveReportTable
} // namespace IVCurve
