#pragma once

#include <QList>
#include <QMap>
#include <QModelIndexList>

class CsvResultsModel;
class ReportScene;
class ReportTable;
class ReportTableCell;
class ReportText;

// Where the columns of a results file go in a report: table rows whose label cell carries the
// column's name, text fields of that name, and the comments field for the rest.
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
    int freeColumn(ReportTable* table) const;

    ReportScene* m_scene;
    const CsvResultsModel* m_model;
    QMap<int, ReportTableCell*> m_labelCells;
    QMap<int, ReportText*> m_textFields;
    QList<ReportTable*> m_tables;
    QList<int> m_commentColumns;
    ReportText* m_comments = nullptr;
    int m_insulationColumn = -1;
    ReportTableCell* m_positiveEarth = nullptr;
    ReportTableCell* m_negativeEarth = nullptr;
    bool m_shortened = false;
};
