#pragma once

#include <QList>
#include <QPointer>
#include <QUndoCommand>
#include <memory>

class AbstractReportItem;
class QGraphicsItem;
class QGraphicsScene;

// Adding or deleting a report item only shows or hides it; the item stays in the scene until
// ReportScene::purgeDeleted takes hidden ones out before a save.
class AddDeleteCommand : public QUndoCommand
{
public:
    // The living commands of one scene, in the order they were made: each adds itself when made
    // and takes itself out when destroyed, so that the scene reaches them without the undo
    // stack (which hands its commands out read-only).
    using Registry = std::shared_ptr<QList<AddDeleteCommand*>>;

    AddDeleteCommand(AbstractReportItem* item, bool added, Registry registry = nullptr);
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

    Registry m_registry;
    QPointer<AbstractReportItem> m_item;
    QPointer<QObject> m_parent;
    QPointer<QGraphicsScene> m_scene;
    bool m_added;
    bool m_done = false;
    bool m_outOfScene = false;
};
