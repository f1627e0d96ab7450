#pragma once

#include <QColor>

namespace IVCurve {

// Hands out line colours for strings that have none yet: fifteen base colours, then the same
// again a shade darker each round, so that strings shown together stay told apart.
class StringColours
{
public:
    static StringColours& instance();

    QColor next();
    // Starts again at the first colour (tests).
    void reset();

    static constexpr int baseCount = 15;

private:
    StringColours() = default;
    int m_index = 0;
    int m_factor = 100;
};

} // namespace IVCurve
