#pragma once

#include <qwt_plot_item.h>

namespace IVCurve {

// The small box at the foot of the canvas that tells which pen is which series kind: one row
// per kind shown, in the order STC, MEAS, NOM.
class CurveTypeLegend : public QwtPlotItem
{
public:
    CurveTypeLegend();

    int rtti() const override { return QwtPlotItem::Rtti_PlotUserItem + 1; }
    void draw(QPainter* painter, const QwtScaleMap& xMap, const QwtScaleMap& yMap,
        const QRectF& canvasRect) const override;

    void setShown(bool stc, bool meas, bool nom);
    // Where the box is drawn on a canvas of that size.
    QRectF boxRect(const QRectF& canvasRect) const;

private:
    bool m_stc = true;
    bool m_meas = false;
    bool m_nom = false;
};

} // namespace IVCurve
