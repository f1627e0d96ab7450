#include "customSplashScreen.h"

#include <QPainter>

customSplashScreen::customSplashScreen(const QPixmap& pixmap)
    : QSplashScreen(pixmap)
{ }

void customSplashScreen::drawContents(QPainter* painter)
{
    painter->setPen(m_colour);
    painter->drawText(m_rect, m_alignment, m_message);
}
