#pragma once

#include <qwt_plot_panner.h>

namespace IVCurve {

// Moves the graph with Shift and the left mouse button held down.
class CurvePanner : public QwtPlotPanner
{
public:
    explicit CurvePanner(QWidget* canvas);
};

} // namespace IVCurve
