#include "SearchCriteria.h"

namespace {
QString wrapInStars(QString text)
{
    const QChar star(QLatin1Char('*'));
    if (!text.endsWith(star))
        text.append(star);
    if (!text.startsWith(star))
        text.prepend(star);
    return text;
}

// The mask as a regular expression of the same meaning; sets only where sets is true.
QString maskToExpression(const QString& mask, bool sets)
{
    QString expression;
    for (int i = 0; i < mask.size(); ++i) {
        const QChar c = mask.at(i);
        if (c == QLatin1Char('*')) {
            expression += QLatin1String(".*");
        } else if (c == QLatin1Char('?')) {
            expression += QLatin1Char('.');
        } else if (c == QLatin1Char('[') && sets) {
            // A set holds at least one character; a "]" right after the opening (or after "^")
            // is one of them.
            int end = i + 1;
            if (end < mask.size() && mask.at(end) == QLatin1Char('^'))
                ++end;
            end = mask.indexOf(QLatin1Char(']'), end + 1);
            if (end < 0) {
                expression += QRegExp::escape(c);
                continue;
            }
            expression += QLatin1Char('[');
            for (int j = i + 1; j < end; ++j) {
                const QChar member = mask.at(j);
                if (member == QLatin1Char('\\') || member == QLatin1Char('[') || member == QLatin1Char(']'))
                    expression += QLatin1Char('\\');
                expression += member;
            }
            expression += QLatin1Char(']');
            i = end;
        } else {
            expression += QRegExp::escape(c);
        }
    }
    return expression;
}
} // namespace

QString SearchCriteria::nameMask(const QString& typed)
{
    return wrapInStars(typed);
}

QString SearchCriteria::wordMask(const QString& typed)
{
    return typed.isEmpty() ? QString() : wrapInStars(typed);
}

QRegExp SearchCriteria::maskExpression(const QString& mask, Qt::CaseSensitivity caseSensitivity)
{
    // Qt's wildcard syntax refuses a bracket that opens or closes no set, and makes a backslash
    // match nothing at all: such a mask would find nothing, whatever the names.
    QRegExp wildcard(mask, caseSensitivity, QRegExp::Wildcard);
    if (wildcard.isValid() && !mask.contains(QLatin1Char('\\')))
        return wildcard;
    QRegExp withSets(maskToExpression(mask, true), caseSensitivity, QRegExp::RegExp2);
    if (withSets.isValid())
        return withSets;
    return QRegExp(maskToExpression(mask, false), caseSensitivity, QRegExp::RegExp2);
}
