#pragma once

#include <QStatusBar>

namespace HvGui {

// A status bar that shows a long message whole: it wraps the message over as many lines as the
// window's width needs and grows to fit, where the toolkit's would cut it off at the edge.
class WrappingStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit WrappingStatusBar(QWidget* parent = nullptr);

    // The height the current message needs at the present width (at least the minimum set).
    int heightForMessage() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect messageRect() const;
    void fitMessage();

    int m_baseMinimumHeight = 0;
};

} // namespace HvGui
