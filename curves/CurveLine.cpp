#include "CurveLine.h"

#include "CurveSeries.h"

#include <qwt_legend_data.h>
#include <qwt_plot.h>
#include <qwt_plot_marker.h>
#include <qwt_symbol.h>

namespace IVCurve {

CurveLine::CurveLine(const CurveSeries& series, const QString& label, const QColor& colour)
    // A label is the user's text, never markup: it shows as typed in the legend.
    : QwtPlotCurve(QwtText(label, QwtText::PlainText))
    , m_kind(series.kind())
    , m_colour(colour)
{
    setSamples(series.points());
    setPen(colour, 2.0, penStyle(m_kind));
    setYAxis(isPower() ? QwtPlot::yRight : QwtPlot::yLeft);
    setRenderHint(QwtPlotItem::RenderAntialiased, true);
    setStyle(QwtPlotCurve::Lines);
    setCurveAttribute(QwtPlotCurve::Fitted, false);
    setLegendAttribute(QwtPlotCurve::LegendShowLine, true);
    // The graph chooses the one line of each string that the legend lists.
    setItemAttribute(QwtPlotItem::Legend, false);
    const int mpp = series.maxPowerIndex();
    if (!isPower() && mpp >= 0 && mpp < series.size()) {
        m_marker = new QwtPlotMarker;
        m_marker->setSymbol(
            new QwtSymbol(QwtSymbol::Ellipse, QBrush(Qt::white), QPen(colour, 2.0), QSize(8, 8)));
        m_marker->setValue(series.points().at(mpp));
        m_marker->setRenderHint(QwtPlotItem::RenderAntialiased, true);
        m_marker->setItemAttribute(QwtPlotItem::Legend, false);
        m_marker->setZ(z() + 1);
    }
}

CurveLine::~CurveLine()
{
    delete m_marker;
}

bool CurveLine::isPower() const
{
    return m_kind == SeriesMEASPower || m_kind == SeriesSTCPower || m_kind == SeriesNOMPower;
}

QList<QwtLegendData> CurveLine::legendData() const
{
    QList<QwtLegendData> data = QwtPlotCurve::legendData();
    for (QwtLegendData& entry : data)
        entry.setValue(QwtLegendData::UserRole, int(pen().style()));
    return data;
}

void CurveLine::attachLine(QwtPlot* plot)
{
    attach(plot);
    if (m_marker)
        m_marker->attach(plot);
}

void CurveLine::setSmooth(bool smooth)
{
    setRenderHint(QwtPlotItem::RenderAntialiased, smooth);
    if (m_marker)
        m_marker->setRenderHint(QwtPlotItem::RenderAntialiased, smooth);
}

Qt::PenStyle CurveLine::penStyle(SeriesKind kind)
{
    switch (kind) {
    case SeriesMEAS:
    case SeriesMEASPower:
        return Qt::DashLine;
    case SeriesNOM:
    case SeriesNOMPower:
        return Qt::DashDotDotLine;
    default:
        return Qt::SolidLine;
    }
}

} // namespace IVCurve
