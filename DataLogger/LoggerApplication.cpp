#include "LoggerApplication.h"

#include "HvGui/MainWindow.h"
#include "LanguageChoice.h"
#include "LoggerHandOver.h"
#include "LoggerSettings.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QSettings>
#include <QTranslator>
#include <csignal>
#include <memory>
#include <vector>

namespace {
QString& launchKey()
{
    static QString key;
    return key;
}

std::vector<std::unique_ptr<QTranslator>>& installed()
{
    static std::vector<std::unique_ptr<QTranslator>> translators;
    return translators;
}

bool load(const QString& file)
{
    auto translator = std::make_unique<QTranslator>();
    if (!QFileInfo(file).isFile() || !translator->load(file)
        || !QCoreApplication::installTranslator(translator.get()))
        return false;
    installed().push_back(std::move(translator));
    return true;
}
} // namespace

void LoggerApplication::setIdentity()
{
    QCoreApplication::setOrganizationName(LoggerHandOver::organisationName());
    QCoreApplication::setOrganizationDomain(QStringLiteral("halvern.example"));
    QCoreApplication::setApplicationName(LoggerHandOver::applicationName());
    QCoreApplication::setApplicationVersion(QStringLiteral("3.0"));
    // The desktop entry's id: docks and task bars match our windows to its name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("halvern-datalogger"));
}

void LoggerApplication::prepareProcess()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

QString LoggerApplication::readCommandLine(const QStringList& arguments)
{
    launchKey().clear();
    const int at = arguments.indexOf(LoggerHandOver::launchKeyArgument());
    if (at < 1 || at + 1 >= arguments.size() || !LoggerHandOver::isValidLaunchKey(arguments.at(at + 1)))
        return QString();
    launchKey() = arguments.at(at + 1);
    QSettings(LoggerHandOver::organisationName(), LoggerHandOver::applicationName())
        .setValue(LoggerHandOver::launchKey(launchKey()), QString());
    return launchKey();
}

QString LoggerApplication::handOverKey()
{
    return launchKey();
}

QString LoggerApplication::translationsFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Translations");
}

QString LoggerApplication::helpFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Help");
}

QString LoggerApplication::helpFile(const QLocale& locale, const QString& folder)
{
    const QString pattern = folder + QStringLiteral("/HalvernDataLoggerHelp_%1.html");
    const QString own = pattern.arg(locale.name().left(2));
    return QFileInfo(own).isFile() ? own : pattern.arg(QStringLiteral("en"));
}

void LoggerApplication::installTranslations(const QString& folder)
{
    for (auto& translator : installed())
        QCoreApplication::removeTranslator(translator.get());
    installed().clear();

    const QSettings settings;
    QString file = settings.value(LoggerSettings::languageFilePath()).toString();
    // The language the user chose, empty for the desktop's.
    QString chosen = settings.value(LoggerSettings::languageCode()).toString();
    if (file.isEmpty() || !QFileInfo(file).isFile()) {
        // Without a choice of its own the logger speaks the language chosen in Kestrovan's
        // settings, and the desktop's when none is.
        const QSettings kestrovan(LanguageChoice::storeOrganisation(), LanguageChoice::storeApplication());
        chosen = LanguageChoice::explicitLanguage(kestrovan);
        file = QStringLiteral("%1/halverndatalogger_%2.qm")
                   .arg(folder, (chosen.isEmpty() ? QLocale::system() : QLocale(chosen)).name().left(2));
    }
    const bool loaded = load(file);
    // Dates and numbers in the chosen language (English when there is no catalogue for it).
    LanguageChoice::applyDisplayLocale(chosen.isEmpty() || loaded ? chosen : QStringLiteral("en"));
    const QString code = (chosen.isEmpty() ? QLocale::system() : QLocale(chosen)).name().left(2);
    // The toolkit's own texts (standard buttons, file dialogs) in the same language.
    for (const QString& qtFolder : { folder, QLibraryInfo::location(QLibraryInfo::TranslationsPath) }) {
        const QString qt = QStringLiteral("%1/qtbase_%2.qm").arg(qtFolder, code);
        if (QFileInfo(qt).isFile()) {
            load(qt);
            break;
        }
    }
}

int LoggerApplication::run(QApplication& app)
{
    for (;;) {
        installTranslations();
        bool restart = false;
        {
            HvGui::MainWindow window;
            window.show();
            app.exec();
            restart = window.restartRequested();
        }
        if (!restart)
            break;
    }
    return 0;
}
