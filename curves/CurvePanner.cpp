#include "CurvePanner.h"

namespace IVCurve {

CurvePanner::CurvePanner(QWidget* canvas)
    : QwtPlotPanner(canvas)
{
    setMouseButton(Qt::LeftButton, Qt::ShiftModifier);
    setCursor(Qt::OpenHandCursor);
}

} // namespace IVCurve
