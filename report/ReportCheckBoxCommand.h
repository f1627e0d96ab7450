#pragma once

#include <QUndoCommand>
#include <functional>

struct ReportItem;

// One toggle of a check box: sets the state in the model item; the view shows it when told.
class ReportCheckBoxCommand : public QUndoCommand
{
public:
    ReportCheckBoxCommand(ReportItem* item, bool state, std::function<void()> changed = nullptr);
    void undo() override;
    void redo() override;

private:
    void apply(bool state);

    ReportItem* m_item;
    bool m_state;
    std::function<void()> m_changed;
};
