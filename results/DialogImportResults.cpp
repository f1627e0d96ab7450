#include "DialogImportResults.h"

#include "CsvResultsModel.h"
#include "CsvResultsTestTypeDelegate.h"
#include "Prompts.h"

#include <QCommandLinkButton>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMessageBox>
#include <QTableView>
#include <QVBoxLayout>

DialogImportResults::DialogImportResults(QWidget* parent)
    : QDialog(parent)
    , m_model(new CsvResultsModel(this))
    , m_view(new QTableView(this))
{
    setObjectName(QStringLiteral("DialogImportResults"));
    resize(424, 352);
    setWindowTitle(tr("Import Results"));
    auto* layout = new QVBoxLayout(this);
    layout->setObjectName(QStringLiteral("verticalLayout"));
    auto* label
        = new QLabel(tr("The following data is available for import. Ensure a Array Test Report is open and "
                        "active and click a row in the table below to import the data."),
            this);
    label->setObjectName(QStringLiteral("label"));
    label->setWordWrap(true);
    m_view->setObjectName(QStringLiteral("tableView"));
    m_view->setModel(m_model);
    m_view->setSelectionModel(new QItemSelectionModel(m_model, m_view));
    m_view->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContentsOnFirstShow);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    auto* button = new QCommandLinkButton(tr("Import row(s)"), this);
    button->setObjectName(QStringLiteral("cmdImport"));
    layout->addWidget(label);
    layout->addWidget(m_view);
    layout->addWidget(button);

    connect(button, &QCommandLinkButton::clicked, this, &DialogImportResults::slotImportRows);
    connect(m_view, &QTableView::doubleClicked, this, &DialogImportResults::slotRowDoubleClicked);
}

bool DialogImportResults::load(const QString& path)
{
    // Checked before it is opened: opening a named pipe would wait for a writer.
    QString problem = CsvResultsModel::fileProblem(path);
    QFile file(path);
    if (problem.isEmpty() && !file.open(QIODevice::ReadOnly))
        problem = file.errorString();
    if (!problem.isEmpty()) {
        Prompts::show(QMessageBox::Warning, this,
            QCoreApplication::translate("Error Message", "Error opening %1 for reading.").arg(path), problem);
        return false;
    }
    setWindowTitle(
        QCoreApplication::translate("Window Title", "Import Results - %1").arg(QFileInfo(path).fileName()));
    // A delegate of an earlier file must not outlive the columns it was made for.
    for (int column = 0; column < m_model->columnCount(); ++column) {
        if (QAbstractItemDelegate* old = m_view->itemDelegateForColumn(column)) {
            m_view->setItemDelegateForColumn(column, nullptr);
            old->deleteLater();
        }
    }
    m_model->load(file);
    const int typeColumn = m_model->testTypeColumn();
    if (typeColumn >= 0 && typeColumn < m_model->columnCount()) {
        m_view->setItemDelegateForColumn(typeColumn, new CsvResultsTestTypeDelegate(m_view));
        for (int row = 0; row < m_model->rowCount(); ++row) {
            const QModelIndex index = m_model->index(row, typeColumn);
            if (m_model->testType(index) == CsvResultsModel::PositiveEarthInsulation)
                m_view->openPersistentEditor(index);
        }
    }
    return true;
}

void DialogImportResults::slotImportRows()
{
    const QModelIndexList rows = m_view->selectionModel()->selectedRows();
    if (!rows.isEmpty())
        emit importRow(rows);
}

void DialogImportResults::slotRowDoubleClicked(const QModelIndex& index)
{
    if (index.isValid())
        emit importRow({ index });
}
