#pragma once

#include <QByteArray>
#include <QString>

namespace IVCurve {

class CurveSeries;

// The text form of a measured point list in the Curves table: points "V:I:G:tag" joined by
// "#", numbers in the C locale with 3 decimals.
namespace CurvePointsCodec {

// A tester measures a few hundred points; anything beyond this is not a curve but a damaged
// or hostile file, and is not read.
constexpr int maxPoints = 100000;

QString encode(const CurveSeries& series);
// Appends the decoded points to the series. Every "#"-separated part yields one point;
// fields that are missing or do not parse keep their defaults (0 A, 1000 W/m², tag 0).
// At most maxPoints points are read.
void decode(const QString& text, CurveSeries& series);
// The same for the text's UTF-8 bytes, as the file holds them.
void decodeUtf8(const QByteArray& text, CurveSeries& series);

} // namespace CurvePointsCodec
} // namespace IVCurve
