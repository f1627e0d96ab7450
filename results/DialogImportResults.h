#pragma once

#include <QDialog>
#include <QModelIndexList>

class CsvResultsModel;
class QTableView;

// Lists the results of a tester's file; the chosen rows go to the active array test report.
class DialogImportResults : public QDialog
{
    Q_OBJECT
public:
    explicit DialogImportResults(QWidget* parent = nullptr);

    // Reads a results file into the list; false (after telling the user) when it cannot be read.
    bool load(const QString& path);

    CsvResultsModel* model() const { return m_model; }
    QTableView* tableView() const { return m_view; }

signals:
    void importRow(const QModelIndexList& indexes);

public slots:
    void slotImportRows();
    void slotRowDoubleClicked(const QModelIndex& index);

private:
    CsvResultsModel* m_model;
    QTableView* m_view;
};
