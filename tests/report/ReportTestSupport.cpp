#include "ReportTestSupport.h"

#include "ReportScene.h"

#include <QApplication>
#include <QFile>
#include <QGraphicsSceneMouseEvent>
#include <QKeyEvent>

ReportTestSupport::Report::Report()
    : scene(std::make_unique<ReportScene>(&stack))
{ }

ReportTestSupport::Report::~Report()
{
    // The stack's commands may own items: they go before the scene, as in a document.
    stack.clear();
    scene.reset();
}

bool ReportTestSupport::Report::load(const QString& path)
{
    return scene->load(path);
}

void ReportTestSupport::activate(QGraphicsScene* scene)
{
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(scene, &activate);
}

void ReportTestSupport::key(
    QGraphicsScene* scene, int keyCode, const QString& text, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent press(QEvent::KeyPress, keyCode, modifiers, text);
    QApplication::sendEvent(scene, &press);
    QKeyEvent release(QEvent::KeyRelease, keyCode, modifiers, text);
    QApplication::sendEvent(scene, &release);
}

void ReportTestSupport::typeText(QGraphicsScene* scene, const QString& text)
{
    for (const QChar c : text)
        key(scene, c.toUpper().unicode(), QString(c));
}

void ReportTestSupport::mouse(QGraphicsScene* scene, int type, const QPointF& scenePos,
    Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QGraphicsSceneMouseEvent event(static_cast<QEvent::Type>(type));
    event.setScenePos(scenePos);
    event.setScreenPos(scenePos.toPoint());
    event.setLastScenePos(scenePos);
    event.setButtonDownScenePos(button, scenePos);
    event.setButton(button);
    event.setButtons(buttons);
    QApplication::sendEvent(scene, &event);
}
