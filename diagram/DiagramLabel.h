#pragma once

#include <QGraphicsTextItem>
#include <QPointF>

class DiagramComponent;

// The caption beside a component: centred text in a white box. It is a scene item of its own;
// the component moves it along.
class DiagramLabel : public QGraphicsTextItem
{
    Q_OBJECT
public:
    explicit DiagramLabel(DiagramComponent* owner, QGraphicsItem* parent = nullptr);

    DiagramComponent* owner() const { return m_owner; }
    double minimumHeight() const { return m_minimumHeight; }
    void setMinimumHeight(double height);

    // Fixes the width the text wraps and centres in (else the widest line sets it).
    void setFixedTextWidth(double width);
    // Shows plain text centred, one line per line feed.
    void setText(const QString& plainText);
    QString text() const { return toPlainText(); }

    // Moves the caption along with its component, which needs no word of it.
    void carryBy(const QPointF& delta);
    // Puts the caption where the model has it; the component is placed on its own.
    void placeAt(const QPointF& position);
    // A note is drawn by its caption alone, so its caption shows that it is selected.
    void setSelectionShown(bool shown);
    // The dashed frame of a selected item inside rect; components draw theirs with it too.
    static void drawSelection(QPainter* painter, const QRectF& rect);

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

signals:
    void modified();
    // Moved in the drawing by delta on its own (by the user or by undo), not carried along.
    void movedBy(const QPointF& delta);

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;
    void contextMenuEvent(QGraphicsSceneContextMenuEvent* event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;

private:
    DiagramComponent* m_owner;
    double m_minimumHeight = 0;
    bool m_fixedWidth = false;
    bool m_selectionShown = false;
    bool m_carried = false;
    QPointF m_lastPos;
};
