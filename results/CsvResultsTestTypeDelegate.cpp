#include "CsvResultsTestTypeDelegate.h"

#include "CsvResultsModel.h"

#include <QComboBox>
#include <QStyleOptionViewItem>

void CsvResultsTestTypeDelegate::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QStyleOptionViewItem item = setOptions(index, option);
    drawBackground(painter, item, index);
    drawDisplay(painter, item, item.rect, CsvResultsModel::testTypeName(index.data(Qt::EditRole).toUInt()));
    drawFocus(painter, item, item.rect);
}

QWidget* CsvResultsTestTypeDelegate::createEditor(
    QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    const unsigned code = index.data(Qt::EditRole).toUInt();
    if (code != CsvResultsModel::PositiveEarthInsulation && code != CsvResultsModel::NegativeEarthInsulation)
        return nullptr;
    // The insulation tests of one string: positive earth first, negative earth second.
    auto* combo = new QComboBox(parent);
    combo->addItem(CsvResultsModel::testTypeName(CsvResultsModel::PositiveEarthInsulation));
    combo->addItem(CsvResultsModel::testTypeName(CsvResultsModel::NegativeEarthInsulation));
    // Commit at once, so that an import right after the choice sees it.
    connect(combo, qOverload<int>(&QComboBox::activated), this, [this, combo]() {
        auto* self = const_cast<CsvResultsTestTypeDelegate*>(this);
        emit self->commitData(combo);
    });
    return combo;
}

void CsvResultsTestTypeDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        combo->setCurrentIndex(
            index.data(Qt::EditRole).toUInt() == CsvResultsModel::NegativeEarthInsulation ? 1 : 0);
}

void CsvResultsTestTypeDelegate::setModelData(
    QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const
{
    if (auto* combo = qobject_cast<QComboBox*>(editor))
        model->setData(index,
            QString::number(combo->currentIndex() == 1 ? CsvResultsModel::NegativeEarthInsulation
                                                       : CsvResultsModel::PositiveEarthInsulation),
            Qt::EditRole);
}

void CsvResultsTestTypeDelegate::updateEditorGeometry(
    QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const
{
    editor->setGeometry(option.rect);
}
