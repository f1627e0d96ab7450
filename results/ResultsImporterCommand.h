#pragma once

#include <QMap>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QUndoCommand>

class ReportScene;
struct ReportItem;

// One import of test results into a report: the string column's cells and the text fields it
// fills in the report's model, undone as one step; the views show what changed. The cells were
// empty when the column was chosen.
class ResultsImporterCommand : public QUndoCommand
{
public:
    explicit ResultsImporterCommand(ReportScene* scene);

    void setCellText(ReportItem* cell, const QString& text) { m_cellTexts.insert(cell, text); }
    void setFieldText(ReportItem* field, const QString& oldText, const QString& newText)
    {
        m_fieldTexts.insert(field, qMakePair(oldText, newText));
    }

    void redo() override;
    void undo() override;

private:
    // Sets a text in the model and shows it; a cell shows one value, cut to what it shows.
    void changeText(ReportItem* item, const QString& text, bool value);

    QPointer<ReportScene> m_scene;
    QMap<ReportItem*, QString> m_cellTexts;
    QMap<ReportItem*, QPair<QString, QString>> m_fieldTexts;
};
