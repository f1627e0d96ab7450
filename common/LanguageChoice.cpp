#include "LanguageChoice.h"

#include "Brand.h"
#include "SettingsKeys.h"

#include <QSettings>

QString LanguageChoice::storeOrganisation()
{
    return Brand::organisationName();
}

QString LanguageChoice::storeApplication()
{
    return Brand::applicationName();
}

QString LanguageChoice::explicitLanguage(const QSettings& kestrovanStore)
{
    if (kestrovanStore.value(SettingsKeys::localeFollowsSystem(), SettingsKeys::DefaultLocaleFollowsSystem)
            .toBool())
        return QString();
    return kestrovanStore.value(SettingsKeys::locale()).toString();
}

QLocale LanguageChoice::displayLocale(const QString& chosen, const QLocale& desktop)
{
    if (chosen.isEmpty())
        return desktop;
    const QLocale language(chosen);
    // A name Qt does not know gives the C locale: nothing to show differently.
    if (language.language() == QLocale::C || language.language() == desktop.language())
        return desktop;
    return language;
}

void LanguageChoice::applyDisplayLocale(const QString& chosen, const QLocale& desktop)
{
    // Left alone until a choice has been applied: nothing else sets the default in the programs,
    // and a language switched back to the desktop's undoes what an earlier pass set.
    static bool applied = false;
    if (chosen.isEmpty() && !applied)
        return;
    applied = true;
    QLocale::setDefault(displayLocale(chosen, desktop));
}
