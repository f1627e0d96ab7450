#include "DiagramXml.h"

#include <QDomElement>
#include <QtMath>

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
