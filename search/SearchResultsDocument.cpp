#include "SearchResultsDocument.h"

#include "DocumentRegistry.h"
#include "RightAlignedDelegate.h"

#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

SearchResultsDocument::SearchResultsDocument(const QString& filePath, QWidget* parent)
    : AbstractDocument(filePath, parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("tableView"));
    m_table->setShowGrid(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setMinimumSectionSize(18);
    m_table->verticalHeader()->setDefaultSectionSize(18);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setItemDelegateForColumn(1, new RightAlignedDelegate(m_table));
    layout->addWidget(m_table);
    connect(m_table, &QAbstractItemView::activated, this, &SearchResultsDocument::activated);
}

void SearchResultsDocument::setModel(QAbstractItemModel* model)
{
    if (m_model)
        disconnect(m_model, nullptr, this, nullptr);
    m_model = model;
    m_table->setModel(model);
    if (model)
        connect(model, &QAbstractItemModel::rowsInserted, this, &SearchResultsDocument::rowsInserted);
    resizeColumns();
}

void SearchResultsDocument::rowsInserted(const QModelIndex&, int, int)
{
    resizeColumns();
}

void SearchResultsDocument::activated(const QModelIndex& index)
{
    const QString path = index.data(Qt::UserRole).toString();
    // The no-results row carries no path.
    if (!path.isEmpty())
        emit openDocument(path);
}

void SearchResultsDocument::resizeColumns()
{
    m_table->resizeColumnsToContents();
}

QString SearchResultsDocument::documentFileName()
{
    return QStringLiteral("Search Results");
}

void SearchResultsDocument::registerWithDocuments()
{
    DocumentRegistry::registerNamedFile(documentFileName(),
        [](const QString& path, QWidget* parent) { return new SearchResultsDocument(path, parent); });
}
