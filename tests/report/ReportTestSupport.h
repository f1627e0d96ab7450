#pragma once

#include "ContainerTestSupport.h"

#include <QByteArray>
#include <QDomElement>
#include <QGraphicsItem>
#include <QList>
#include <QPair>
#include <QString>
#include <QUndoStack>
#include <memory>

class ReportScene;
class QGraphicsScene;

namespace ReportTestSupport {
// A scene with its undo stack, as a report document holds them.
struct Report
{
    QUndoStack stack;
    std::unique_ptr<ReportScene> scene;
    Report();
    ~Report();
    bool load(const QString& path);
};

// Makes the scene active, so that focus and key events work without a window.
void activate(QGraphicsScene* scene);
void key(QGraphicsScene* scene, int key, const QString& text = QString(),
    Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void typeText(QGraphicsScene* scene, const QString& text);
void mouse(QGraphicsScene* scene, int type, const QPointF& scenePos, Qt::MouseButton button,
    Qt::MouseButtons buttons);
} // namespace ReportTestSupport
