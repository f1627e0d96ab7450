#pragma once

#include <QString>

// A name that came from outside (a lock file's user and host) made fit to show in a line of
// text: control characters and the bidirectional marks, embeddings, overrides and isolates that
// could turn the surrounding text around are removed. Show the result as plain text.
QString plainUserText(const QString& text);
