#include "ContainerTestSupport.h"

#include <QFile>
#include <QtEndian>
#include <zlib.h>

static void initResourcesOutsideNamespace()
{
    Q_INIT_RESOURCE(reporttestdata);
}

void ReportTestSupport::initTestData()
{
    initResourcesOutsideNamespace();
}

namespace {
void appendLength(QByteArray& out, quint32 length)
{
    char bytes[4];
    qToBigEndian(length, bytes);
    out.append(bytes, 4);
}
} // namespace

QByteArray ReportTestSupport::handMadePayload(const QList<Entry>& entries)
{
    QByteArray payload;
    for (const Entry& entry : entries) {
        appendLength(payload, quint32(entry.first.size() * 2));
        for (const QChar c : entry.first) {
            payload.append(char(c.unicode() >> 8));
            payload.append(char(c.unicode() & 0xFF));
        }
        appendLength(payload, quint32(entry.second.size()));
        payload.append(entry.second);
    }
    return payload;
}

QByteArray ReportTestSupport::compressWithHeader(const QByteArray& payload, quint32 declaredSize)
{
    uLongf bound = compressBound(uLong(payload.size()));
    QByteArray out(int(bound) + 4, '\0');
    qToBigEndian(declaredSize, out.data());
    compress2(reinterpret_cast<Bytef*>(out.data() + 4), &bound,
        reinterpret_cast<const Bytef*>(payload.constData()), uLong(payload.size()), Z_DEFAULT_COMPRESSION);
    out.resize(int(bound) + 4);
    return out;
}

QByteArray ReportTestSupport::handMadeContainer(const QList<Entry>& entries, bool nullName, bool nullData)
{
    QByteArray payload = handMadePayload(entries);
    if (nullName || nullData) {
        if (nullName)
            appendLength(payload, 0xFFFFFFFF);
        else
            appendLength(payload, 0);
        if (nullData)
            appendLength(payload, 0xFFFFFFFF);
        else
            appendLength(payload, 0);
    }
    return compressWithHeader(payload, quint32(payload.size()));
}

bool ReportTestSupport::writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray ReportTestSupport::readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString ReportTestSupport::writeReport(
    const QString& folder, const QString& fileName, const QByteArray& xml, const QList<Entry>& pictures)
{
    QList<Entry> entries { { QStringLiteral("xml"), xml } };
    entries += pictures;
    const QString path = folder + QLatin1Char('/') + fileName;
    writeFile(path, handMadeContainer(entries));
    return path;
}

QDomElement ReportTestSupport::findById(const QDomElement& root, const QString& id)
{
    for (QDomElement e = root.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        if (e.attribute("id") == id)
            return e;
        const QDomElement inner = findById(e, id);
        if (!inner.isNull())
            return inner;
    }
    return QDomElement();
}
