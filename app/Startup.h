#pragma once

#include <QStringList>
#include <functional>

class MainWindow;

struct StartupOptions
{
    // How long the splash screen holds the first start.
    int splashDelayMs = 2500;
    // Called once the main window of a pass is shown (benchmarks and tests).
    std::function<void(MainWindow*)> mainWindowShown;
};

// The start-up loop: splash, translations, main window, event loop; again after a language
// switch asked for a restart.
int runKestrovan(int& argc, char** argv, const StartupOptions& options = StartupOptions());

// Set by a language switch: the loop builds a new main window instead of leaving.
bool& restartRequested();

// Sets the organisation and application names, version and domain on the application object.
void setApplicationIdentity();

// High-DPI scaling and pictures; before the application object exists.
void enableHighDpi();

// The file named on the command line, as an absolute path (none when there is none).
QStringList filesFromArguments(const QStringList& arguments);
// Opens each existing file as a document of the window (the command line, or a hand-over from a
// later start); a file that cannot be shown is dropped after its message.
void openFilesInWindow(MainWindow* window, const QStringList& files);

// Registers the document classes of every subsystem with the document factory.
void registerDocumentKinds();
