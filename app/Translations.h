#pragma once

#include <QString>

class QTranslator;

// Installs the application's and Qt's translators for the language of the "locale" setting
// from the "Translations" folder beside the program. Each call first removes what an earlier
// call installed, so a restart with a language that has no file gives the English texts.
namespace Translations {
QString defaultFolder();
void load(const QString& folder = defaultFolder());
QTranslator* applicationTranslator();
QTranslator* qtTranslator();
} // namespace Translations
