#pragma once

#include "STCAlgorithm.h"

namespace IVCurve {

struct ModuleAssignment;

// Translation that moves the curve to the target irradiance first (current by the measured
// short-circuit current, voltage by the series resistance) and then to the target temperature
// (current by an absolute coefficient, voltage in proportion to the absolute temperature with
// a band-gap offset of ε per cell in series). The coefficients and the cell count are per
// module, scaled to the string by its modules in series and in parallel.
class IEC60891Procedure4 : public STCAlgorithm
{
public:
    IEC60891Procedure4(const STCparameters& parameters, const ModuleAssignment& module, double iscFirst);
    QPointF translate(const CurveSeries& measured, const SeriesPoint& point) override;

private:
    double m_currentOffset = 0.0;
    double m_Rs = 0.0;
    double m_alphaDT = 0.0;
    double m_temperatureFactor = 0.0;
    double m_bandGapVoltage = 0.0;
};

} // namespace IVCurve
