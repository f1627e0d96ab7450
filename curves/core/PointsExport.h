#pragma once

#include <QByteArray>
#include <QString>

namespace IVCurve {

class CurveRecord;

// The CSV text of one string's points as the curve document exports them: the label, the
// measured conditions and one line per point, numbers and separator in the user's locale.
namespace PointsExport {

enum Kind { MeasuredIV = 0, MeasuredPower = 1, STCIV = 2, STCPower = 3 };

// " MEAS", " PWR", " STC" or " STC PWR", translated.
QString suffix(Kind kind);
// "," — or ";" where the user's locale writes 0.5 with a comma.
QChar separator();
QByteArray content(CurveRecord& record, const QString& label, Kind kind);

} // namespace PointsExport
} // namespace IVCurve
