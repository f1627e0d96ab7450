#include "DiagramTestSupport.h"

#include <QKeyEvent>

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
