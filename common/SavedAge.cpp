#include "SavedAge.h"

#include <QCoreApplication>

namespace {
// English has one singular; other languages take their forms from the %n translation.
QString count(const char* one, const char* many, qint64 n)
{
    if (n == 1)
        return QCoreApplication::translate("time since saved", one);
    return QCoreApplication::translate("time since saved", many, nullptr, int(n));
}
} // namespace

QString savedAgoText(const QDateTime& modified, const QDateTime& now)
{
    const qint64 secs = modified.secsTo(now);
    // A file stamped ahead of our clock (another machine's clock, a network share) was saved
    // as good as now; so was one saved in the last few seconds, which a count would only make
    // look odd ("0 seconds ago").
    if (secs < 5)
        return QCoreApplication::translate("time since saved", "just now");
    if (secs <= 119)
        return count("1 second ago", "%n seconds ago", secs);
    if (secs <= 7199)
        return count("1 minute ago", "%n minutes ago", secs / 60);
    if (secs > 86399)
        return count("1 day ago", "%n days ago", modified.date().daysTo(now.date()));
    return count("1 hour ago", "%n hours ago", secs / 3600);
}
