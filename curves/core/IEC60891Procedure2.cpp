#include "IEC60891Procedure2.h"

#include "CurveSeries.h"
#include "ModuleAssignment.h"
#include "STCparameters.h"

#include <algorithm>
#include <cmath>

namespace IVCurve {

IEC60891Procedure2::IEC60891Procedure2(
    const STCparameters& parameters, const ModuleAssignment& module, double vocMeasured)
    : STCAlgorithm(parameters)
{
    const double seriesPerParallel = double(module.ns) / double(std::max(1u, module.np));
    const double dT = m_T2 - m_T1;
    // The relative coefficients are entered in %/°C.
    const double alphaRel = coefficient(parameters.iec2AlphaRel) / 100.0;
    const double betaRel = coefficient(parameters.iec2BetaRel) / 100.0;
    m_currentFactor = (1.0 + alphaRel * dT) * m_G2 / m_G1;
    m_voltageOffset = vocMeasured * (betaRel * dT + coefficient(parameters.iec2A) * std::log(m_G2 / m_G1));
    m_Rs = coefficient(parameters.iec2Rs) * seriesPerParallel;
    m_kappaDT = coefficient(parameters.iec2Kappa) * seriesPerParallel * dT;
}

QPointF IEC60891Procedure2::translate(const CurveSeries& measured, const SeriesPoint& point)
{
    const QPointF p = measured.points().at(point.index);
    const double i2 = p.y() * m_currentFactor;
    const double v2 = p.x() + m_voltageOffset - m_Rs * (i2 - p.y()) - m_kappaDT * i2;
    return QPointF(v2, i2);
}

} // namespace IVCurve
