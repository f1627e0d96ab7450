#pragma once

#include <QList>
#include <QMap>
#include <QModelIndexList>

class CsvResultsModel;
class ReportDocument;
class ReportScene;
struct ReportItem;

// Where the columns of a results file go in a report's model: table rows whose label cell
// carries the column's name, text fields of that name, and the comments field for the rest.
class ResultsColumnMap
{
public:
    enum Result { Imported = 0, InvalidRow = 1, NoPlaceToInsert = 2, TableFull = 3 };

    ResultsColumnMap(ReportScene* scene, const CsvResultsModel* model);

    // Fills the next free string column with the given rows, as one undo step of the report.
    Result importRows(const QModelIndexList& indexes);
    // Whether the last import cut a field's text to the longest a field holds.
    bool shortenedFields() const { return m_shortened; }

private:
    // The first column of a table right of every filled cell in the rows that take results.
    int freeColumn(const ReportItem* table) const;
    // The item of an id when it holds a text (a text, a check box or a cell), or none.
    ReportItem* textById(const QString& id) const;

    ReportScene* m_scene;
    ReportDocument* m_document;
    const CsvResultsModel* m_model;
    QMap<int, ReportItem*> m_labelCells;
    QMap<int, ReportItem*> m_textFields;
    QList<ReportItem*> m_tables;
    QList<int> m_commentColumns;
    ReportItem* m_comments = nullptr;
    int m_insulationColumn = -1;
    ReportItem* m_positiveEarth = nullptr;
    ReportItem* m_negativeEarth = nullptr;
    bool m_shortened = false;
};
