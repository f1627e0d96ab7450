// libFuzzer target: the container reader and the XML parser behind it.
#include "DocumentContainer.h"
#include "ReportXml.h"

#include <QDomDocument>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
    DocumentContainer container;
    if (container.fromBytes(bytes)) {
        QDomDocument document;
        ReportXml::parse(container.at(0).data, &document);
        // What we read, we write back the same.
        DocumentContainer again;
        if (!again.fromBytes(container.toBytes()) || again.count() != container.count())
            __builtin_trap();
    }
    // The payload reader on its own, with the raw input as payload.
    QList<ContainerEntry> entries;
    DocumentContainer::parsePayload(bytes, &entries);
    return 0;
}
