#include "LoggerApplication.h"
#include "LoggerResources.h"
#include "WidgetPrompts.h"

#include <QApplication>
#include <memory>

// HalvernDataLogger takes no arguments of its own; the toolkit's are handled by QApplication.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Questions and file choosers are the real dialogs (the seam's default answers unattended).
    Prompts::install(std::make_unique<WidgetPrompts>());
    LoggerApplication::setIdentity();
    initLoggerResources();
    LoggerApplication::run(app);
    return 0;
}
