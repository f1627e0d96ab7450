#pragma once

#include <QItemDelegate>

// Draws its column right-aligned (the sizes of the search results), whatever the model says.
class RightAlignedDelegate : public QItemDelegate
{
    Q_OBJECT
public:
    using QItemDelegate::QItemDelegate;

    void paint(
        QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
