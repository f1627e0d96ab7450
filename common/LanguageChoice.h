#pragma once

#include <QLocale>
#include <QString>

class QSettings;

// The language of the user interface as the user chose it in Kestrovan's settings (the keys are
// in SettingsKeys.h). The data logger follows the same choice, so this lives below both programs.
namespace LanguageChoice {
// Kestrovan's own settings store, as the logger opens it.
QString storeOrganisation();
QString storeApplication();

// The language explicitly kept in a Kestrovan store: a locale name, or empty when the desktop's
// language is followed (or nothing has been chosen yet).
QString explicitLanguage(const QSettings& kestrovanStore);

// Where dates and numbers are shown for a chosen language: the desktop's own locale when that
// speaks the language (or none is chosen), else the language's main country.
QLocale displayLocale(const QString& chosen, const QLocale& desktop);
// Makes that the default locale. Files keep their own formats: what is stored uses the C locale.
void applyDisplayLocale(const QString& chosen, const QLocale& desktop = QLocale::system());
} // namespace LanguageChoice
