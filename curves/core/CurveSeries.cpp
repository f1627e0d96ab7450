#include "CurveSeries.h"

#include <algorithm>

namespace IVCurve {

CurveSeries::CurveSeries(SeriesKind kind)
    : m_kind(kind)
{ }

void CurveSeries::reserve(int size)
{
    m_points.reserve(size);
    m_seriesPoints.reserve(size);
}

void CurveSeries::clear()
{
    m_points.clear();
    m_seriesPoints.clear();
    m_maxVoltage = 0.0;
    m_maxCurrent = 0.0;
    m_irradiance = 1000.0;
    m_maxPowerIndex = -1;
    m_minIrradiance = 0.0;
    m_maxIrradiance = 0.0;
}

void CurveSeries::recomputeMaxPowerIndex()
{
    m_maxPowerIndex = -1;
    double best = 0.0;
    for (int i = 0; i < m_points.size(); ++i) {
        const double power = m_points.at(i).x() * m_points.at(i).y();
        if (m_maxPowerIndex < 0 || power > best) {
            best = power;
            m_maxPowerIndex = i;
        }
    }
}

void CurveSeries::raiseMaxima(double voltage, double current)
{
    m_maxVoltage = std::max(m_maxVoltage, voltage);
    m_maxCurrent = std::max(m_maxCurrent, current);
}

} // namespace IVCurve
