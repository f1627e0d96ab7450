#include "CurveTypeLegend.h"

#include "CurveLine.h"

#include <QPainter>
#include <QPainterPath>

namespace IVCurve {

CurveTypeLegend::CurveTypeLegend()
{
    setZ(100);
    setItemAttribute(QwtPlotItem::Legend, false);
}

void CurveTypeLegend::setShown(bool stc, bool meas, bool nom)
{
    m_stc = stc;
    m_meas = meas;
    m_nom = nom;
}

QRectF CurveTypeLegend::boxRect(const QRectF& canvasRect) const
{
    const int hidden = int(!m_stc) + int(!m_meas) + int(!m_nom);
    const double width = 80.0;
    const double height = 50.0 - 15.0 * hidden;
    return QRectF(canvasRect.center().x() - width / 2.0, canvasRect.bottom() - 10.0 - height, width, height);
}

void CurveTypeLegend::draw(
    QPainter* painter, const QwtScaleMap&, const QwtScaleMap&, const QRectF& canvasRect) const
{
    const QRectF box = boxRect(canvasRect);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(QPen(Qt::white));
    painter->setBrush(QColor(Qt::gray));
    painter->drawRoundedRect(box, 3.0, 3.0);

    QFont font = painter->font();
    font.setPixelSize(10);
    painter->setFont(font);
    struct Row
    {
        bool shown;
        const char* text;
        SeriesKind kind;
    };
    const Row rows[]
        = { { m_stc, "STC", SeriesSTC }, { m_meas, "MEAS", SeriesMEAS }, { m_nom, "NOM", SeriesNOM } };
    double y = box.top() + 5.0;
    for (const Row& row : rows) {
        if (!row.shown)
            continue;
        const QRectF textRect(box.left() + 5.0, y, 35.0, 10.0);
        painter->setPen(Qt::black);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, QLatin1String(row.text));
        painter->setPen(QPen(Qt::black, 2.0, CurveLine::penStyle(row.kind)));
        const double lineY = y + 5.0;
        painter->drawLine(QPointF(box.left() + 42.0, lineY), QPointF(box.right() - 5.0, lineY));
        y += 15.0;
    }
    painter->restore();
}

} // namespace IVCurve
