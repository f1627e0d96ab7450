#include "SearchResultsDocument.h"

#include "DocumentRegistry.h"
#include "RightAlignedDelegate.h"

#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

SearchResultsDocument::SearchResultsDocument(const QString& filePath, QWidget* parent)
    : AbstractDocument(filePath, parent)
{
    // The file name stays untranslated: the document framework knows the list by it.
    setWindowTitle(tr("Search Results"));
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
    if (model) {
        connect(model, &QAbstractItemModel::rowsInserted, this, &SearchResultsDocument::rowsInserted);
        connect(model, &QAbstractItemModel::modelReset, m_table, &QTableView::clearSpans);
    }
    resizeColumns();
}

void SearchResultsDocument::rowsInserted(const QModelIndex&, int start, int)
{
    // Rows arrive many times a second: fit the columns to the rows in sight only, which costs the
    // same for ten rows as for ten thousand, and not at all for rows added below a full view.
    const int lastInSight = m_table->rowAt(m_table->viewport()->height() - 1);
    if (lastInSight >= 0 && start > lastInSight)
        return;
    QHeaderView* header = m_table->horizontalHeader();
    const int precision = header->resizeContentsPrecision();
    header->setResizeContentsPrecision(0);
    m_table->resizeColumnsToContents();
    header->setResizeContentsPrecision(precision);
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
    // The message row of an empty result spans the table instead of widening the name column.
    m_table->clearSpans();
    const QAbstractItemModel* model = m_table->model();
    if (model && model->rowCount() == 1 && model->columnCount() > 1
        && model->index(0, 0).data(Qt::UserRole).isNull())
        m_table->setSpan(0, 0, 1, model->columnCount());
    // The rows in sight and a few hundred around them: enough for the widths, and quick with a
    // hundred thousand rows.
    QHeaderView* header = m_table->horizontalHeader();
    const int precision = header->resizeContentsPrecision();
    header->setResizeContentsPrecision(FitRows);
    m_table->resizeColumnsToContents();
    header->setResizeContentsPrecision(precision);
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
