#pragma once

#include "STCAlgorithm.h"

namespace IVCurve {

struct ModuleAssignment;

// Translation with temperature coefficients in A/K and V/K per module, a series resistance
// and a curve correction factor.
class IEC60891 : public STCAlgorithm
{
public:
    IEC60891(const STCparameters& parameters, const ModuleAssignment& module, double iscFirst,
        double curveIrradiance);
    QPointF translate(const CurveSeries& measured, const SeriesPoint& point) override;

private:
    const ModuleAssignment& m_module;
    double m_Isc1;
    double m_curveIrradiance;
    double m_lastIrradiance;
    double m_alpha;
    double m_beta;
    double m_Rs;
    double m_K;
};

} // namespace IVCurve
