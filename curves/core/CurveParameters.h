#pragma once

#include <QPointF>
#include <QVector>

namespace IVCurve {

// The figures of one IV curve, read from its points by straight-line and polynomial fits near
// both ends and around the maximum-power point rather than from single points, so that one
// noisy point does not decide a verdict. A value marked estimated came from fewer points than
// its fit wants (the nearest points were used instead).
struct CurveParameters
{
    bool valid = false;
    double isc = 0.0;
    double voc = 0.0;
    double imp = 0.0;
    double vmp = 0.0;
    double pmp = 0.0;
    double fillFactor = 0.0;
    // −dV/dI near the current axis and near the voltage axis, in Ω; 0 where the slope is flat
    // or rising (no resistance can be read from it).
    double rsh = 0.0;
    double rs = 0.0;
    bool iscEstimated = false;
    bool vocEstimated = false;
    bool mppEstimated = false;

    bool estimated() const { return iscEstimated || vocEstimated || mppEstimated; }

    // The points fitted: voltage below this share of Voc for Isc, current below this share of
    // Isc for Voc, and this window around the largest-power point for the maximum power.
    static constexpr double EndShare = 0.20;
    static constexpr double WindowLow = 0.75;
    static constexpr double WindowHigh = 1.15;
    static constexpr int LineFitPoints = 3;
    static constexpr int PowerFitDegree = 4;

    // Points are (voltage, current) in any order; points with a non-finite value are left out.
    // Not valid without two points, a positive maximum power and both axis crossings.
    static CurveParameters fromPoints(const QVector<QPointF>& points);
};

} // namespace IVCurve
