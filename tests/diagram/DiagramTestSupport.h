#pragma once

#include "DiagramComponent.h"
#include "DiagramGraphicsScene.h"
#include "DiagramMenus.h"
#include "TestSupport.h"

#include <QPointF>
#include <QStringList>

// Helpers the diagram tests share: menus and the caption dialog answered by the test, and
// mouse events sent straight to a scene.
namespace DiagramTestSupport {

// Every context menu opened from now on is recorded; the entry named choice is chosen (none when
// empty or absent).
struct MenuScript
{
    QList<QStringList> opened;
    QString choice;
};
MenuScript& menus();
void installMenuScript();

// The caption dialog answers OK with text (or Cancel when accept is false).
void answerCaptionDialog(const QString& text, bool accept = true);
// How many caption dialogs were shown, and what each one was prefilled with.
QStringList& captionDialogTexts();

void press(DiagramGraphicsScene* scene, const QPointF& point, Qt::MouseButton button = Qt::LeftButton);
void move(DiagramGraphicsScene* scene, const QPointF& point, Qt::MouseButtons buttons = Qt::NoButton);
void release(DiagramGraphicsScene* scene, const QPointF& point, Qt::MouseButton button = Qt::LeftButton);
// Press, move and release: a drag with the left button.
void drag(DiagramGraphicsScene* scene, const QPointF& from, const QPointF& to);
void rightClick(DiagramGraphicsScene* scene, const QPointF& point);
// A key pressed while the drawing has the keyboard; true when the drawing used it.
bool key(DiagramGraphicsScene* scene, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// The Menu key: the desktop sends a context menu event for it.
void menuKey(DiagramGraphicsScene* scene, const QPointF& pointer);

// Draws a cable in wire mode from one point to another (the scene must be in wire mode).
void drawCable(DiagramGraphicsScene* scene, const QPointF& from, const QPointF& to);

// Puts a component's caption elsewhere through the drawing's model, without an undo step: set-up
// that keeps captions out of the way of the pointer.
void placeCaption(DiagramGraphicsScene* scene, DiagramComponent* component, const QPointF& position);

// Where the items of a drawing differ from the model it keeps (the first difference found), or
// an empty text: the items are views of the model, whatever edits and undos came before.
QString shownDiffersFromModel(DiagramGraphicsScene* scene);

QString writeFile(const QString& folder, const QString& name, const QByteArray& content);
} // namespace DiagramTestSupport
