#include "StringColours.h"

namespace IVCurve {

namespace {
QColor baseColour(int index)
{
    static const QColor colours[StringColours::baseCount] = { QColor("tomato"), QColor("lawngreen"),
        QColor("cadetblue"), QColor("mediumspringgreen"), QColor("plum"), QColor("royalblue"),
        QColor("sandybrown"), QColor("darkorchid"), QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue),
        QColor(Qt::cyan), QColor(Qt::magenta), QColor(Qt::darkYellow), QColor(Qt::gray) };
    return colours[index];
}
} // namespace

StringColours& StringColours::instance()
{
    static StringColours colours;
    return colours;
}

QColor StringColours::next()
{
    if (m_index >= baseCount) {
        m_index = 0;
        m_factor += 20;
        if (m_factor > 280)
            m_factor = 100;
    }
    return baseColour(m_index++).darker(m_factor);
}

void StringColours::reset()
{
    m_index = 0;
    m_factor = 100;
}

} // namespace IVCurve
