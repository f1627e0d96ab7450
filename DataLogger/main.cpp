#include "LoggerApplication.h"
#include "LoggerResources.h"
#include "WidgetPrompts.h"

#include <QApplication>
#include <memory>

// HalvernDataLogger takes one argument of its own, the launcher's hand-over key; the toolkit's
// are handled by QApplication, anything else is ignored.
int main(int argc, char** argv)
{
    LoggerApplication::prepareProcess();
    QApplication app(argc, argv);
    // Questions and file choosers are the real dialogs (the seam's default answers unattended).
    Prompts::install(std::make_unique<WidgetPrompts>());
    LoggerApplication::setIdentity();
    LoggerApplication::readCommandLine(app.arguments());
    initLoggerResources();
    LoggerApplication::run(app);
    return 0;
}
