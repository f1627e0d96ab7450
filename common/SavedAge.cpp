#include "SavedAge.h"

#include <QCoreApplication>

QString savedAgoText(const QDateTime& modified, const QDateTime& now)
{
    const qint64 secs = modified.secsTo(now);
    // A file stamped ahead of our clock (another machine's clock, a network share) was saved
    // as good as now.
    if (secs < 0)
        return QCoreApplication::translate("time since saved", "just now");
    if (secs <= 119)
        return QCoreApplication::translate("time since saved", "%1 seconds ago").arg(secs);
    if (secs <= 7199)
        return QCoreApplication::translate("time since saved", "%1 minutes ago").arg(secs / 60);
    if (secs > 86399)
        return QCoreApplication::translate("time since saved", "%1 days ago")
            .arg(modified.date().daysTo(now.date()));
    return QCoreApplication::translate("time since saved", "%1 hours ago").arg(secs / 3600);
}
