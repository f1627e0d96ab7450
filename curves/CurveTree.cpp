#include "CurveTree.h"

#include "ColumnConfigDlg.h"
#include "CurveConstants.h"
#include "Prompts.h"
#include "SettingsKeys.h"

#include <QHeaderView>
#include <QSettings>

namespace IVCurve {

CurveTree::CurveTree(QWidget* parent)
    : QTreeView(parent)
    , m_columnMask(
          QSettings().value(SettingsKeys::curvesColumnMask(), SettingsKeys::DefaultCurvesColumnMask).toInt())
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::InternalMove);
    setAlternatingRowColors(true);
    setAnimated(true);
    setExpandsOnDoubleClick(true);
    // A double click opens a string's details; names are edited with F2.
    setEditTriggers(QAbstractItemView::EditKeyPressed);
    setWordWrap(true);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    header()->setMinimumSectionSize(10);
    header()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header(), &QHeaderView::customContextMenuRequested, this, &CurveTree::slotHeaderMenu);
}

void CurveTree::setColumnMask(int mask)
{
    m_columnMask = mask;
    applyColumnMask();
}

void CurveTree::applyColumnMask()
{
    for (int column = 1; column < ColumnLast; ++column)
        setColumnHidden(column, !(m_columnMask & (1 << column)));
    setColumnHidden(ColumnLast, false);
    setColumnHidden(ColumnVerdict, !(m_columnMask & (1 << ColumnVerdict)));
}

void CurveTree::slotHeaderMenu(const QPoint& position)
{
    ColumnConfigDlg dialog(m_columnMask, this);
    dialog.move(header()->viewport()->mapToGlobal(position));
    const int result = Prompts::instance().execDialog(&dialog);
    // Closing the dialog any other way than "Update and Close" keeps the columns as they are.
    if (result == QDialog::Rejected)
        return;
    setColumnMask(result);
    QSettings().setValue(SettingsKeys::curvesColumnMask(), m_columnMask);
    emit columnMaskChanged(m_columnMask);
}

void CurveTree::showEvent(QShowEvent* event)
{
    if (!m_shownBefore && model()) {
        for (int column = 1; column <= ColumnLast && column < header()->count(); ++column)
            header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        // The labels column stays under the user's control, but starts wide enough to read.
        resizeColumnToContents(0);
        m_shownBefore = true;
    }
    applyColumnMask();
    QTreeView::showEvent(event);
}

} // namespace IVCurve
