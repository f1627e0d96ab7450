#pragma once

#include <QList>
#include <qwt_plot_picker.h>

namespace IVCurve {

class CurveLine;

// Reads the shown curves off at the mouse position: a vertical line follows the mouse and a
// box lists, for every line asked for, its voltage, current and power there.
class CurveTracker : public QwtPlotPicker
{
public:
    using LineSource = std::function<QList<const CurveLine*>()>;

    CurveTracker(QWidget* canvas, const LineSource& lines);

    // The read-out of the lines at voltage x: one row per line that spans x, joined by "<br>".
    static QString readout(const QList<const CurveLine*>& lines, double x);

protected:
    QwtText trackerTextF(const QPointF& position) const override;

private:
    LineSource m_lines;
};

} // namespace IVCurve
