#include "DiagramTestSupport.h"

#include <QKeyEvent>

#include "ConnectionPoint.h"
#include "DiagramConnection.h"
#include "DiagramLabel.h"
#include "DialogComponentSettings.h"

#include <QFile>
#include <QGraphicsSceneContextMenuEvent>
#include <QGraphicsSceneMouseEvent>
#include <QMenu>

namespace DiagramTestSupport {

MenuScript& menus()
{
    static MenuScript script;
    return script;
}

void installMenuScript()
{
    menus() = MenuScript();
    DiagramMenus::install([](QMenu& menu, const QPoint&) -> QAction* {
        QStringList texts;
        QAction* chosen = nullptr;
        for (QAction* action : menu.actions()) {
            if (action->isSeparator()) {
                texts << QStringLiteral("-");
                continue;
            }
            texts << action->text();
            if (!menus().choice.isEmpty() && action->text() == menus().choice)
                chosen = action;
        }
        menus().opened.append(texts);
        return chosen;
    });
}

QStringList& captionDialogTexts()
{
    static QStringList texts;
    return texts;
}

void answerCaptionDialog(const QString& text, bool accept)
{
    ScriptedPrompts::get().dialogHandler = [text, accept](QDialog* dialog) {
        auto* settings = qobject_cast<DialogComponentSettings*>(dialog);
        if (!settings)
            return int(QDialog::Rejected);
        captionDialogTexts().append(settings->text());
        if (!accept)
            return int(QDialog::Rejected);
        settings->setText(text);
        return int(QDialog::Accepted);
    };
}

namespace {
void mouseEvent(DiagramGraphicsScene* scene, QEvent::Type type, const QPointF& point, Qt::MouseButton button,
    Qt::MouseButtons buttons)
{
    QGraphicsSceneMouseEvent event(type);
    event.setScenePos(point);
    event.setPos(point);
    event.setButton(button);
    event.setButtons(buttons);
    if (button != Qt::NoButton) {
        event.setButtonDownScenePos(button, point);
        event.setButtonDownScreenPos(button, point.toPoint());
    }
    event.setLastScenePos(point);
    QCoreApplication::sendEvent(scene, &event);
}
} // namespace

void press(DiagramGraphicsScene* scene, const QPointF& point, Qt::MouseButton button)
{
    mouseEvent(scene, QEvent::GraphicsSceneMousePress, point, button, button);
}

void move(DiagramGraphicsScene* scene, const QPointF& point, Qt::MouseButtons buttons)
{
    mouseEvent(scene, QEvent::GraphicsSceneMouseMove, point, Qt::NoButton, buttons);
}

void release(DiagramGraphicsScene* scene, const QPointF& point, Qt::MouseButton button)
{
    mouseEvent(scene, QEvent::GraphicsSceneMouseRelease, point, button, Qt::NoButton);
}

void drag(DiagramGraphicsScene* scene, const QPointF& from, const QPointF& to)
{
    press(scene, from);
    move(scene, (from + to) / 2, Qt::LeftButton);
    move(scene, to, Qt::LeftButton);
    release(scene, to);
}

void rightClick(DiagramGraphicsScene* scene, const QPointF& point)
{
    QGraphicsSceneContextMenuEvent event(QEvent::GraphicsSceneContextMenu);
    event.setScenePos(point);
    event.setPos(point);
    event.setReason(QGraphicsSceneContextMenuEvent::Mouse);
    QCoreApplication::sendEvent(scene, &event);
}

bool key(DiagramGraphicsScene* scene, int key, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    event.ignore();
    QCoreApplication::sendEvent(scene, &event);
    return event.isAccepted();
}

void menuKey(DiagramGraphicsScene* scene, const QPointF& pointer)
{
    QGraphicsSceneContextMenuEvent event(QEvent::GraphicsSceneContextMenu);
    event.setScenePos(pointer);
    event.setPos(pointer);
    event.setReason(QGraphicsSceneContextMenuEvent::Keyboard);
    QCoreApplication::sendEvent(scene, &event);
}

void drawCable(DiagramGraphicsScene* scene, const QPointF& from, const QPointF& to)
{
    move(scene, from);
    press(scene, from);
    release(scene, from);
    move(scene, (from + to) / 2);
    move(scene, to);
    press(scene, to);
    release(scene, to);
}

void placeCaption(DiagramGraphicsScene* scene, DiagramComponent* component, const QPointF& position)
{
    const QString id = component->id();
    scene->changeModel([&](DiagramModel& model) {
        Diagram::Placement placement = model.placement(id);
        placement.captionPosition = position;
        model.place(placement);
        return QStringList { id };
    });
}

QString shownDiffersFromModel(DiagramGraphicsScene* scene)
{
    const DiagramModel& model = scene->model();
    QHash<QString, DiagramGraphicsItem*> shown;
    const QList<QGraphicsItem*> all = scene->items();
    for (QGraphicsItem* item : all) {
        if (item->type() <= Diagram::GraphicsItemType || item == scene->pendingConnection())
            continue;
        auto* diagramItem = static_cast<DiagramGraphicsItem*>(item);
        if (shown.contains(diagramItem->id()))
            return QStringLiteral("two items hold %1").arg(diagramItem->id());
        shown.insert(diagramItem->id(), diagramItem);
    }
    if (shown.size() != model.components.size() + model.cables.size())
        return QStringLiteral("%1 items for %2 entries")
            .arg(shown.size())
            .arg(model.components.size() + model.cables.size());
    for (const Diagram::Component& entry : model.components) {
        auto* component = dynamic_cast<DiagramComponent*>(shown.value(entry.id));
        if (!component || component->type() != entry.type)
            return QStringLiteral("no component %1").arg(entry.id);
        if (component->pos() != entry.position)
            return QStringLiteral("%1 is elsewhere").arg(entry.id);
        DiagramLabel* caption = component->caption();
        if (bool(caption) != entry.hasCaption)
            return QStringLiteral("caption of %1 shown: %2").arg(entry.id).arg(bool(caption));
        if (caption
            && (caption->pos() != entry.caption.position || caption->text() != entry.caption.text
                || caption->boundingRect().size() != entry.caption.size))
            return QStringLiteral("caption of %1 differs").arg(entry.id);
    }
    for (const Diagram::Cable& entry : model.cables) {
        auto* cable = qobject_cast<DiagramConnection*>(shown.value(entry.id));
        if (!cable || cable->kind() != entry.kind)
            return QStringLiteral("no cable %1").arg(entry.id);
        for (const auto& pair :
            { qMakePair(cable->endA(), entry.endA), qMakePair(cable->endB(), entry.endB) }) {
            const ConnectionPoint* end = pair.first;
            const Diagram::CableEnd& want = pair.second;
            if (bool(end->component()) != want.attached)
                return QStringLiteral("an end of %1 is attached: %2")
                    .arg(entry.id)
                    .arg(bool(end->component()));
            if (want.attached
                && (end->component()->id() != want.componentId || end->offset() != want.offset
                    || end->side() != want.side || end->pos() != end->component()->pos() + want.offset))
                return QStringLiteral("an end of %1 differs").arg(entry.id);
        }
    }
    return QString();
}

QString writeFile(const QString& folder, const QString& name, const QByteArray& content)
{
    const QString path = folder + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(content);
    return path;
}

} // namespace DiagramTestSupport
