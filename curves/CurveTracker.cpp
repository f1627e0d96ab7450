#include "CurveTracker.h"

#include "CurveLine.h"

#include <QLocale>
#include <qwt_picker_machine.h>
#include <qwt_text.h>

namespace IVCurve {

namespace {
QString kindSuffix(SeriesKind kind)
{
    switch (kind) {
    case SeriesSTC:
    case SeriesSTCPower:
        return QStringLiteral("<sub>STC</sub>");
    case SeriesNOM:
    case SeriesNOMPower:
        return QStringLiteral("<sub>nom</sub>");
    default:
        return QString();
    }
}

// The line's value at x, interpolated along the segment that spans it; false when the line
// does not reach x.
bool valueAt(const CurveLine* line, double x, double* value)
{
    const QwtSeriesData<QPointF>* samples = line->data();
    const size_t count = samples->size();
    if (count < 2 || line->boundingRect().isEmpty())
        return false;
    const QRectF bounds = line->boundingRect();
    if (x < bounds.left() || x > bounds.right())
        return false;
    size_t next = 1;
    while (next < count && !(samples->sample(next).x() > x))
        ++next;
    if (next == count) {
        // Only the last sample's own x reads off the last segment.
        if (samples->sample(count - 1).x() != x)
            return false;
        next = count - 1;
    }
    const QPointF a = samples->sample(next - 1);
    const QPointF b = samples->sample(next);
    *value = b.x() == a.x() ? a.y() : a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x());
    return true;
}
} // namespace

CurveTracker::CurveTracker(QWidget* canvas, const LineSource& lines)
    : QwtPlotPicker(canvas)
    , m_lines(lines)
{
    setStateMachine(new QwtPickerTrackerMachine);
    setTrackerMode(QwtPicker::AlwaysOn);
    QFont font(QStringLiteral("Arial"), 10);
    font.setBold(true);
    setTrackerFont(font);
    setRubberBand(QwtPicker::VLineRubberBand);
    setRubberBandPen(QColor(QStringLiteral("MediumOrchid")));
    setTrackerPen(QColor(Qt::black));
}

QString CurveTracker::readout(const QList<const CurveLine*>& lines, double x)
{
    const QLocale locale;
    const QString comma = QStringLiteral(",");
    QStringList rows;
    for (const CurveLine* line : lines) {
        double y = 0.0;
        if (!valueAt(line, x, &y))
            continue;
        const QString suffix = kindSuffix(line->kind());
        const QString title = line->title().text().toHtmlEscaped();
        const QString colour = line->colour().name();
        if (line->isPower()) {
            rows << QStringLiteral("<font color=%1>%2: %3V%4%7 %5W%6</font>")
                        .arg(colour, title, locale.toString(x, 'f', 1), suffix, locale.toString(y, 'f', 1),
                            suffix, comma);
        } else {
            rows << QStringLiteral("<font color=%1>%2: %3V%4%9 %5A%6%9 %7W%8</font>")
                        .arg(colour, title, locale.toString(x, 'f', 1), suffix, locale.toString(y, 'f', 1),
                            suffix, locale.toString(x * y, 'f', 1), suffix, comma);
        }
    }
    return rows.join(QStringLiteral("<br>"));
}

QwtText CurveTracker::trackerTextF(const QPointF& position) const
{
    QwtText text(readout(m_lines(), position.x()), QwtText::RichText);
    text.setColor(Qt::black);
    text.setBackgroundBrush(QColor(255, 255, 255, 200));
    text.setBorderPen(QPen(Qt::white, 2));
    text.setFont(trackerFont());
    return text;
}

} // namespace IVCurve
