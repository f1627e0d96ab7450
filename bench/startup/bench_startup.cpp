// Start-up time: from process start to the main window shown and idle, less the splash's
// fixed delay, with a projects folder of 2,000 files in 200 folders. Runs in a throw-away HOME.
#include "MainWindow.h"
#include "ProjectTreeController.h"
#include "ProjectWatcher.h"
#include "SettingsKeys.h"
#include "Startup.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {
// Milliseconds since this process started, read from /proc so that loading counts too.
double msSinceProcessStart()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    const double startTicks = fields.value(19).toDouble(); // field 22 of the whole line
    timespec now {};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double hz = double(sysconf(_SC_CLK_TCK));
    return (now.tv_sec + now.tv_nsec / 1e9 - startTicks / hz) * 1000.0;
}

void makeProjects(const QString& root, int folders, int filesPerFolder)
{
    for (int f = 0; f < folders; ++f) {
        const QString dir = QStringLiteral("%1/Site %2").arg(root).arg(f);
        QDir().mkpath(dir);
        for (int i = 0; i < filesPerFolder; ++i) {
            QFile file(QStringLiteral("%1/Report %2.kstir").arg(dir).arg(i));
            file.open(QIODevice::WriteOnly);
            file.write("x");
        }
    }
}
} // namespace

int main(int argc, char** argv)
{
    const int folders = argc > 1 ? atoi(argv[1]) : 200;
    const int perFolder = argc > 2 ? atoi(argv[2]) : 10;
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/.local/share")).toUtf8());
    const QString root = home.path() + QStringLiteral("/Documents/Shared Kestrovan Projects");
    // Making the projects folder is the benchmark's own work, not the program's.
    QElapsedTimer setup;
    setup.start();
    makeProjects(root, folders, perFolder);
    {
        // No welcome dialog: it would wait for a person.
        QSettings ini(
            home.path() + QStringLiteral("/.config/Halvern/Kestrovan Elements.conf"), QSettings::IniFormat);
        ini.setValue(SettingsKeys::welcomeShow(), false);
    }

    const qint64 setupMs = setup.elapsed();
    const int splashDelay = 2500;
    StartupOptions options;
    options.splashDelayMs = splashDelay;
    options.mainWindowShown = [&](MainWindow* window) {
        QTimer::singleShot(0, window, [window, splashDelay, setupMs, folders, perFolder]() {
            const double ms = msSinceProcessStart() - splashDelay - setupMs;
            std::printf("start-up: %.0f ms to the main window shown and idle (splash delay excluded), "
                        "%d files in %d folders\n",
                ms, folders * perFolder, folders);
            std::fflush(stdout);
            // The watcher fills itself from the event loop after the window is up.
            ProjectWatcher* watcher = window->projectTree()->watcher();
            auto report = [window, watcher, splashDelay, setupMs]() {
                std::printf("watcher: %d folders watched (%d refused) after %.0f ms\n",
                    watcher->watchedCount(), watcher->refusedCount(),
                    msSinceProcessStart() - splashDelay - setupMs);
                std::fflush(stdout);
                window->close();
            };
            if (!watcher || watcher->isComplete())
                report();
            else
                QObject::connect(watcher, &ProjectWatcher::walkFinished, window, report);
        });
    };
    return runKestrovan(argc, argv, options);
}
