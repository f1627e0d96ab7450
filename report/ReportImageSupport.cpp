#include "ReportImageSupport.h"

#include "DocumentContainer.h"

#include <QDomElement>

namespace {
ReportImageSupport::Hooks& current()
{
    static ReportImageSupport::Hooks hooks;
    return hooks;
}
} // namespace

void ReportImageSupport::setHooks(const Hooks& hooks)
{
    current() = hooks;
}

const ReportImageSupport::Hooks& ReportImageSupport::hooks()
{
    return current();
}

int ReportImageSupport::entryIndex(const QDomElement& element, const DocumentContainer& container)
{
    bool ok = false;
    const int index = element.attribute(QStringLiteral("index")).toInt(&ok);
    if (!ok || index < 1 || index >= container.count())
        return -1;
    return index;
}
