// libFuzzer target: the report reader and writer, without an application or a scene. Each input
// is read as a report laid over a fixed layout (":res/reports/kstatr.pak", compiled in), and the
// same bytes serve as the layout of a report. What reads is written again, and what is written
// must parse again: a file the program saved always reopens.
#include "DocumentContainer.h"
#include "ReportReader.h"
#include "ReportWriter.h"
#include "ReportXml.h"
#include "SettingsKeys.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {
QString g_folder;

void readAndWrite(const QString& path, const DocumentContainer& container)
{
    const ReportReadResult result = ReportReader::read(path, container, SettingsKeys::defaultLocale());
    if (!result.document)
        return;
    DocumentContainer out;
    out.append(QStringLiteral("xml"), QByteArray());
    out.setData(0, ReportWriter::toXml(*result.document, out));
    QDomDocument written;
    if (!ReportXml::parse(out.at(0).data, &written))
        abort();
}
} // namespace

extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

// Mutations of zlib bytes rarely give a stream that inflates; the XML inside is what the loader
// reads, so that is what gets mutated, and the container is built around it again.
extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed)
{
    DocumentContainer container;
    if (seed % 8 == 0 || !container.fromBytes(QByteArray(reinterpret_cast<const char*>(data), int(size))))
        return LLVMFuzzerMutate(data, size, maxSize);
    const int index = int(seed / 8 % unsigned(container.count()));
    QByteArray entry = container.at(index).data;
    const size_t used = size_t(entry.size());
    entry.resize(int(used * 2 + 256));
    entry.resize(int(LLVMFuzzerMutate(reinterpret_cast<uint8_t*>(entry.data()), used, size_t(entry.size()))));
    container.setData(index, entry);
    const QByteArray bytes = container.toBytes();
    if (size_t(bytes.size()) > maxSize)
        return LLVMFuzzerMutate(data, size, maxSize);
    memcpy(data, bytes.constData(), size_t(bytes.size()));
    return size_t(bytes.size());
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_folder = QDir::tempPath() + QStringLiteral("/kestrovan-fuzz-%1").arg(qint64(getpid()));
    QDir().mkpath(g_folder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
    DocumentContainer container;
    if (!container.fromBytes(bytes))
        return 0;
    readAndWrite(g_folder + QStringLiteral("/input.kstatr"), container);

    const QString pack = g_folder + QStringLiteral("/input.pak");
    QFile file(pack);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size()) {
        file.close();
        DocumentContainer document;
        document.append(
            QStringLiteral("xml"), QStringLiteral("<document resPak=\"%1\"/>").arg(pack).toUtf8());
        readAndWrite(g_folder + QStringLiteral("/layout.kstir"), document);
    }
    return 0;
}
