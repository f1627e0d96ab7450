#pragma once

#include <QPointer>
#include <QUndoCommand>

class AbstractReportItem;
class QGraphicsItem;
class QGraphicsScene;

// Adding or deleting a report item only shows or hides it; the item stays in the scene until
// ReportScene::purgeDeleted takes hidden ones out before a save.
class AddDeleteCommand : public QUndoCommand
{
public:
    AddDeleteCommand(AbstractReportItem* item, bool added);
    // The command owns the item while its effect keeps the item out of the report (an addition
    // undone, a deletion done) and destroys it then.
    ~AddDeleteCommand() override;

    void undo() override;
    void redo() override;

    // True while the item is out of the report because of this command.
    bool removesItem() const;
    // Takes a removed item out of the scene, remembering where it stood.
    void takeOutOfScene();

private:
    void show(bool visible);

    QPointer<AbstractReportItem> m_item;
    QPointer<QObject> m_parent;
    QPointer<QGraphicsScene> m_scene;
    bool m_added;
    bool m_done = false;
    bool m_outOfScene = false;
};
