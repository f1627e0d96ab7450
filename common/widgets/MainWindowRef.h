#pragma once

class QWidget;

// The one main window of the current pass of the start-up loop. Message boxes use it as
// their parent; it is null before the main window exists and after it is gone.
QWidget* currentMainWindow();
void setCurrentMainWindow(QWidget* window);
