#include "LoggerApplication.h"
#include "LoggerResources.h"

#include <QApplication>

// HalvernDataLogger takes no arguments of its own; the toolkit's are handled by QApplication.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    LoggerApplication::setIdentity();
    initLoggerResources();
    LoggerApplication::run(app);
    return 0;
}
