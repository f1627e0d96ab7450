#pragma once

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

// Registers the document classes of every subsystem with the document factory.
void registerDocumentKinds();
