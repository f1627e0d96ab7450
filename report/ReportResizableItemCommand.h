#pragma once

#include <QPointF>
#include <QPointer>
#include <QSizeF>
#include <QUndoCommand>

class ReportResizableItem;

// One move or resize of a report item.
class ReportResizableItemCommand : public QUndoCommand
{
public:
    ReportResizableItemCommand(ReportResizableItem* item, const QPointF& oldPos, const QSizeF& oldSize,
        const QPointF& newPos, const QSizeF& newSize, int handle);
    void undo() override;
    void redo() override;

private:
    void apply(const QPointF& pos, const QSizeF& size);

    QPointer<ReportResizableItem> m_item;
    QPointF m_oldPos;
    QSizeF m_oldSize;
    QPointF m_newPos;
    QSizeF m_newSize;
    int m_handle;
};
