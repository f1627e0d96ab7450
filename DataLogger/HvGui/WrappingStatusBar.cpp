#include "HvGui/WrappingStatusBar.h"

#include <QPainter>
#include <QStyleOption>

namespace HvGui {

namespace {
constexpr int Margin = 4;
constexpr Qt::Alignment TextFlags = Qt::AlignLeft | Qt::AlignVCenter;
} // namespace

WrappingStatusBar::WrappingStatusBar(QWidget* parent)
    : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    connect(this, &QStatusBar::messageChanged, this, [this]() {
        fitMessage();
        update();
    });
}

QRect WrappingStatusBar::messageRect() const
{
    // The message shares the bar with the permanent widgets on its right (the progress bar).
    int right = width() - Margin;
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child->isVisible())
            right = qMin(right, child->x() - Margin);
    }
    return QRect(Margin + 2, Margin, qMax(right - Margin - 2, 20), height() - 2 * Margin);
}

int WrappingStatusBar::heightForMessage() const
{
    const QString message = currentMessage();
    if (message.isEmpty())
        return m_baseMinimumHeight;
    const QRect room = messageRect();
    const QRect needed = fontMetrics().boundingRect(
        QRect(0, 0, room.width(), 100000), int(TextFlags) | Qt::TextWordWrap, message);
    return qMax(m_baseMinimumHeight, needed.height() + 2 * Margin + 2);
}

void WrappingStatusBar::fitMessage()
{
    if (m_baseMinimumHeight == 0)
        m_baseMinimumHeight = qMax(minimumHeight(), 1);
    const int wanted = heightForMessage();
    if (wanted != minimumHeight())
        setMinimumHeight(wanted);
}

void WrappingStatusBar::resizeEvent(QResizeEvent* event)
{
    QStatusBar::resizeEvent(event);
    fitMessage();
}

void WrappingStatusBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
    const QString message = currentMessage();
    if (message.isEmpty())
        return;
    painter.setPen(palette().windowText().color());
    painter.drawText(messageRect(), int(TextFlags) | Qt::TextWordWrap, message);
}

} // namespace HvGui
