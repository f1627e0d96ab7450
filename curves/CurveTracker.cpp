#include "CurveTracker.h"

#include "CurveLine.h"

#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <cmath>
#include <qwt_picker_machine.h>
#include <qwt_scale_map.h>
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

namespace {
const int trackerMargin = 4;

QFont subscriptFont(const QFont& font)
{
    QFont small = font;
    small.setPointSizeF(font.pointSizeF() > 0 ? font.pointSizeF() * 0.7 : 7.0);
    return small;
}
} // namespace

void CurveTracker::updateRows() const
{
    const QPoint position = trackerPosition();
    const double x = invTransform(position).x();
    if (position == m_rowsPosition && x == m_rowsVoltage)
        return;
    m_rowsPosition = position;
    m_rowsVoltage = x;
    m_rows.clear();
    const QLocale locale;
    const QString comma = QStringLiteral(",");
    const QFontMetrics metrics(trackerFont());
    int width = 0;
    for (const CurveLine* line : m_lines()) {
        double y = 0.0;
        if (!valueAt(line, x, &y))
            continue;
        const SeriesKind kind = line->kind();
        const QString suffix = kind == SeriesSTC || kind == SeriesSTCPower ? QStringLiteral("STC")
            : kind == SeriesNOM || kind == SeriesNOMPower                  ? QStringLiteral("nom")
                                                                           : QString();
        Row row;
        row.colour = line->colour();
        auto add = [this, &row, &suffix, &comma](const QString& value, bool last) {
            row.parts.append({ staticText(value, false), false });
            if (!suffix.isEmpty())
                row.parts.append({ staticText(suffix, true), true });
            if (!last)
                row.parts.append({ staticText(comma + QLatin1Char(' '), false), false });
        };
        row.parts.append({ staticText(line->title().text() + QStringLiteral(": "), false), false });
        add(locale.toString(x, 'f', 1) + QLatin1Char('V'), false);
        if (line->isPower()) {
            add(locale.toString(y, 'f', 1) + QLatin1Char('W'), true);
        } else {
            add(locale.toString(y, 'f', 1) + QLatin1Char('A'), false);
            add(locale.toString(x * y, 'f', 1) + QLatin1Char('W'), true);
        }
        double rowWidth = 0;
        for (const Part& part : qAsConst(row.parts))
            rowWidth += part.text.size().width();
        width = qMax(width, int(std::ceil(rowWidth)));
        m_rows.append(row);
    }
    m_rowsSize = QSize(width, metrics.height() * m_rows.size());
}

QString CurveTracker::shownText() const
{
    if (trackerPosition().x() < 0)
        return QString();
    updateRows();
    QStringList rows;
    for (const Row& row : qAsConst(m_rows)) {
        QString text;
        for (const Part& part : row.parts)
            text += part.text.text();
        rows << text;
    }
    return rows.join(QLatin1Char('\n'));
}

void CurveTracker::invalidate(bool redraw)
{
    m_rowsPosition = QPoint(-1, -1);
    if (redraw)
        updateDisplay();
}

const QStaticText& CurveTracker::staticText(const QString& text, bool subscript) const
{
    QHash<QString, QStaticText>& cache = m_texts[subscript ? 1 : 0];
    auto found = cache.constFind(text);
    if (found != cache.constEnd())
        return *found;
    // The values change with every move: the cache is bounded, not a record of them all.
    if (cache.size() > 4096)
        cache.clear();
    QStaticText shaped(text);
    shaped.setTextFormat(Qt::PlainText);
    shaped.prepare(QTransform(), subscript ? subscriptFont(trackerFont()) : trackerFont());
    return *cache.insert(text, shaped);
}

QRect CurveTracker::trackerRect(const QFont&) const
{
    if (trackerMode() == QwtPicker::AlwaysOff || (!isActive() && trackerMode() == QwtPicker::ActiveOnly))
        return QRect();
    const QPoint position = trackerPosition();
    if (position.x() < 0 || position.y() < 0)
        return QRect();
    updateRows();
    if (m_rows.isEmpty())
        return QRect();
    QRect box(QPoint(0, 0), m_rowsSize + QSize(2 * trackerMargin, 2 * trackerMargin));
    // Beside the mouse, on the side with room, and never outside the canvas.
    const QRect area = pickArea().boundingRect().toRect();
    int left = position.x() + 10;
    if (left + box.width() > area.right())
        left = position.x() - 10 - box.width();
    int top = position.y() - box.height() / 2;
    box.moveTo(
        qMax(area.left(), left), qBound(area.top(), top, qMax(area.top(), area.bottom() - box.height())));
    return box;
}

void CurveTracker::drawTracker(QPainter* painter) const
{
    const QRect box = trackerRect(trackerFont());
    if (box.isEmpty())
        return;
    painter->save();
    painter->setPen(QPen(Qt::white, 2));
    painter->setBrush(QColor(255, 255, 255, 200));
    painter->drawRect(box);
    const QFont font = trackerFont();
    const QFont small = subscriptFont(font);
    const QFontMetrics metrics(font);
    const QFontMetrics subMetrics(small);
    const double subOffset = metrics.ascent() - subMetrics.ascent() + subMetrics.ascent() / 3.0;
    double y = box.top() + trackerMargin;
    for (const Row& row : qAsConst(m_rows)) {
        double x = box.left() + trackerMargin;
        painter->setPen(row.colour);
        for (const Part& part : row.parts) {
            painter->setFont(part.subscript ? small : font);
            painter->drawStaticText(QPointF(x, part.subscript ? y + subOffset : y), part.text);
            x += part.text.size().width();
        }
        y += metrics.height();
    }
    painter->restore();
}

} // namespace IVCurve
