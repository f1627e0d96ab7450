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
} // namespace

QString SearchCriteria::nameMask(const QString& typed)
{
    return wrapInStars(typed);
}

QString SearchCriteria::wordMask(const QString& typed)
{
    return typed.isEmpty() ? QString() : wrapInStars(typed);
}
