#pragma once

#include <QHash>
#include <QList>
#include <QStaticText>
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
    // The lines changed: the read-out is built again, even where the mouse stays; redrawn now
    // when asked (once per batch of changes, not once per string).
    void invalidate(bool redraw);
    // Where the read-out box is drawn for the mouse position; empty when there is nothing to read.
    QRect trackerRect(const QFont& font) const override;
    // The read-out as it shows now, as plain text, one row a line.
    QString shownText() const;

protected:
    QwtText trackerTextF(const QPointF& position) const override;
    // The read-out is drawn here rather than as rich text: with dozens of strings shown, laying
    // out rich text on every mouse move would make the tracker lag behind the mouse.
    void drawTracker(QPainter* painter) const override;

private:
    struct Part
    {
        QStaticText text;
        bool subscript;
    };
    struct Row
    {
        QColor colour;
        QVector<Part> parts;
    };
    // Builds the rows for the mouse position, once per position.
    void updateRows() const;
    // Names, units and suffixes repeat on every move: their text is shaped once.
    const QStaticText& staticText(const QString& text, bool subscript) const;

    LineSource m_lines;
    mutable QPoint m_rowsPosition { -1, -1 };
    // The voltage under the mouse when the rows were built: zooming or panning changes it
    // where the mouse stays.
    mutable double m_rowsVoltage = 0.0;
    mutable QVector<Row> m_rows;
    mutable QSize m_rowsSize;
    mutable QHash<QString, QStaticText> m_texts[2];
};

} // namespace IVCurve
