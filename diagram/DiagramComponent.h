#pragma once

#include "DiagramGraphicsItem.h"
#include "DiagramLabel.h"
#include "DiagramModel.h"

#include <QList>
#include <QPointer>
#include <QRectF>
#include <QSizeF>

class ConnectionPoint;
class QAction;

// A cable end attached to a component, as the component sees it: it follows the component.
class AttachedEnd
{
public:
    virtual void followComponent(const QPointF& componentPosition) = 0;

protected:
    ~AttachedEnd() = default;
};

// A symbol of the drawing that cables attach to, with its caption beside it.
class DiagramComponent : public DiagramGraphicsItem
{
    Q_OBJECT
public:
    enum { Type = Diagram::ComponentType };

    DiagramComponent(const QString& displayName, const QSizeF& size);
    ~DiagramComponent() override;

    int type() const override { return Type; }
    QString displayName() const override { return m_displayName; }

    // A component just made in the drawing, as the model will hold it.
    Diagram::Component toModel() const;
    // Shows the model's entry: position, caption and its text. A caption the entry lacks is
    // kept out of the drawing, to come back when the entry has one again.
    void show(const Diagram::Component& model);

    QRectF boundingRect() const override { return m_rect; }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    // Where a cable end dropped at point attaches: side 0 means it does not. point is moved
    // onto the chosen edge.
    virtual void snap(int cableKind, QPointF& point, int& side, int drawState);
    // An end attaches (follow is the same end, as the component moves it) or lets go.
    void addConnection(ConnectionPoint* end, AttachedEnd* follow);
    void removeConnection(ConnectionPoint* end);
    virtual void handleMenuAction(QAction* action);

    const QList<ConnectionPoint*>& connections() const { return m_connections; }

    DiagramLabel* caption() const { return m_caption; }
    // A new caption at a scene position; a valid size fixes its text width and minimum height.
    void setCaption(const QString& text, const QSizeF& size, const QPointF& position);
    // The caption's text or size changed.
    virtual void captionChanged();

    // Sets up a new component made in the drawing: id, position of its top-left corner and the
    // caption text (kinds with a caption place it relative to that position).
    void initialise(const QString& id, const QString& captionText, const QPointF& position);
    // Where a new caption goes relative to the component and the size it is given (an invalid
    // size leaves its width free). Kinds without a caption answer false.
    virtual bool captionPlacement(QPointF* offset, QSizeF* size) const;

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;
    void contextMenuEvent(QGraphicsSceneContextMenuEvent* event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;

    // Moves the component and its cable ends, leaving the caption where it is.
    void moveWithoutCaption(const QPointF& position);

    // The kind's symbol inside rect.
    virtual void paintSymbol(QPainter* painter) = 0;
    void setRect(const QRectF& rect);
    QRectF rect() const { return m_rect; }
    // Box with a 2 px black border inside rect.
    static void drawBox(QPainter* painter, const QRectF& rect, const QBrush& fill);

private:
    // The caption was moved on its own by delta. A note goes with it (it is nothing but its
    // text, so where the text goes, the note and its cable ends go).
    void captionMoved(const QPointF& delta);
    void showSelectionOnCaption();
    void hideCaption();
    void showHiddenCaption();

    QString m_displayName;
    QAction* m_deleteAction = nullptr;
    QPointer<DiagramLabel> m_caption;
    DiagramLabel* m_hiddenCaption = nullptr;
    QRectF m_rect;
    QList<ConnectionPoint*> m_connections;
    QList<AttachedEnd*> m_following; // the same ends, in the same order
    QPointF m_lastPos;
    bool m_followingCaption = false;
};
