#include "Desktop.h"

#include <QDesktopServices>

namespace {
Desktop::UrlHandler& handler()
{
    static Desktop::UrlHandler h;
    return h;
}
} // namespace

bool Desktop::openUrl(const QUrl& url)
{
    if (handler())
        return handler()(url);
    return QDesktopServices::openUrl(url);
}

Desktop::UrlHandler Desktop::setUrlHandler(UrlHandler newHandler)
{
    UrlHandler previous = std::move(handler());
    handler() = std::move(newHandler);
    return previous;
}
