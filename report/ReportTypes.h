#pragma once

#include "ReportModel.h"

#include <QGraphicsItem>

// Item types of the report items. They tell report items apart from the plain Qt items they own
// (text, SVG, rectangles), whose types are not above QGraphicsItem::UserType.
namespace ReportItemType {
enum : int {
    Page = QGraphicsItem::UserType + 1,
    Text = QGraphicsItem::UserType + 2,
    CheckBox = QGraphicsItem::UserType + 3,
    Svg = QGraphicsItem::UserType + 4,
    Table = QGraphicsItem::UserType + 5,
    TableSet = QGraphicsItem::UserType + 6,
    Cell = QGraphicsItem::UserType + 7,
    Image = QGraphicsItem::UserType + 8,
};

inline bool isReportItem(const QGraphicsItem* item)
{
    return item && item->type() > QGraphicsItem::UserType;
}
} // namespace ReportItemType

// Resize handle codes: horizontal part (1 left, 2 inside, 4 right) plus vertical part
// (16 top, 32 inside, 64 bottom). 34 is the move handle.
namespace ResizeHandle {
enum : int {
    None = 0,
    TopLeft = 17,
    Top = 18,
    TopRight = 20,
    Left = 33,
    Move = 34,
    Right = 36,
    BottomLeft = 65,
    Bottom = 66,
    BottomRight = 68,
};
}
