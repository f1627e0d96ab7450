#include "IEC60891.h"

#include "CurveSeries.h"
#include "ModuleAssignment.h"
#include "STCparameters.h"

namespace IVCurve {

IEC60891::IEC60891(
    const STCparameters& parameters, const ModuleAssignment& module, double iscFirst, double curveIrradiance)
    : STCAlgorithm(parameters)
    , m_module(module)
    , m_Isc1(iscFirst)
    , m_curveIrradiance(curveIrradiance != 0.0 ? curveIrradiance : m_G1)
    , m_lastIrradiance(m_G1)
    , m_alpha(coefficient(parameters.alpha))
    , m_beta(coefficient(parameters.beta))
    , m_Rs(coefficient(parameters.Rs))
    , m_K(coefficient(parameters.K))
{ }

QPointF IEC60891::translate(const CurveSeries& measured, const SeriesPoint& point)
{
    const QPointF p = measured.points().at(point.index);
    const double v1 = p.x();
    const double i1 = p.y();
    const double dT = m_T2 - m_T1;
    double i2;
    if (!m_parameters.perPointIrradiance) {
        i2 = i1 + m_Isc1 * (m_G2 / m_G1 - 1.0) + m_alpha * m_module.np * dT;
    } else {
        if (point.irradiance != 0.0)
            m_lastIrradiance = point.irradiance;
        const double gp = m_lastIrradiance;
        i2 = i1 + m_Isc1 * (gp / m_curveIrradiance) * (m_G2 / gp - 1.0) + m_alpha * m_module.np * dT;
    }
    const double v2 = v1 + m_module.ns * (m_beta * dT - m_Rs * (i2 - i1) - m_K * i2 * dT);
    return QPointF(v2, i2);
}

} // namespace IVCurve
