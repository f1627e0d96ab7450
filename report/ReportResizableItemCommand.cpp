#include "ReportResizableItemCommand.h"

#include "ReportModel.h"

ReportResizableItemCommand::ReportResizableItemCommand(ReportItem* item, const QPointF& oldPos,
    const QSizeF& oldSize, const QPointF& newPos, const QSizeF& newSize, std::function<void()> changed)
    : m_item(item)
    , m_oldPos(oldPos)
    , m_oldSize(oldSize)
    , m_newPos(newPos)
    , m_newSize(newSize)
    , m_changed(std::move(changed))
{ }

void ReportResizableItemCommand::apply(const QPointF& pos, const QSizeF& size)
{
    if (!m_item)
        return;
    m_item->pos = pos;
    m_item->size = size;
    if (m_changed)
        m_changed();
}

void ReportResizableItemCommand::undo()
{
    apply(m_oldPos, m_oldSize);
}

void ReportResizableItemCommand::redo()
{
    apply(m_newPos, m_newSize);
}
