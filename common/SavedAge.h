#pragma once

#include <QDateTime>
#include <QString>

// How long ago a file was saved, as the question after a download puts it: "90 seconds ago",
// "2 minutes ago", "3 hours ago", or whole calendar days ("1 day ago") for anything older than a
// day; the last few seconds and a time ahead of now are "just now".
QString savedAgoText(const QDateTime& modified, const QDateTime& now = QDateTime::currentDateTime());
