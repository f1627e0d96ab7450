#pragma once

#include <QPointer>
#include <QUndoCommand>

class ReportCheckBox;

class ReportCheckBoxCommand : public QUndoCommand
{
public:
    ReportCheckBoxCommand(ReportCheckBox* checkBox, bool state);
    void undo() override;
    void redo() override;

private:
    QPointer<ReportCheckBox> m_checkBox;
    bool m_state;
};
