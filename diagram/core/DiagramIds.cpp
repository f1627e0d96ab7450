#include "DiagramIds.h"

#include <limits>

int DiagramIds::number(const QString& id)
{
    bool ok = false;
    const qlonglong value = id.midRef(2).toLongLong(&ok);
    if (!ok || value < 0 || value >= std::numeric_limits<int>::max())
        return 0;
    return static_cast<int>(value);
}

QString DiagramIds::make(int number)
{
    return QStringLiteral("id%1").arg(number);
}

void DiagramIdCounter::note(const QString& id)
{
    const int n = DiagramIds::number(id);
    if (n >= m_next)
        m_next = n + 1;
}

QString DiagramIdCounter::take(const std::function<QSet<int>()>& usedNumbers)
{
    if (m_next < std::numeric_limits<int>::max())
        return DiagramIds::make(m_next++);
    const QSet<int> used = usedNumbers ? usedNumbers() : QSet<int>();
    int free = 1;
    while (used.contains(free) && free < std::numeric_limits<int>::max())
        ++free;
    return DiagramIds::make(free);
}
