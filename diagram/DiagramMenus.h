#pragma once

#include <QPoint>
#include <functional>

class QAction;
class QMenu;

// Every context menu of the diagram runs through here, so that tests can see which menu opened
// and pick an entry instead of a person.
namespace DiagramMenus {
using Runner = std::function<QAction*(QMenu& menu, const QPoint& screenPos)>;

QAction* exec(QMenu& menu, const QPoint& screenPos);
// Replaces the runner (an empty one restores QMenu::exec); returns the previous one.
Runner install(Runner runner);
} // namespace DiagramMenus
