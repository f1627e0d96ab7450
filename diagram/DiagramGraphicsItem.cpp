#include "DiagramGraphicsItem.h"

DiagramGraphicsItem::DiagramGraphicsItem(QGraphicsItem* parent)
    : QGraphicsItem(parent)
{ }

QString DiagramGraphicsItem::displayName() const
{
    return QString();
}

void DiagramGraphicsItem::setModified()
{
    emit modified();
}
