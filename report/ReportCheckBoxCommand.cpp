#include "ReportCheckBoxCommand.h"

#include "ReportCheckBox.h"

ReportCheckBoxCommand::ReportCheckBoxCommand(ReportCheckBox* checkBox, bool state)
    : m_checkBox(checkBox)
    , m_state(state)
{ }

void ReportCheckBoxCommand::undo()
{
    if (m_checkBox)
        m_checkBox->setChecked(!m_state);
}

void ReportCheckBoxCommand::redo()
{
    if (m_checkBox)
        m_checkBox->setChecked(m_state);
}
