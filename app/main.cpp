#include "Startup.h"

#include <cstdio>
#include <cstdlib>

namespace {
// Qt aborts when it cannot reach a display; say so plainly instead.
bool displayAvailable()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform)
        return true;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}
} // namespace

int main(int argc, char** argv)
{
    if (!displayAvailable()) {
        std::fprintf(
            stderr, "Kestrovan needs a graphical display, and none was found (DISPLAY is not set).\n");
        return 1;
    }
    return runKestrovan(argc, argv);
}
