#pragma once

#include "ReportText.h"

class ReportTable;

// A text cell of a table, laid out on the table's grid with its spans. Arrow keys move through
// the table while the cell is selected; typing starts editing.
class ReportTableCell : public ReportText
{
    Q_OBJECT
public:
    enum { Type = ReportItemType::Cell };
    ReportTableCell(ReportTable* table, bool automatic);

    int type() const override { return Type; }
    ReportItem::Kind modelKind() const override { return ReportItem::Kind::Cell; }
    void fromModel(const ReportItem& item) override;
    bool toModel(ReportItem& item) const override;
    QRectF rect() const override { return m_cellRect; }
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    ReportTable* table() const { return m_table; }
    int column() const { return m_column; }
    int row() const { return m_row; }
    int columnSpan() const { return m_columnSpan; }
    int rowSpan() const { return m_rowSpan; }
    bool isAutomatic() const { return m_automatic; }
    // Places the cell on its table's grid.
    void layout();
    void startEditing(const QString& text = QString());

    // Spans larger than this are damage.
    static constexpr int MaxSpan = ReportLimits::MaxSpan;

public slots:
    void requestMove(int x, int y);

protected:
    Qt::TextInteractionFlags idleInteraction() const override { return Qt::NoTextInteraction; }
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    ReportTable* m_table;
    int m_column = 0;
    int m_row = 0;
    int m_columnSpan = 1;
    int m_rowSpan = 1;
    bool m_automatic;
    QRectF m_cellRect;
};
