#include "TreeItem.h"

#include "NumberText.h"

namespace IVCurve {

TreeItem::TreeItem(const QVector<QVariant>& data, TreeItem* parent)
    : m_parent(parent)
    , m_data(data)
{ }

TreeItem::~TreeItem()
{
    // A file can nest nodes deeper than the stack reaches: the subtree is taken apart from a
    // work list, each item losing its children before it is deleted.
    QVector<TreeItem*> pending;
    pending.swap(m_children);
    while (!pending.isEmpty()) {
        TreeItem* item = pending.takeLast();
        pending += item->m_children;
        item->m_children.clear();
        delete item;
    }
}

uint TreeItem::curveID() const
{
    return NumberText::toUnsigned(m_data.value(TreeCurveID));
}

int TreeItem::row() const
{
    return m_parent ? m_parent->m_children.indexOf(const_cast<TreeItem*>(this)) : 0;
}

bool TreeItem::isAncestorOf(const TreeItem* item) const
{
    for (const TreeItem* p = item ? item->m_parent : nullptr; p; p = p->m_parent) {
        if (p == this)
            return true;
    }
    return false;
}

bool TreeItem::setData(int index, const QVariant& value)
{
    if (index < 0 || index >= m_data.size())
        return false;
    m_data[index] = value;
    return true;
}

bool TreeItem::insertChildren(int position, int count, int dataCount)
{
    if (position < 0 || position > m_children.size() || count < 0)
        return false;
    for (int i = 0; i < count; ++i)
        m_children.insert(position, new TreeItem(QVector<QVariant>(dataCount), this));
    return true;
}

void TreeItem::insertChild(int position, TreeItem* item)
{
    item->m_parent = this;
    m_children.insert(qBound(0, position, m_children.size()), item);
}

bool TreeItem::removeChildren(int position, int count)
{
    if (position < 0 || count < 0 || position + count > m_children.size())
        return false;
    for (int i = 0; i < count; ++i)
        delete m_children.takeAt(position);
    return true;
}

} // namespace IVCurve
