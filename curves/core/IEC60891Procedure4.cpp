#include "IEC60891Procedure4.h"

#include "CurveSeries.h"
#include "ModuleAssignment.h"
#include "STCparameters.h"

#include <algorithm>

namespace IVCurve {

IEC60891Procedure4::IEC60891Procedure4(
    const STCparameters& parameters, const ModuleAssignment& module, double iscFirst)
    : STCAlgorithm(parameters)
{
    const double dT = m_T2 - m_T1;
    const double parallel = std::max(1u, module.np);
    m_currentOffset = iscFirst * (m_G2 / m_G1 - 1.0);
    m_Rs = coefficient(parameters.iec4Rs) * module.ns / parallel;
    m_alphaDT = coefficient(parameters.iec4Alpha) * parallel * dT;
    // Below absolute zero the reading is nonsense: the curve is then not moved in voltage.
    const double absolute = m_T1 + 273.15;
    m_temperatureFactor = absolute > 0.0 ? dT / absolute : 0.0;
    m_bandGapVoltage = coefficient(parameters.iec4Epsilon) * coefficient(parameters.iec4Cells) * module.ns;
}

QPointF IEC60891Procedure4::translate(const CurveSeries& measured, const SeriesPoint& point)
{
    const QPointF p = measured.points().at(point.index);
    const double iIrradiance = p.y() + m_currentOffset;
    const double vIrradiance = p.x() - m_Rs * (iIrradiance - p.y());
    const double i2 = iIrradiance + m_alphaDT;
    const double v2 = vIrradiance + m_temperatureFactor * (vIrradiance - m_bandGapVoltage);
    return QPointF(v2, i2);
}

} // namespace IVCurve
