#include "ReportWriter.h"

#include "DocumentContainer.h"
#include "ReportModel.h"

#include <QDomDocument>

namespace {
using Kind = ReportItem::Kind;

QString tagName(Kind kind)
{
    switch (kind) {
    case Kind::Page:
        return QStringLiteral("page");
    case Kind::Text:
        return QStringLiteral("text");
    case Kind::CheckBox:
        return QStringLiteral("checkBox");
    case Kind::Svg:
        return QStringLiteral("svg");
    case Kind::Table:
        return QStringLiteral("table");
    case Kind::TableSet:
        return QStringLiteral("tableset");
    case Kind::Cell:
        return QStringLiteral("cell");
    case Kind::Image:
        return QStringLiteral("image");
    }
    return QString();
}

void writeStyle(QDomElement& element, const ReportItemStyle& style)
{
    const unsigned mask = style.explicitMask;
    if (mask & ReportStyle::Editable)
        element.setAttribute(
            QStringLiteral("editable"), style.editable ? QStringLiteral("1") : QStringLiteral("0"));
    if (mask & ReportStyle::Colour)
        element.setAttribute(QStringLiteral("colour"), reportColourName(style.colour));
    if (mask & ReportStyle::BackgroundColour)
        element.setAttribute(QStringLiteral("backgroundColour"), reportColourName(style.backgroundColour));
    if (mask & ReportStyle::Font)
        element.setAttribute(QStringLiteral("font"), style.fontFamily);
    if (mask & ReportStyle::FontSize)
        element.setAttribute(QStringLiteral("fontSize"), QString::number(style.fontSize));
    if (mask & ReportStyle::FontWeight)
        element.setAttribute(QStringLiteral("fontWeight"), QString::number(style.fontWeight));
    if (mask & ReportStyle::Padding)
        element.setAttribute(QStringLiteral("padding"), QString::number(style.padding));
}

// A table writes its sets, cells and other items, but not what they hold in turn.
void writeItem(const ReportItem& item, QDomElement& parent, DocumentContainer& container, bool withChildren)
{
    // Cells made to fill the grid are written once they hold a value; a picture without bytes
    // is nothing to keep.
    if ((item.kind == Kind::Cell && item.automatic && item.text.isEmpty())
        || (item.kind == Kind::Image && item.data.isEmpty()))
        return;
    QDomElement element = parent.ownerDocument().createElement(tagName(item.kind));
    // A page stands where its number puts it, a cell where its grid place does.
    if (item.kind != Kind::Page && item.kind != Kind::Cell) {
        element.setAttribute(QStringLiteral("x"), QString::number(item.pos.x()));
        element.setAttribute(QStringLiteral("y"), QString::number(item.pos.y()));
    }
    writeStyle(element, item.style);
    if (!item.id.isEmpty())
        element.setAttribute(QStringLiteral("id"), item.id);

    switch (item.kind) {
    case Kind::Page:
        // The page type was always written as A4; the layout gives the real one.
        element.setAttribute(QStringLiteral("pageType"), QStringLiteral("A4"));
        element.setAttribute(QStringLiteral("pageNumber"), QString::number(item.pageNumber));
        break;
    case Kind::Svg:
        element.setAttribute(QStringLiteral("file"), item.file);
        element.setAttribute(QStringLiteral("dpi"), QString::number(item.dpi));
        break;
    case Kind::Table:
        element.setAttribute(QStringLiteral("width"), QString::number(item.size.width()));
        element.setAttribute(QStringLiteral("height"), QString::number(item.size.height()));
        element.setAttribute(QStringLiteral("numCols"), QString::number(item.columns));
        element.setAttribute(QStringLiteral("numRows"), QString::number(item.rows));
        break;
    case Kind::TableSet:
        if (item.column >= 0)
            element.setAttribute(QStringLiteral("col"), QString::number(item.column));
        if (item.row >= 0)
            element.setAttribute(QStringLiteral("row"), QString::number(item.row));
        if (item.setSize > 0)
            element.setAttribute(QStringLiteral("size"), QString::number(item.setSize));
        break;
    case Kind::Text:
    case Kind::CheckBox:
    case Kind::Cell:
    case Kind::Image:
        if (item.resizable)
            element.setAttribute(QStringLiteral("resizable"), QStringLiteral("1"));
        // A cell's width is its columns'.
        if (item.size.width() > 0 && item.kind != Kind::Cell)
            element.setAttribute(QStringLiteral("width"), QString::number(item.size.width()));
        if (item.size.height() > 0)
            element.setAttribute(QStringLiteral("height"), QString::number(item.size.height()));
        break;
    }
    if (item.kind == Kind::Text || item.kind == Kind::CheckBox || item.kind == Kind::Cell) {
        const QString text = ReportTextRules::storableText(item.text);
        if (!text.isEmpty())
            element.appendChild(element.ownerDocument().createTextNode(text));
    }
    if (item.kind == Kind::CheckBox) {
        if (!qFuzzyCompare(item.boxScale, 1.0))
            element.setAttribute(QStringLiteral("boxScale"), QString::number(item.boxScale));
        element.setAttribute(QStringLiteral("boxPosX"), QString::number(item.boxPos.x()));
        element.setAttribute(QStringLiteral("boxPosY"), QString::number(item.boxPos.y()));
        element.setAttribute(
            QStringLiteral("checked"), item.checked ? QStringLiteral("true") : QStringLiteral("false"));
    } else if (item.kind == Kind::Cell) {
        if (item.columnSpan > 1)
            element.setAttribute(QStringLiteral("colspan"), QString::number(item.columnSpan));
        if (item.rowSpan > 1)
            element.setAttribute(QStringLiteral("rowspan"), QString::number(item.rowSpan));
        element.setAttribute(QStringLiteral("col"), QString::number(item.column));
        element.setAttribute(QStringLiteral("row"), QString::number(item.row));
    } else if (item.kind == Kind::Image) {
        element.setAttribute(QStringLiteral("index"), container.count());
        element.setAttribute(QStringLiteral("scale"), QString::number(item.scale));
        container.append(item.suffix, item.data);
    }
    parent.appendChild(element);
    if (!withChildren)
        return;
    for (const auto& child : item.children)
        writeItem(*child, element, container, item.kind != Kind::Table);
}
} // namespace

QByteArray ReportWriter::toXml(const ReportDocument& document, DocumentContainer& container)
{
    QDomDocument xml;
    QDomElement root = xml.createElement(QStringLiteral("document"));
    root.setAttribute(QStringLiteral("resPak"), document.packPath);
    xml.appendChild(root);
    for (const auto& item : document.items)
        writeItem(*item, root, container, true);
    return xml.toByteArray(2);
}
