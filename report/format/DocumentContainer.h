#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

struct ContainerEntry
{
    QString name;
    QByteArray data;
};

// The file format of reports, templates and resource packs: a qCompress-style block (4-byte
// big-endian uncompressed size, then a zlib stream) whose payload is a run of QDataStream pairs
// of name and data, with no count and no terminator. The stream is set to Qt_4_3; a QString and a
// QByteArray are laid out alike in every stream version since Qt 4.0 (32-bit length, then UTF-16BE
// or bytes).
class DocumentContainer
{
public:
    // Files and payloads above these sizes are refused before anything is allocated for them:
    // a report is its XML and a few pictures of at most 20 MB each. Writing keeps to the same
    // limit, so that every file written reads back.
    static constexpr qint64 MaxFileSize = 128 * 1024 * 1024;
    static constexpr quint32 MaxPayloadSize = 128 * 1024 * 1024;
    // A report holds its XML and one entry per picture; a run of empty entries is damage.
    static constexpr int MaxEntries = 4096;

    // Reads a whole file; true when at least one entry was read. A damaged file yields false and
    // leaves the container empty.
    bool load(const QString& path);
    // Writes the file atomically: on failure the previous file stays as it was.
    bool save(const QString& path, QString* errorString = nullptr) const;

    bool fromBytes(const QByteArray& fileBytes);
    QByteArray toBytes() const;

    void append(const QString& name, const QByteArray& data);
    void setData(int index, const QByteArray& data);
    void clear() { m_entries.clear(); }
    int count() const { return m_entries.size(); }
    const ContainerEntry& at(int index) const { return m_entries.at(index); }

    // The zlib half of the format, bounded: false unless the stream is complete and yields
    // exactly the size its header declares (at most maxSize).
    static bool uncompress(
        const QByteArray& compressed, QByteArray* payload, quint32 maxSize = MaxPayloadSize);
    // The entry half: false on any truncated or inconsistent entry.
    static bool parsePayload(const QByteArray& payload, QList<ContainerEntry>* entries);

private:
    QList<ContainerEntry> m_entries;
};
