#include "DiagramModel.h"

using namespace Diagram;

namespace {
template <typename Entry>
int indexOf(const QVector<Entry>& entries, QHash<QString, int>& index, const QString& id)
{
    int at = index.value(id, -1);
    if (at >= 0 && at < entries.size() && entries.at(at).id == id)
        return at;
    index.clear();
    index.reserve(entries.size());
    // From the last to the first, so that the first of twins (before renumbering) is found.
    for (int i = entries.size() - 1; i >= 0; --i)
        index.insert(entries.at(i).id, i);
    return index.value(id, -1);
}
} // namespace

int DiagramModel::componentIndex(const QString& id) const
{
    return indexOf(components, m_componentIndex, id);
}

int DiagramModel::cableIndex(const QString& id) const
{
    return indexOf(cables, m_cableIndex, id);
}

const Component* DiagramModel::component(const QString& id) const
{
    const int index = componentIndex(id);
    return index < 0 ? nullptr : &components.at(index);
}

const Cable* DiagramModel::cable(const QString& id) const
{
    const int index = cableIndex(id);
    return index < 0 ? nullptr : &cables.at(index);
}

Component* DiagramModel::findComponent(const QString& id)
{
    const int index = componentIndex(id);
    return index < 0 ? nullptr : &components[index];
}

Placement DiagramModel::placement(const QString& id) const
{
    const Component* found = component(id);
    if (!found)
        return { id, QPointF(), QPointF() };
    return { id, found->position, found->caption.position };
}

void DiagramModel::place(const Placement& placement)
{
    if (Component* found = findComponent(placement.id)) {
        found->position = placement.position;
        found->caption.position = placement.captionPosition;
    }
}

void DiagramModel::setCaptionText(const QString& id, const QString& text)
{
    Component* found = findComponent(id);
    if (found && found->hasCaption)
        found->caption.text = text;
}

void DiagramModel::setCaptionSize(const QString& id, const QSizeF& size)
{
    Component* found = findComponent(id);
    if (found && found->hasCaption)
        found->caption.size = size;
}

Caption DiagramModel::takeCaption(const QString& id)
{
    Component* found = findComponent(id);
    if (!found || !found->hasCaption)
        return Caption();
    found->hasCaption = false;
    return found->caption;
}

void DiagramModel::putCaption(const QString& id, const Caption& caption)
{
    if (Component* found = findComponent(id)) {
        found->hasCaption = true;
        found->caption = caption;
    }
}

void DiagramModel::setCableEnd(const QString& cableId, int end, const CableEnd& value)
{
    const int index = cableIndex(cableId);
    if (index < 0)
        return;
    (end == EndA ? cables[index].endA : cables[index].endB) = value;
}

void DiagramModel::addComponent(const Component& component)
{
    components.prepend(component);
}

void DiagramModel::addCable(const Cable& cable)
{
    cables.prepend(cable);
}

RemovedComponent DiagramModel::removeComponent(const QString& id)
{
    RemovedComponent removed;
    const int index = componentIndex(id);
    if (index < 0)
        return removed;
    removed.taken = true;
    removed.component = components.takeAt(index);
    for (Cable& cable : cables) {
        for (int end : { EndA, EndB }) {
            CableEnd& value = end == EndA ? cable.endA : cable.endB;
            if (value.attached && value.componentId == id) {
                removed.ends.append({ cable.id, end, value });
                value = CableEnd();
            }
        }
    }
    return removed;
}

void DiagramModel::restoreComponent(const RemovedComponent& removed)
{
    if (!removed.taken)
        return;
    addComponent(removed.component);
    for (const EndRef& ref : removed.ends)
        setCableEnd(ref.cableId, ref.end, ref.was);
}

Cable DiagramModel::removeCable(const QString& id)
{
    const int index = cableIndex(id);
    return index < 0 ? Cable() : cables.takeAt(index);
}
