#pragma once

#include "STCAlgorithm.h"

namespace IVCurve {

struct ModuleAssignment;

// Translation that scales the measured curve by the STC short-circuit current and
// open-circuit voltage estimated from relative coefficients.
class Anderson : public STCAlgorithm
{
public:
    Anderson(const STCparameters& parameters, const ModuleAssignment& module, double iscFirst,
        double vmaxMeasured);
    QPointF translate(const CurveSeries& measured, const SeriesPoint& point) override;

private:
    void recalculate();

    const ModuleAssignment& m_module;
    double m_Isc1;
    double m_Vmax1;
    double m_lastIrradiance;
    double m_alpha;
    double m_beta;
    double m_delta;
    double m_alphaRel = 0.0;
    double m_betaRel = 0.0;
    double m_IscSTC = 0.0;
    double m_VocSTC = 0.0;
};

} // namespace IVCurve
