#include "ReportResizableItemCommand.h"

#include "ReportResizableItem.h"

ReportResizableItemCommand::ReportResizableItemCommand(ReportResizableItem* item, const QPointF& oldPos,
    const QSizeF& oldSize, const QPointF& newPos, const QSizeF& newSize, int handle)
    : m_item(item)
    , m_oldPos(oldPos)
    , m_oldSize(oldSize)
    , m_newPos(newPos)
    , m_newSize(newSize)
    , m_handle(handle)
{ }

void ReportResizableItemCommand::apply(const QPointF& pos, const QSizeF& size)
{
    if (!m_item)
        return;
    m_item->setFocus();
    m_item->setSize(size, m_handle);
    m_item->updateBand();
    m_item->setPos(pos);
}

void ReportResizableItemCommand::undo()
{
    apply(m_oldPos, m_oldSize);
}

void ReportResizableItemCommand::redo()
{
    apply(m_newPos, m_newSize);
}
