#include "Anderson.h"

#include "CurveSeries.h"
#include "ModuleAssignment.h"
#include "STCparameters.h"

#include <cmath>

namespace IVCurve {

Anderson::Anderson(
    const STCparameters& parameters, const ModuleAssignment& module, double iscFirst, double vmaxMeasured)
    : STCAlgorithm(parameters)
    , m_module(module)
    , m_Isc1(iscFirst)
    , m_Vmax1(vmaxMeasured)
    , m_lastIrradiance(m_G1)
    , m_alpha(coefficient(parameters.alpha))
    , m_beta(coefficient(parameters.beta))
    , m_delta(coefficient(parameters.delta))
{
    recalculate();
}

void Anderson::recalculate()
{
    const double ns = m_module.ns;
    if (m_module.hasModule() && m_module.isc > 0.0)
        m_alphaRel = m_alpha / m_module.isc;
    else if (m_Isc1 != 0.0)
        m_alphaRel = m_alpha * m_module.np / ((m_G2 / m_G1) * m_Isc1);

    if (m_module.hasModule() && m_module.voc > 0.0)
        m_betaRel = m_beta * ns / (0.5 * (ns * m_module.voc + m_Vmax1));
    else if (m_Vmax1 != 0.0)
        m_betaRel = m_beta * ns / m_Vmax1;

    const double c = (1.0 + m_alphaRel * (m_T1 - m_T2)) * (m_G1 / m_G2);
    if (c != 0.0)
        m_IscSTC = m_Isc1 / c;
    const double f = (1.0 + m_delta * std::log(m_G1 / m_G2)) * (1.0 + m_betaRel * (m_T1 - m_T2));
    if (f != 0.0)
        m_VocSTC = m_Vmax1 / f;
}

QPointF Anderson::translate(const CurveSeries& measured, const SeriesPoint& point)
{
    if (m_parameters.perPointIrradiance) {
        // Only positive readings: the irradiance enters a logarithm.
        if (point.irradiance > 0.0)
            m_lastIrradiance = point.irradiance;
        m_G1 = m_lastIrradiance;
        recalculate();
    }
    if (m_Isc1 == 0.0 || m_Vmax1 == 0.0)
        return QPointF(0.0, 0.0);
    const QPointF p = measured.points().at(point.index);
    return QPointF(p.x() * m_VocSTC / m_Vmax1, p.y() * m_IscSTC / m_Isc1);
}

} // namespace IVCurve
