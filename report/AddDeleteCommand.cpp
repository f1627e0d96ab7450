#include "AddDeleteCommand.h"

#include "AbstractReportItem.h"

#include <QGraphicsScene>

AddDeleteCommand::AddDeleteCommand(AbstractReportItem* item, bool added, Registry registry)
    : m_registry(std::move(registry))
    , m_item(item)
    , m_added(added)
{
    if (m_registry)
        m_registry->append(this);
}

AddDeleteCommand::~AddDeleteCommand()
{
    if (m_registry)
        m_registry->removeOne(this);
    if (m_item && removesItem())
        delete m_item.data();
}

bool AddDeleteCommand::removesItem() const
{
    return m_added != m_done;
}

void AddDeleteCommand::takeOutOfScene()
{
    if (!m_item || m_outOfScene || !removesItem())
        return;
    m_parent = m_item->parentObject();
    m_scene = m_item->scene();
    if (QGraphicsScene* scene = m_item->scene()) {
        m_item->setParentItem(nullptr);
        scene->removeItem(m_item);
    }
    m_outOfScene = true;
}

void AddDeleteCommand::show(bool visible)
{
    if (!m_item)
        return;
    // An item purged before a save comes back where it stood.
    if (visible && m_outOfScene) {
        if (auto* parent = qobject_cast<QGraphicsObject*>(m_parent.data()))
            m_item->setParentItem(parent);
        else if (m_scene)
            m_scene->addItem(m_item);
        m_outOfScene = false;
    }
    m_item->setVisible(visible);
}

void AddDeleteCommand::undo()
{
    m_done = false;
    show(!m_added);
}

void AddDeleteCommand::redo()
{
    m_done = true;
    show(m_added);
}
