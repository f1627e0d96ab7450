#include "ReportCheckBoxCommand.h"

#include "ReportModel.h"

ReportCheckBoxCommand::ReportCheckBoxCommand(ReportItem* item, bool state, std::function<void()> changed)
    : m_item(item)
    , m_state(state)
    , m_changed(std::move(changed))
{ }

void ReportCheckBoxCommand::apply(bool state)
{
    if (!m_item)
        return;
    m_item->checked = state;
    if (m_changed)
        m_changed();
}

void ReportCheckBoxCommand::undo()
{
    apply(!m_state);
}

void ReportCheckBoxCommand::redo()
{
    apply(m_state);
}
