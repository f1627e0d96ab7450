#include "DiagramXml.h"

#include <QDomDocument>
#include <QDomElement>
#include <QDomNamedNodeMap>
#include <QXmlStreamWriter>
#include <QtMath>
#include <algorithm>

namespace {
int attributeRank(const QString& name)
{
    static const QStringList order { QStringLiteral("type"), QStringLiteral("id"), QStringLiteral("x"),
        QStringLiteral("y"), QStringLiteral("width"), QStringLiteral("height"), QStringLiteral("text"),
        QStringLiteral("connectedItemId"), QStringLiteral("connectedPosX"), QStringLiteral("connectedPosY"),
        QStringLiteral("direction") };
    const int rank = order.indexOf(name);
    return rank < 0 ? order.size() : rank;
}

// The format nests three levels deep, so recursion stays shallow.
void writeElement(QXmlStreamWriter& writer, const QDomElement& element)
{
    writer.writeStartElement(element.tagName());
    const QDomNamedNodeMap attributes = element.attributes();
    QList<QPair<QString, QString>> sorted;
    for (int i = 0; i < attributes.count(); ++i) {
        const QDomAttr attribute = attributes.item(i).toAttr();
        sorted.append({ attribute.name(), attribute.value() });
    }
    std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
        const int rankA = attributeRank(a.first);
        const int rankB = attributeRank(b.first);
        return rankA != rankB ? rankA < rankB : a.first < b.first;
    });
    for (const auto& attribute : qAsConst(sorted))
        writer.writeAttribute(attribute.first, attribute.second);
    for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement())
        writeElement(writer, child);
    writer.writeEndElement();
}
} // namespace

double DiagramXml::coordinate(const QDomElement& element, const QString& name, double fallback)
{
    if (!element.hasAttribute(name))
        return fallback;
    bool ok = false;
    const double value = element.attribute(name).toDouble(&ok);
    if (!ok || !qIsFinite(value) || qAbs(value) > MaxCoordinate)
        return fallback;
    return value;
}

double DiagramXml::size(const QDomElement& element, const QString& name, double fallback)
{
    const double value = coordinate(element, name, fallback);
    return value < 0 ? fallback : value;
}

QString DiagramXml::cleanText(const QString& text)
{
    QString clean;
    clean.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const ushort u = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            clean.append(c);
            clean.append(text.at(++i));
            continue;
        }
        if (c.isSurrogate())
            continue;
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r')
            continue;
        if (u == 0xFFFE || u == 0xFFFF)
            continue;
        clean.append(c);
    }
    return clean;
}

QByteArray DiagramXml::write(const QDomDocument& document)
{
    QByteArray bytes;
    QXmlStreamWriter writer(&bytes);
    writer.setAutoFormatting(true);
    writer.setAutoFormattingIndent(2);
    const QDomElement root = document.documentElement();
    if (!root.isNull())
        writeElement(writer, root);
    // The writer opens with a line break when there is no declaration; the file never had one.
    if (bytes.startsWith('\n'))
        bytes.remove(0, 1);
    bytes.append('\n');
    return bytes;
}
