#pragma once

#include "DiagramEditing.h"
#include "DiagramModelEditing.h"

#include <QGraphicsScene>
#include <QHash>
#include <QPointer>

class DiagramComponent;
class DiagramConnection;
class DiagramGraphicsItem;
class DiagramLabel;
class QAction;
class QKeyEvent;
class QPrinter;
class QUndoStack;

// The drawing of an installation diagram: it keeps the diagram's model and shows it, one item per
// entry; the two modes (normal and wire), adding items from the context menu, loading and saving
// the .kstid file, printing and PDF export. Every edit goes through the undo stack it was given
// and changes the model, which the items then follow.
class DiagramGraphicsScene : public QGraphicsScene, public DiagramEditing, public DiagramModelEditing
{
    Q_OBJECT
public:
    DiagramGraphicsScene(QUndoStack* undoStack, QObject* parent = nullptr);
    ~DiagramGraphicsScene() override;

    bool load(const QString& path);
    bool save(const QString& path);

    int mode() const { return m_mode; }
    int cableType() const { return m_cableType; }
    int nextId() const { return m_model.ids.next(); }
    DiagramConnection* pendingConnection() const override { return m_pending; }
    QUndoStack* undoStack() const { return m_undoStack; }
    // The seven add actions, in menu order (label first).
    QList<QAction*> addActions() const { return m_addActions; }

    void setWireMode(int mode);
    void setCableType(int kind);

    // Adds a component of an item type at a scene position, asking for its caption first
    // (except for a panel). Returns the component, or null when the user cancelled.
    DiagramComponent* addComponent(int type, const QPointF& position);
    void deleteComponent(DiagramComponent* component) override;
    void deleteConnection(DiagramConnection* connection) override;
    void editCaption(DiagramLabel* caption) override;
    void deleteCaption(DiagramLabel* caption) override;
    void beginDrag(QGraphicsItem* grabbed) override;
    void endDrag() override;
    void endsMoved(const QList<EndMove>& moves) override;

    // The selected components, topmost first.
    QList<DiagramComponent*> selectedComponents() const;
    // Keyboard work on the selection: select the next or previous component in reading order,
    // move the selection, delete it, open its context menu.
    void selectNextComponent(bool forward);
    void nudgeSelection(const QPointF& delta);
    void deleteSelection();
    void openSelectionMenu();

    // The items a file holds, in the order they are saved.
    QList<DiagramGraphicsItem*> diagramItems() const;
    // What the drawing holds, as it is saved.
    const DiagramModel& model() const override { return m_model; }
    // The one way the undo commands change the drawing.
    void changeModel(const std::function<QStringList(DiagramModel&)>& change) override;
    void enterDrawing(DiagramGraphicsItem* item) override;
    void leaveDrawing(DiagramGraphicsItem* item) override;

signals:
    void modeChanged(int newMode);
    void modified();

public slots:
    void print();
    void exportToPdf();
    bool paint(QPrinter* printer);
    void childModified();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QGraphicsSceneContextMenuEvent* event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;

private:
    // Builds the items of the model in an empty drawing.
    void showModel();
    // The item of an entry takes what the model holds.
    void follow(const QString& id);
    // What the drawing lays a caption out as is what the file keeps.
    void takeCaptionLayout(DiagramComponent* component);
    DiagramComponent* shownComponent(const Diagram::CableEnd& end) const;
    Diagram::Placement shownPlacement(const QString& id) const;
    void selectForPress(const QPointF& point);
    void execAddMenu(const QPointF& scenePosition, const QPoint& screenPosition);
    void createPendingConnection();
    void deletePendingConnection();
    QString takeId();
    void warn(const QString& text, const QString& informativeText);

    QUndoStack* m_undoStack;
    bool m_ownsUndoStack;
    QList<QAction*> m_addActions;
    DiagramModel m_model;
    // The items in the drawing by the id of their entry.
    QHash<QString, DiagramGraphicsItem*> m_shown;
    int m_mode = 0;
    DiagramConnection* m_pending = nullptr;
    int m_cableType = 1;
    QVector<Diagram::Placement> m_dragStart;
    QPointer<DiagramComponent> m_keyboardCurrent;
};
