#pragma once

#include "AbstractDocument.h"

#include <QPointer>

class QAbstractItemModel;
class QModelIndex;
class QTableView;

// The "Search Results" tab: the document search's hits as a table. It belongs to the file name
// only; nothing is read from or written to that file. Activating a hit asks for it to be opened.
class SearchResultsDocument : public AbstractDocument
{
    Q_OBJECT
public:
    explicit SearchResultsDocument(const QString& filePath, QWidget* parent = nullptr);

    // Shows a model's rows (the search panel's result model); the table follows it as it grows.
    void setModel(QAbstractItemModel* model);
    QTableView* tableView() const { return m_table; }

    // How many rows the columns are fitted to when a search ends.
    static constexpr int FitRows = 300;

    // The file name this document opens for, wherever the file is.
    static QString documentFileName();
    // Makes the document framework open that file name as this document.
    static void registerWithDocuments();

signals:
    void openDocument(const QString& filePath);

public slots:
    void rowsInserted(const QModelIndex& parent, int start, int end);
    void activated(const QModelIndex& index);
    void resizeColumns();

private:
    QTableView* m_table = nullptr;
    QPointer<QAbstractItemModel> m_model;
};
