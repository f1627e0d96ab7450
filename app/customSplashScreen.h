#pragma once

#include <QSplashScreen>

// The splash screen draws its message in a fixed rectangle of the brand picture, in a colour
// of our choosing, instead of QSplashScreen's bottom line.
class customSplashScreen : public QSplashScreen
{
    Q_OBJECT
public:
    explicit customSplashScreen(const QPixmap& pixmap);

    void setMessage(const QString& message) { m_message = message; }
    void setMessageAlignment(int alignment) { m_alignment = alignment; }
    void setMessageColour(const QColor& colour) { m_colour = colour; }
    void setMessageRect(const QRect& rect) { m_rect = rect; }
    QString message() const { return m_message; }
    QRect messageRect() const { return m_rect; }

protected:
    void drawContents(QPainter* painter) override;

private:
    QString m_message;
    int m_alignment = Qt::AlignLeft;
    QColor m_colour;
    QRect m_rect;
};
