#pragma once

#include <QPointF>

namespace IVCurve {

class CurveSeries;
struct SeriesPoint;
struct STCparameters;

// Translates the points of a measured curve to standard test conditions (1000 W/m², 25 °C).
// An object lives for one build of a translated series.
class STCAlgorithm
{
public:
    // The translated (voltage, current) of one point of the measured series.
    virtual QPointF translate(const CurveSeries& measured, const SeriesPoint& point) = 0;
    virtual ~STCAlgorithm();

protected:
    explicit STCAlgorithm(const STCparameters& parameters);

    // A coefficient text as a number; one that does not parse counts as 0.
    static double coefficient(const QString& text);

    const double m_G2 = 1000.0;
    const double m_T2 = 25.0;
    const STCparameters& m_parameters;
    // Measurement conditions: an unusable irradiance is taken as 1000 W/m², a missing
    // temperature as 25 °C.
    double m_G1;
    double m_T1;
};

} // namespace IVCurve
