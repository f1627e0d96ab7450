#pragma once

#include <QUrl>
#include <functional>

// Hands files and web addresses to the desktop's own programs (xdg-open). Tests replace the
// handler so that nothing is launched.
namespace Desktop {
using UrlHandler = std::function<bool(const QUrl&)>;

bool openUrl(const QUrl& url);
// Replaces the handler; returns the previous one. An empty handler restores the desktop's.
UrlHandler setUrlHandler(UrlHandler handler);
} // namespace Desktop
