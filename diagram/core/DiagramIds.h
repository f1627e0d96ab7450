#pragma once

#include <QSet>
#include <QString>
#include <functional>

// Item ids "id1", "id2", ...: how cables name the components they attach to in a file.
namespace DiagramIds {
// The number after the first two characters of an id; 0 when there is none or when it does not
// fit a positive int below the largest one (so that one more never overflows).
int number(const QString& id);
QString make(int number);
} // namespace DiagramIds

// Hands out the next id of a drawing. Loading notes every id found so that new ones come after
// the highest; when the numbers run out it falls back to the lowest number not in use.
class DiagramIdCounter
{
public:
    int next() const { return m_next; }
    void note(const QString& id);
    // Takes the next number. usedNumbers lists the numbers in use; it is only asked when the
    // counter has reached its end.
    QString take(const std::function<QSet<int>()>& usedNumbers = {});
    void reset() { m_next = 1; }

private:
    int m_next = 1;
};
