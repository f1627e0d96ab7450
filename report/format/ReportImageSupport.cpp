#include "ReportImageSupport.h"

#include "DocumentContainer.h"

#include <QDomElement>

int ReportImageSupport::entryIndex(const QDomElement& element, const DocumentContainer& container)
{
    bool ok = false;
    const int index = element.attribute(QStringLiteral("index")).toInt(&ok);
    if (!ok || index < 1 || index >= container.count())
        return -1;
    return index;
}
