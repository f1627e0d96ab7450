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

QVariant DiagramGraphicsItem::itemChange(GraphicsItemChange change, const QVariant& value)
{
    if (change == ItemSceneHasChanged && scene()) {
        static quint64 serial = 0;
        m_stackingSerial = ++serial;
    }
    return QGraphicsItem::itemChange(change, value);
}
