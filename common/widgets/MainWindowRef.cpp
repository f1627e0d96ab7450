#include "MainWindowRef.h"

#include <QPointer>
#include <QWidget>

namespace {
QPointer<QWidget>& mainWindow()
{
    static QPointer<QWidget> window;
    return window;
}
} // namespace

QWidget* currentMainWindow()
{
    return mainWindow().data();
}

void setCurrentMainWindow(QWidget* window)
{
    mainWindow() = window;
}
