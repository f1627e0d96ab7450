#include "DocumentContainer.h"

#include "FileNames.h"
#include "SafeWrite.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <libdeflate.h>
#include <memory>

namespace {
constexpr quint32 NullLength = 0xFFFFFFFF;

bool readLength(const QByteArray& payload, int& pos, quint32* length)
{
    if (payload.size() - pos < 4)
        return false;
    *length = qFromBigEndian<quint32>(payload.constData() + pos);
    pos += 4;
    return true;
}
// One decompressor per thread: the search worker and the window read containers at once.
libdeflate_decompressor* decompressor()
{
    thread_local const std::unique_ptr<libdeflate_decompressor, void (*)(libdeflate_decompressor*)> one(
        libdeflate_alloc_decompressor(), libdeflate_free_decompressor);
    return one.get();
}
} // namespace

bool DocumentContainer::load(const QString& path)
{
    m_entries.clear();
    QByteArray bytes;
    return readPlainFile(path, MaxFileSize, &bytes) && fromBytes(bytes);
}

bool DocumentContainer::save(const QString& path, QString* errorString) const
{
    qint64 size = 0;
    for (const ContainerEntry& entry : m_entries)
        size += 8 + qint64(entry.name.size()) * 2 + entry.data.size();
    if (size > MaxPayloadSize || m_entries.size() > MaxEntries) {
        if (errorString)
            *errorString = QStringLiteral("The content is larger than a report file may hold.");
        return false;
    }
    return SafeWrite::writeFile(path, toBytes(), errorString);
}

bool DocumentContainer::fromBytes(const QByteArray& fileBytes)
{
    m_entries.clear();
    QByteArray payload;
    QList<ContainerEntry> entries;
    if (!uncompress(fileBytes, &payload) || !parsePayload(payload, &entries) || entries.isEmpty())
        return false;
    m_entries = entries;
    return true;
}

QByteArray DocumentContainer::toBytes() const
{
    QByteArray payload;
    {
        QBuffer buffer(&payload);
        buffer.open(QIODevice::WriteOnly);
        QDataStream stream(&buffer);
        stream.setVersion(QDataStream::Qt_4_3);
        for (const ContainerEntry& entry : m_entries)
            stream << entry.name << entry.data;
    }
    return qCompress(payload, -1);
}

void DocumentContainer::append(const QString& name, const QByteArray& data)
{
    m_entries.append(ContainerEntry { name, data });
}

void DocumentContainer::setData(int index, const QByteArray& data)
{
    m_entries[index].data = data;
}

bool DocumentContainer::uncompress(const QByteArray& compressed, QByteArray* payload, quint32 maxSize)
{
    payload->clear();
    if (compressed.size() < 4)
        return false;
    const quint32 expected = qFromBigEndian<quint32>(compressed.constData());
    if (expected > maxSize)
        return false;
    // zlib cannot expand by more than about 1032:1; a header claiming more than that is a lie
    // and is refused before its buffer is allocated.
    if (qint64(expected) > qint64(compressed.size()) * 1040 + 1024)
        return false;

    // Inflated in one call into a buffer of the declared size, with libdeflate: reports are opened
    // and searched by the thousand, and it inflates them about twice as fast as zlib. A header that
    // lies costs address space only, since pages are touched as the stream fills them. The call
    // fails unless the stream is complete and yields exactly the declared size.
    QByteArray out(int(expected), Qt::Uninitialized);
    const libdeflate_result result = libdeflate_zlib_decompress(decompressor(), compressed.constData() + 4,
        size_t(compressed.size() - 4), out.data(), size_t(expected), nullptr);
    if (result != LIBDEFLATE_SUCCESS)
        return false;
    *payload = out;
    return true;
}

bool DocumentContainer::parsePayload(const QByteArray& payload, QList<ContainerEntry>* entries)
{
    entries->clear();
    int pos = 0;
    while (pos < payload.size()) {
        ContainerEntry entry;
        quint32 length = 0;
        if (!readLength(payload, pos, &length))
            return false;
        if (length == 0) {
            entry.name = QStringLiteral("");
        } else if (length != NullLength) {
            if (length % 2 != 0 || length > quint32(payload.size() - pos))
                return false;
            entry.name.resize(int(length / 2));
            const uchar* src = reinterpret_cast<const uchar*>(payload.constData() + pos);
            QChar* dst = entry.name.data();
            for (quint32 i = 0; i < length / 2; ++i)
                dst[i] = QChar(ushort((src[2 * i] << 8) | src[2 * i + 1]));
            pos += int(length);
        }
        if (!readLength(payload, pos, &length))
            return false;
        if (length != NullLength) {
            if (length > quint32(payload.size() - pos))
                return false;
            entry.data = payload.mid(pos, int(length));
            // An empty array that is not null keeps its identity when written back.
            if (length == 0)
                entry.data = QByteArray("");
            pos += int(length);
        }
        if (entries->size() >= DocumentContainer::MaxEntries)
            return false;
        entries->append(entry);
    }
    return true;
}
