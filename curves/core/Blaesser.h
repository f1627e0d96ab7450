#pragma once

#include "STCAlgorithm.h"

namespace IVCurve {

// Translation with a relative current coefficient and an irradiance-dependent voltage offset.
class Blaesser : public STCAlgorithm
{
public:
    Blaesser(const STCparameters& parameters, double iscMeasured, double vocMeasured);
    QPointF translate(const CurveSeries& measured, const SeriesPoint& point) override;

private:
    double m_vocMeasured;
    double m_alphaRel = 0.0;
    double m_currentFactor = 0.0;
    double m_voltageOffset = 0.0;
    double m_Rs = 0.0;
};

} // namespace IVCurve
