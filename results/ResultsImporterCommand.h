#pragma once

#include <QMap>
#include <QPair>
#include <QString>
#include <QUndoCommand>

class ReportTableCell;
class ReportText;

// One import of test results into a report: the string column's cells and the text fields it
// fills, undone as one step. The cells were empty when the column was chosen.
class ResultsImporterCommand : public QUndoCommand
{
public:
    ResultsImporterCommand();

    void setCellText(ReportTableCell* cell, const QString& text) { m_cellTexts.insert(cell, text); }
    void setFieldText(ReportText* field, const QString& oldText, const QString& newText)
    {
        m_fieldTexts.insert(field, qMakePair(oldText, newText));
    }
    const QMap<ReportTableCell*, QString>& cellTexts() const { return m_cellTexts; }
    const QMap<ReportText*, QPair<QString, QString>>& fieldTexts() const { return m_fieldTexts; }

    void redo() override;
    void undo() override;

private:
    QMap<ReportTableCell*, QString> m_cellTexts;
    QMap<ReportText*, QPair<QString, QString>> m_fieldTexts;
};
