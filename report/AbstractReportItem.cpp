#include "AbstractReportItem.h"

#include <QDomElement>
#include <cmath>

AbstractReportItem::AbstractReportItem(QGraphicsItem* parent)
    : QGraphicsObject(parent)
{ }

AbstractReportItem::~AbstractReportItem()
{
    // Neighbours must not keep pointing at a destroyed item.
    if (m_previous)
        m_previous->m_next = nullptr;
    if (m_next)
        m_next->m_previous = nullptr;
}

void AbstractReportItem::setNextTabStop(AbstractReportItem* next)
{
    if (m_next == next)
        return;
    if (m_next)
        m_next->m_previous = nullptr;
    if (next) {
        if (next->m_previous)
            next->m_previous->m_next = nullptr;
        next->m_previous = this;
    }
    m_next = next;
}

AbstractReportItem* AbstractReportItem::styleParent() const
{
    QGraphicsItem* parent = parentItem();
    if (!ReportItemType::isReportItem(parent))
        return nullptr;
    return static_cast<AbstractReportItem*>(static_cast<QGraphicsObject*>(parent));
}

qreal AbstractReportItem::readDouble(
    const QDomElement& element, const QString& name, qreal fallback, qreal limit)
{
    if (!element.hasAttribute(name))
        return fallback;
    bool ok = false;
    const qreal value = element.attribute(name).toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::abs(value) > limit)
        return fallback;
    return value;
}

int AbstractReportItem::readInt(const QDomElement& element, const QString& name, int fallback, bool* ok)
{
    bool parsed = true;
    int value = fallback;
    if (element.hasAttribute(name))
        value = element.attribute(name).toInt(&parsed);
    if (ok)
        *ok = parsed;
    return parsed ? value : fallback;
}

bool AbstractReportItem::load(const QDomElement& element, bool valuesOnly, const DocumentContainer&)
{
    if (!valuesOnly) {
        setPos(readDouble(element, QStringLiteral("x"), 0.0), readDouble(element, QStringLiteral("y"), 0.0));
        loadStyles(element);
    }
    m_id = element.attribute(QStringLiteral("id"));
    return true;
}

void AbstractReportItem::loadStyles(const QDomElement& element)
{
    if (const AbstractReportItem* parent = styleParent()) {
        m_editable = parent->m_editable;
        m_colour = parent->m_colour;
        m_backgroundColour = parent->m_backgroundColour;
        m_fontFamily = parent->m_fontFamily;
        m_fontSize = parent->m_fontSize;
        m_fontWeight = parent->m_fontWeight;
        m_padding = parent->m_padding;
    }
    m_explicitStyleMask = 0;
    if (element.hasAttribute(QStringLiteral("editable"))) {
        m_editable = element.attribute(QStringLiteral("editable")) == QLatin1String("1");
        m_explicitStyleMask |= ReportStyle::Editable;
    }
    if (element.hasAttribute(QStringLiteral("colour"))) {
        m_colour.setNamedColor(element.attribute(QStringLiteral("colour")));
        m_explicitStyleMask |= ReportStyle::Colour;
    }
    if (element.hasAttribute(QStringLiteral("backgroundColour"))) {
        m_backgroundColour.setNamedColor(element.attribute(QStringLiteral("backgroundColour")));
        m_explicitStyleMask |= ReportStyle::BackgroundColour;
    }
    if (element.hasAttribute(QStringLiteral("font"))) {
        m_fontFamily = element.attribute(QStringLiteral("font"));
        m_explicitStyleMask |= ReportStyle::Font;
    }
    if (element.hasAttribute(QStringLiteral("fontSize"))) {
        // Point sizes beyond a poster's make the text layout crawl; such a value is damage.
        m_fontSize = readDouble(element, QStringLiteral("fontSize"), m_fontSize, 400);
        if (m_fontSize < 1)
            m_fontSize = 1;
        m_explicitStyleMask |= ReportStyle::FontSize;
    }
    if (element.hasAttribute(QStringLiteral("fontWeight"))) {
        m_fontWeight
            = qBound(0, int(readDouble(element, QStringLiteral("fontWeight"), m_fontWeight, 99)), 99);
        m_explicitStyleMask |= ReportStyle::FontWeight;
    }
    if (element.hasAttribute(QStringLiteral("padding"))) {
        m_padding = readDouble(element, QStringLiteral("padding"), m_padding);
        m_explicitStyleMask |= ReportStyle::Padding;
    }
}

bool AbstractReportItem::save(QDomElement& element, bool valuesOnly, DocumentContainer&)
{
    if (!valuesOnly) {
        element.setAttribute(QStringLiteral("x"), QString::number(pos().x()));
        element.setAttribute(QStringLiteral("y"), QString::number(pos().y()));
    }
    const unsigned mask = m_explicitStyleMask;
    if (mask & ReportStyle::Editable)
        element.setAttribute(
            QStringLiteral("editable"), m_editable ? QStringLiteral("1") : QStringLiteral("0"));
    if (mask & ReportStyle::Colour)
        element.setAttribute(QStringLiteral("colour"), m_colour.name());
    if (mask & ReportStyle::BackgroundColour)
        element.setAttribute(QStringLiteral("backgroundColour"), m_backgroundColour.name());
    if (mask & ReportStyle::Font)
        element.setAttribute(QStringLiteral("font"), m_fontFamily);
    if (mask & ReportStyle::FontSize)
        element.setAttribute(QStringLiteral("fontSize"), QString::number(m_fontSize));
    if (mask & ReportStyle::FontWeight)
        element.setAttribute(QStringLiteral("fontWeight"), QString::number(m_fontWeight));
    if (mask & ReportStyle::Padding)
        element.setAttribute(QStringLiteral("padding"), QString::number(m_padding));
    if (!m_id.isEmpty())
        element.setAttribute(QStringLiteral("id"), m_id);
    return true;
}
