#pragma once

#include <QPointF>
#include <QSizeF>
#include <QUndoCommand>
#include <functional>

struct ReportItem;

// One move or resize of a report item: sets the place and box of the model item; the view shows
// them when told.
class ReportResizableItemCommand : public QUndoCommand
{
public:
    ReportResizableItemCommand(ReportItem* item, const QPointF& oldPos, const QSizeF& oldSize,
        const QPointF& newPos, const QSizeF& newSize, std::function<void()> changed = nullptr);
    void undo() override;
    void redo() override;

private:
    void apply(const QPointF& pos, const QSizeF& size);

    ReportItem* m_item;
    QPointF m_oldPos;
    QSizeF m_oldSize;
    QPointF m_newPos;
    QSizeF m_newSize;
    std::function<void()> m_changed;
};
