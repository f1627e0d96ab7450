#include "KestrovanResources.h"

#include <QtGlobal>

static void initResourcesOutsideNamespace()
{
    Q_INIT_RESOURCE(kestrovan);
}

void initKestrovanResources()
{
    static bool done = false;
    if (!done) {
        initResourcesOutsideNamespace();
        done = true;
    }
}
