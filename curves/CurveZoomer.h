#pragma once

#include <qwt_plot_zoomer.h>

namespace IVCurve {

// Rubber-band zoom on the graph's canvas; Shift+I and Shift+O step through the zoom stack and
// Home goes back to the whole graph.
class CurveZoomer : public QwtPlotZoomer
{
public:
    explicit CurveZoomer(QWidget* canvas);
};

} // namespace IVCurve
