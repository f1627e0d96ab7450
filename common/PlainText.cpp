#include "PlainText.h"

namespace {
bool isBidiControl(char16_t c)
{
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E)
        || (c >= 0x2066 && c <= 0x2069);
}
} // namespace

QString plainUserText(const QString& text)
{
    QString plain;
    plain.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() != QChar::Other_Control && !isBidiControl(c.unicode()))
            plain.append(c);
    }
    return plain;
}
