#include "CurveZoomer.h"

namespace IVCurve {

CurveZoomer::CurveZoomer(QWidget* canvas)
    : QwtPlotZoomer(canvas, false)
{
    setTrackerMode(QwtPicker::AlwaysOff);
    setRubberBand(QwtPicker::RectRubberBand);
    setKeyPattern(QwtEventPattern::KeyRedo, Qt::Key_I, Qt::ShiftModifier);
    setKeyPattern(QwtEventPattern::KeyUndo, Qt::Key_O, Qt::ShiftModifier);
    setKeyPattern(QwtEventPattern::KeyHome, Qt::Key_Home);
}

} // namespace IVCurve
