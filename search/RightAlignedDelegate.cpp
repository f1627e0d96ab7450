#include "RightAlignedDelegate.h"

void RightAlignedDelegate::paint(
    QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem rightAligned(option);
    rightAligned.displayAlignment = Qt::AlignRight | Qt::AlignVCenter;
    QItemDelegate::paint(painter, rightAligned, index);
}
