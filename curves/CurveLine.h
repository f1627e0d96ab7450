#pragma once

#include "CurveConstants.h"

#include <QColor>
#include <qwt_plot_curve.h>

class QwtPlotMarker;

namespace IVCurve {

class CurveSeries;

// One series of one string on the graph: its pen says which series it is (dashed measured,
// solid STC, dash-dot-dot nominal), power series use the right axis, and IV lines carry a
// marker at their maximum-power point.
class CurveLine : public QwtPlotCurve
{
public:
    CurveLine(const CurveSeries& series, const QString& label, const QColor& colour);
    ~CurveLine() override;

    SeriesKind kind() const { return m_kind; }
    QColor colour() const { return m_colour; }
    bool isPower() const;
    QwtPlotMarker* marker() const { return m_marker; }

    // The legend entry carries the title and, as user role, the pen style.
    QList<QwtLegendData> legendData() const override;

    // Attaches (or detaches, for null) the line and its marker.
    void attachLine(QwtPlot* plot);
    // Antialiased drawing of the line and its marker.
    void setSmooth(bool smooth);

    static Qt::PenStyle penStyle(SeriesKind kind);

private:
    SeriesKind m_kind;
    QColor m_colour;
    QwtPlotMarker* m_marker = nullptr;
};

} // namespace IVCurve
