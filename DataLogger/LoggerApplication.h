#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

class QApplication;

// The logger as a program: its identity, translations, help files and window loop.
namespace LoggerApplication {
// Organisation, application name and version; set before any window or settings exist.
void setIdentity();
// What the process needs before any file is written: a file-size limit makes a write fail with
// the usual message instead of ending the program with the download in memory.
void prepareProcess();
// Takes the launcher's hand-over key from the arguments (everything else is ignored) and
// acknowledges it in the settings store; returns the key, empty when none valid was given.
QString readCommandLine(const QStringList& arguments);
QString handOverKey();
// Folders beside the program.
QString translationsFolder();
QString helpFolder();
// The help page in the locale's language, English when there is none in that language.
QString helpFile(const QLocale& locale, const QString& folder = helpFolder());
// Loads the language chosen in the language dialog, else the one chosen in Kestrovan's
// settings, else the system's where the logger has it. Replaces what an earlier call installed.
void installTranslations(const QString& folder = translationsFolder());
// Shows the window and runs the event loop, again with a new window for as long as the
// window asks for a restart. Always returns 0.
int run(QApplication& app);
} // namespace LoggerApplication
