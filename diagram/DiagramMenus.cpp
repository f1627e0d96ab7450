#include "DiagramMenus.h"

#include <QMenu>

namespace {
DiagramMenus::Runner& runner()
{
    static DiagramMenus::Runner current;
    return current;
}
} // namespace

QAction* DiagramMenus::exec(QMenu& menu, const QPoint& screenPos)
{
    if (runner())
        return runner()(menu, screenPos);
    return menu.exec(screenPos);
}

DiagramMenus::Runner DiagramMenus::install(Runner replacement)
{
    Runner previous = runner();
    runner() = std::move(replacement);
    return previous;
}
