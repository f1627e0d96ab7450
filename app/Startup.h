#pragma once

#include <QStringList>
#include <functional>

class MainWindow;
class SingleInstance;

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

// Whether this process runs as the instance or leaves after handing its files to the running
// one. A running instance that does not answer is told about in a message box, naming the files
// that were not opened; then this process leaves with an error.
enum class StartDecision { Run, Leave, LeaveWithError };
StartDecision decideStart(SingleInstance& instance, const QStringList& files, int timeoutMs = 20000);

// The files named on the command line, as absolute paths.
QStringList filesFromArguments(const QStringList& arguments);
// Opens each file as a document of the window (the command line, or a hand-over from a later
// start); a missing file or one that cannot be shown is dropped after a message naming it.
void openFilesInWindow(MainWindow* window, const QStringList& files);

// Registers the document classes of every subsystem with the document factory.
void registerDocumentKinds();
