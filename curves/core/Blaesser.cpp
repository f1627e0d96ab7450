#include "Blaesser.h"

#include "CurveSeries.h"
#include "STCparameters.h"

#include <cmath>

namespace IVCurve {

Blaesser::Blaesser(const STCparameters& parameters, double iscMeasured, double vocMeasured)
    : STCAlgorithm(parameters)
    , m_vocMeasured(vocMeasured)
{
    const double alpha = coefficient(parameters.alpha);
    if (iscMeasured != 0.0)
        m_alphaRel = alpha / iscMeasured;
    m_currentFactor = (1.0 + m_alphaRel * (m_T2 - m_T1)) * m_G2 / m_G1;
    m_voltageOffset
        = coefficient(parameters.b) * (m_T2 - m_T1) + coefficient(parameters.a) * std::log(m_G2 / m_G1);
    m_Rs = coefficient(parameters.Rs);
}

QPointF Blaesser::translate(const CurveSeries& measured, const SeriesPoint& point)
{
    const QPointF p = measured.points().at(point.index);
    const double i2 = m_currentFactor * p.y();
    const double v2 = p.x() + m_voltageOffset * m_vocMeasured + m_Rs * (p.y() - i2);
    return QPointF(v2, i2);
}

} // namespace IVCurve
