#pragma once

#include <QEvent>

// Posted by the main window to itself on a normal start; it then shows the welcome dialog.
class WelcomeEvent : public QEvent
{
public:
    static constexpr QEvent::Type EventType = static_cast<QEvent::Type>(1001);
    WelcomeEvent()
        : QEvent(EventType)
    { }
};
