#pragma once

#include "STCAlgorithm.h"

namespace IVCurve {

struct ModuleAssignment;

// Translation with relative temperature coefficients, an irradiance correction of the voltage,
// an internal series resistance and a curve correction factor. The resistance and the factor
// are per module, as the other coefficients, and scaled to the string by its modules in series
// and in parallel. The open-circuit voltage of the measurement is the voltage of its last point.
class IEC60891Procedure2 : public STCAlgorithm
{
public:
    IEC60891Procedure2(const STCparameters& parameters, const ModuleAssignment& module, double vocMeasured);
    QPointF translate(const CurveSeries& measured, const SeriesPoint& point) override;

private:
    double m_currentFactor = 0.0;
    double m_voltageOffset = 0.0;
    double m_Rs = 0.0;
    double m_kappaDT = 0.0;
};

} // namespace IVCurve
