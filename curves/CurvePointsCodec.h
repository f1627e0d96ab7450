#pragma once

#include <QString>

namespace IVCurve {

class CurveSeries;

// The text form of a measured point list in the Curves table: points "V:I:G:tag" joined by
// "#", numbers in the C locale with 3 decimals.
namespace CurvePointsCodec {

QString encode(const CurveSeries& series);
// Appends the decoded points to the series. Every "#"-separated part yields one point;
// fields that are missing or do not parse keep their defaults (0 A, 1000 W/m², tag 0).
void decode(const QString& text, CurveSeries& series);

} // namespace CurvePointsCodec
} // namespace IVCurve
