#include "CurveModulesDlg.h"

#include "CurveModulesEditDlg.h"
#include "ModuleLibrary.h"
#include "ModuleListFile.h"
#include "Prompts.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace IVCurve {

CurveModulesDlg::CurveModulesDlg(QWidget* parent)
    : QDialog(parent)
    , m_table(new QTableWidget(0, 1, this))
{
    setObjectName(QStringLiteral("CurveModulesDlg"));
    setWindowTitle(tr("PV Modules"));
    setWindowIcon(QIcon(QStringLiteral(":res/toolButtons/module32.png")));

    auto* heading = new QLabel(tr("PV Module Database"), this);
    heading->setObjectName(QStringLiteral("labelHeading"));
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.3);
    heading->setFont(headingFont);

    m_table->setObjectName(QStringLiteral("tableModules"));
    m_table->setHorizontalHeaderLabels({ tr("Description") });
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->setVisible(false);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 8);
    m_table->setMinimumSize(420, 360);

    auto makeButton = [this](const QString& text, const char* name) {
        auto* button = new QPushButton(text, this);
        button->setObjectName(QLatin1String(name));
        button->setAutoDefault(false);
        return button;
    };
    QPushButton* add = makeButton(tr("Add"), "btnAdd");
    QPushButton* edit = makeButton(tr("Edit"), "btnEdit");
    QPushButton* copy = makeButton(tr("Copy"), "btnCopy");
    QPushButton* remove = makeButton(tr("Delete"), "btnDelete");
    QPushButton* import = makeButton(tr("Import..."), "btnImport");
    import->setToolTip(tr("Add the modules of a published module list (CSV)"));
    QPushButton* close = makeButton(tr("Close"), "btnClose");

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(edit);
    buttons->addWidget(copy);
    buttons->addWidget(remove);
    buttons->addSpacing(12);
    buttons->addWidget(import);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* body = new QHBoxLayout;
    body->addWidget(m_table, 1);
    body->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(body);

    connect(add, &QPushButton::clicked, this, &CurveModulesDlg::clickAdd);
    connect(edit, &QPushButton::clicked, this, &CurveModulesDlg::clickEdit);
    connect(copy, &QPushButton::clicked, this, &CurveModulesDlg::clickCopy);
    connect(remove, &QPushButton::clicked, this, &CurveModulesDlg::clickDelete);
    connect(import, &QPushButton::clicked, this, &CurveModulesDlg::clickImport);
    connect(close, &QPushButton::clicked, this, &CurveModulesDlg::accept);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, &CurveModulesDlg::dblclickModules);
    fill();
}

void CurveModulesDlg::fill()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QList<CurveModuleRow> rows = ModuleLibrary::instance().all();
    m_table->setRowCount(rows.size());
    for (int i = 0; i < rows.size(); ++i)
        putRow(i, rows.at(i).id, rows.at(i).value(CurveModuleRow::Description).toString());
    QApplication::restoreOverrideCursor();
}

void CurveModulesDlg::putRow(int row, uint id, const QString& description)
{
    auto* item = new QTableWidgetItem(description);
    item->setData(Qt::UserRole, id);
    m_table->setItem(row, 0, item);
}

void CurveModulesDlg::clickAdd()
{
    CurveModulesEditDlg dialog(0, this);
    if (Prompts::instance().execDialog(&dialog) != QDialog::Accepted)
        return;
    const int row = m_table->rowCount();
    m_table->insertRow(row);
    putRow(row, dialog.moduleID(), dialog.description());
    m_table->setCurrentCell(row, 0);
}

void CurveModulesDlg::editRow(int row)
{
    QTableWidgetItem* item = m_table->item(row, 0);
    if (!item)
        return;
    CurveModulesEditDlg dialog(item->data(Qt::UserRole).toUInt(), this);
    Prompts::instance().execDialog(&dialog);
    CurveModuleRow module;
    if (ModuleLibrary::instance().module(item->data(Qt::UserRole).toUInt(), &module))
        item->setText(module.value(CurveModuleRow::Description).toString());
}

void CurveModulesDlg::clickEdit()
{
    editRow(m_table->currentRow());
}

void CurveModulesDlg::dblclickModules(int row, int)
{
    editRow(row);
}

void CurveModulesDlg::clickCopy()
{
    const int row = m_table->currentRow();
    QTableWidgetItem* item = m_table->item(row, 0);
    CurveModuleRow module;
    if (!item || !ModuleLibrary::instance().module(item->data(Qt::UserRole).toUInt(), &module))
        return;
    module.setValue(CurveModuleRow::Description,
        module.value(CurveModuleRow::Description).toString() + QStringLiteral(" (Copy)"));
    module.setValue(CurveModuleRow::UserModule, true);
    const uint id = ModuleLibrary::instance().insert(module);
    if (id == 0)
        return;
    m_table->insertRow(row + 1);
    putRow(row + 1, id, module.value(CurveModuleRow::Description).toString());
    m_table->setCurrentCell(row + 1, 0);
}

void CurveModulesDlg::clickDelete()
{
    QList<int> rows;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows())
        rows.append(index.row());
    // From the bottom up, so that the rows still to be removed keep their numbers.
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    for (int row : qAsConst(rows)) {
        const uint id = m_table->item(row, 0)->data(Qt::UserRole).toUInt();
        CurveModuleRow module;
        if (!ModuleLibrary::instance().module(id, &module))
            continue;
        if (!module.value(CurveModuleRow::UserModule).toBool()) {
            const QString question = tr("Deleting a preloaded module.\n%1\nDo you wish to continue?")
                                         .arg(module.value(CurveModuleRow::Description).toString());
            if (Prompts::show(QMessageBox::Question, this, question, QString(),
                    QMessageBox::Ok | QMessageBox::Cancel, windowTitle())
                != QMessageBox::Ok)
                continue;
        }
        if (ModuleLibrary::instance().remove(id))
            m_table->removeRow(row);
    }
}

void CurveModulesDlg::clickImport()
{
    const QString path = Prompts::instance().openFileName(
        this, tr("Import Module List"), QString(), tr("Module lists (*.csv);;All files (*)"));
    if (path.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ModuleListFile list = ModuleListFile::read(path);
    ModuleLibrary::ImportCount count;
    QString error = list.error;
    const bool imported
        = error.isEmpty() && ModuleLibrary::instance().importModules(list.modules, &count, &error);
    QApplication::restoreOverrideCursor();
    if (!imported) {
        Prompts::show(QMessageBox::Warning, this, tr("The module list was not imported."), error,
            QMessageBox::Ok, windowTitle());
        return;
    }
    fill();
    Prompts::show(QMessageBox::Information, this,
        tr("%n module(s) imported: %1 new, %2 updated.", nullptr, count.added + count.updated)
            .arg(count.added)
            .arg(count.updated),
        list.skipped > 0
            ? tr("%n row(s) with missing or impossible values were skipped.", nullptr, list.skipped)
            : QString(),
        QMessageBox::Ok, windowTitle());
}

} // namespace IVCurve
