#pragma once

#include <QLocale>
#include <QString>

class QTranslator;

// Installs the application's and Qt's translators for the language of the "locale" setting
// from the "Translations" folder beside the program. Each call first removes what an earlier
// call installed, so a restart with a language that has no file gives the English texts.
// Without a "locale" setting (a first start), or at every start when the user chose to follow
// the desktop, the desktop's language is taken when there is a catalogue for it, English
// otherwise, and written back as the setting. A language the user chose also sets the default
// locale, so that dates and numbers are shown in it.
namespace Translations {
QString defaultFolder();
void load(const QString& folder = defaultFolder(), const QLocale& desktop = QLocale::system());
QTranslator* applicationTranslator();
QTranslator* qtTranslator();
} // namespace Translations
