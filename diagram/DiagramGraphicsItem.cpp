#include "DiagramGraphicsItem.h"

#include <QDomElement>

DiagramGraphicsItem::DiagramGraphicsItem(QGraphicsItem* parent)
    : QGraphicsItem(parent)
{ }

QString DiagramGraphicsItem::displayName() const
{
    return QString();
}

QString DiagramGraphicsItem::elementName() const
{
    return QString();
}

void DiagramGraphicsItem::save(QDomElement& element) const
{
    element.setAttribute(QStringLiteral("id"), m_id);
}

void DiagramGraphicsItem::load(const QDomElement& element)
{
    m_id = element.attribute(QStringLiteral("id"));
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
