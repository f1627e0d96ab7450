#include "ReportModel.h"

#include <QTextBoundaryFinder>
#include <algorithm>

ReportItem* ReportItem::addChild(std::unique_ptr<ReportItem> child)
{
    child->parent = this;
    children.push_back(std::move(child));
    return children.back().get();
}

ReportItem* ReportItem::cellAt(int atColumn, int atRow) const
{
    if (atColumn < 0 || atRow < 0 || atColumn >= columns || atRow >= rows)
        return nullptr;
    for (const auto& child : children) {
        if (child->kind == Kind::Cell && child->column == atColumn && child->row == atRow)
            return child.get();
    }
    return nullptr;
}

QString ReportTextRules::storableText(const QString& text)
{
    QString result;
    result.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const ushort c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            result += text.at(i);
            result += text.at(++i);
            continue;
        }
        const bool allowed
            = c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c < 0xD800) || (c >= 0xE000 && c <= 0xFFFD);
        if (allowed)
            result += text.at(i);
    }
    return result;
}

int ReportTextRules::visibleLength(const QString& text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

QString ReportTextRules::leftVisible(const QString& text, int count)
{
    // A character takes at least one unit: a text that short has no more characters.
    if (text.size() <= count)
        return text;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int end = 0;
    for (int i = 0; i < count; ++i) {
        const int next = finder.toNextBoundary();
        if (next < 0)
            break;
        end = next;
    }
    return text.left(end);
}

QString reportColourName(const QString& colour)
{
    if (!colour.isEmpty() && !colour.startsWith(QLatin1Char('#')))
        return colour;
    // The hexadecimal forms a colour may take: #rgb, #rrggbb, #aarrggbb, #rrrgggbbb and
    // #rrrrggggbbbb; the alpha of the third is not written.
    const QStringRef digits = colour.midRef(1);
    const bool hex = std::all_of(digits.cbegin(), digits.cend(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            || (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'));
    });
    int width = 0;
    int skip = 0;
    switch (digits.size()) {
    case 3:
        width = 1;
        break;
    case 6:
        width = 2;
        break;
    case 8:
        width = 2;
        skip = 2;
        break;
    case 9:
        width = 3;
        break;
    case 12:
        width = 4;
        break;
    default:
        break;
    }
    if (!hex || width == 0)
        return QStringLiteral("#000000");
    QString name = QStringLiteral("#");
    for (int i = 0; i < 3; ++i) {
        const uint value = digits.mid(skip + i * width, width).toUInt(nullptr, 16);
        const uint byte = width == 1 ? value * 17 : value >> (4 * (width - 2));
        name += QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0'));
    }
    return name;
}
