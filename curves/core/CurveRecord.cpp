#include "CurveRecord.h"

#include "Anderson.h"
#include "Blaesser.h"
#include "IEC60891.h"
#include "IEC60891Procedure2.h"
#include "IEC60891Procedure4.h"
#include "NumberText.h"

#include <array>
#include <cmath>
#include <cstring>

namespace IVCurve {

namespace {
bool finite(const QPointF& p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}
} // namespace

CurveRecord::CurveRecord()
    : m_series { CurveSeries(SeriesMEAS), CurveSeries(SeriesMEASPower), CurveSeries(SeriesSTC),
        CurveSeries(SeriesSTCPower), CurveSeries(SeriesNOM), CurveSeries(SeriesNOMPower) }
{ }

const CurveSeries& CurveRecord::series(SeriesKind kind)
{
    switch (kind) {
    case SeriesMEASPower:
        buildPower(SeriesMEAS, SeriesMEASPower);
        break;
    case SeriesSTC:
        buildSTC();
        break;
    case SeriesSTCPower:
        buildSTC();
        buildPower(SeriesSTC, SeriesSTCPower);
        break;
    case SeriesNOM:
        buildNominal();
        break;
    case SeriesNOMPower:
        buildNominal();
        buildPower(SeriesNOM, SeriesNOMPower);
        break;
    default:
        break;
    }
    return m_series[kind];
}

void CurveRecord::invalidateTranslations()
{
    m_series[SeriesSTC].clear();
    m_series[SeriesSTCPower].clear();
    m_series[SeriesNOM].clear();
    m_series[SeriesNOMPower].clear();
}

void CurveRecord::setSTCparameters(const STCparameters& parameters)
{
    if (parameters == m_stc)
        return;
    m_stc = parameters;
    invalidateTranslations();
}

void CurveRecord::setModuleAssignment(const ModuleAssignment& module)
{
    m_module = module;
    invalidateTranslations();
}

void CurveRecord::setValue(Value which, const QString& text)
{
    if (m_values[which] == text)
        return;
    m_values[which] = text;
    invalidateTranslations();
}

std::unique_ptr<STCAlgorithm> CurveRecord::makeAlgorithm()
{
    const CurveSeries& meas = m_series[SeriesMEAS];
    bool ok = false;
    double iscMeasured = NumberText::parse(m_values[Isc], &ok);
    if (!ok)
        iscMeasured = meas.maxCurrent();
    double vocMeasured = NumberText::parse(m_values[Voc], &ok);
    if (!ok)
        vocMeasured = meas.maxVoltage();
    NumberText::parse(m_values[Irradiance], &ok);
    m_stc.G1 = ok ? m_values[Irradiance] : QStringLiteral("1000");
    const QString& temperature
        = m_stc.algorithm == AlgorithmBlaesser ? m_values[AmbientTemp] : m_values[CellTemp];
    NumberText::parse(temperature, &ok);
    m_stc.T1 = ok ? temperature : QStringLiteral("25");
    const double iscFirst = meas.isEmpty() ? meas.maxCurrent() : meas.points().first().y();

    switch (m_stc.algorithm) {
    case AlgorithmBlaesser:
        return std::make_unique<Blaesser>(m_stc, iscMeasured, vocMeasured);
    case AlgorithmIEC60891:
        return std::make_unique<IEC60891>(m_stc, m_module, iscFirst, meas.irradiance());
    case AlgorithmIEC60891Procedure2:
        return std::make_unique<IEC60891Procedure2>(
            m_stc, m_module, meas.isEmpty() ? 0.0 : meas.points().last().x());
    case AlgorithmIEC60891Procedure4:
        return std::make_unique<IEC60891Procedure4>(m_stc, m_module, iscFirst);
    default:
        return std::make_unique<Anderson>(m_stc, m_module, iscFirst, meas.maxVoltage());
    }
}

void CurveRecord::buildSTC()
{
    CurveSeries& stc = m_series[SeriesSTC];
    if (!stc.isEmpty())
        return;
    const CurveSeries& meas = m_series[SeriesMEAS];
    if (meas.isEmpty())
        return;
    const std::unique_ptr<STCAlgorithm> algorithm = makeAlgorithm();
    const QVector<SeriesPoint>& points = meas.seriesPoints();
    stc.reserve(points.size() + 2);

    // The translated curve starts on the current axis and ends on the voltage axis. Points that
    // the coefficients make non-finite are left out: they cannot be drawn or exported.
    const QPointF first = algorithm->translate(meas, points.first());
    if (finite(first) && first.x() > 0.0)
        stc.addPoint(0.0, first.y(), points.first().irradiance, 0);
    STCAlgorithm& translator = *algorithm;
    stc.appendPoints(points.size(), [&](int i, QPointF& translated, SeriesPoint& extra) {
        const SeriesPoint& point = points.at(i);
        translated = translator.translate(meas, point);
        extra.irradiance = point.irradiance;
        extra.tag = 0;
        return finite(translated);
    });
    const QPointF last = algorithm->translate(meas, points.last());
    if (finite(last) && last.y() > 0.0)
        stc.addPoint(last.x(), 0.0, points.last().irradiance, 0);
}

QVector<QPointF> CurveRecord::translatedMeasuredPoints()
{
    QVector<QPointF> result;
    const CurveSeries& meas = m_series[SeriesMEAS];
    if (meas.isEmpty())
        return result;
    const std::unique_ptr<STCAlgorithm> algorithm = makeAlgorithm();
    result.reserve(meas.size());
    for (const SeriesPoint& point : meas.seriesPoints())
        result.append(algorithm->translate(meas, point));
    return result;
}

void CurveRecord::buildNominal()
{
    CurveSeries& nom = m_series[SeriesNOM];
    if (!nom.isEmpty() || !(m_module.voc > 0.0))
        return;
    // The nominal curve depends on the module's figures and the string's layout alone, and most
    // strings of a document share them: the last one made is kept, its points shared by copy.
    struct Nominal
    {
        std::array<double, 4> figures {};
        unsigned ns = 0;
        unsigned np = 0;
        CurveSeries series { SeriesNOM };
    };
    thread_local Nominal last;
    const std::array<double, 4> figures { m_module.voc, m_module.isc, m_module.d, m_module.vmp };
    // Compared bit for bit: -0.0 and 0.0 may give curves that differ in the sign of a zero.
    if (!last.series.isEmpty() && last.ns == m_module.ns && last.np == m_module.np
        && std::memcmp(last.figures.data(), figures.data(), sizeof figures) == 0) {
        nom = last.series;
        return;
    }
    const double voc = m_module.voc;
    const double isc = m_module.isc;
    const double d = m_module.d;
    const double ns = m_module.ns;
    const double np = m_module.np;
    nom.reserve(128);
    nom.raiseMaxima(ns * voc, np * isc);
    const double step = voc / 127.0;
    int mppIndex = -1;
    const double vmp = m_module.vmp;
    const double offset = d == 0.0 ? 0.0 : 2.0 * std::exp(-voc / d);
    nom.appendPoints(127, [&](int i, QPointF& point, SeriesPoint& extra) {
        const double v = i * step;
        if (mppIndex < 0 && v - vmp > 0.0)
            mppIndex = i;
        extra.irradiance = 1000.0;
        extra.tag = 0;
        if (d == 0.0) {
            point = QPointF(v, 0.0);
            return true;
        }
        // e^(v/d)·e^(−Voc/d) written as one exponent, so that a small d cannot give inf·0.
        const double current = np * (isc - (std::exp((v - voc) / d) - offset) * isc);
        point = QPointF(ns * v, current);
        return bool(std::isfinite(current));
    });
    nom.addPoint(ns * voc, 0.0, 1000.0, 0);
    if (mppIndex >= 0 && mppIndex < nom.size())
        nom.setMaxPowerIndex(mppIndex);
    last.figures = figures;
    last.ns = m_module.ns;
    last.np = m_module.np;
    last.series = nom;
}

void CurveRecord::buildPower(SeriesKind source, SeriesKind power)
{
    const CurveSeries& from = m_series[source];
    CurveSeries& to = m_series[power];
    if (to.size() >= from.size())
        return;
    to.clear();
    to.reserve(from.size());
    const QPointF* points = from.points().constData();
    const SeriesPoint* extra = from.seriesPoints().constData();
    to.appendPoints(from.size(), [points, extra](int i, QPointF& point, SeriesPoint& added) {
        const double watts = points[i].x() * points[i].y();
        point = QPointF(points[i].x(), std::isfinite(watts) ? watts : 0.0);
        added.irradiance = extra[i].irradiance;
        added.tag = extra[i].tag;
        return true;
    });
    to.setMaxPowerIndex(from.maxPowerIndex());
}

} // namespace IVCurve
