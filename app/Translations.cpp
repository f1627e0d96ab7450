#include "Translations.h"

#include "LanguageChoice.h"
#include "SettingsKeys.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QSettings>
#include <QTranslator>
#include <memory>

namespace {
std::unique_ptr<QTranslator>& appTranslator()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

std::unique_ptr<QTranslator>& toolkitTranslator()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

void removeInstalled()
{
    for (auto* slot : { &appTranslator(), &toolkitTranslator() }) {
        if (*slot)
            QCoreApplication::removeTranslator(slot->get());
    }
}

// "kestrovan_de.qm" -> de
QLocale catalogueLocale(const QString& file)
{
    QString name = file.mid(file.indexOf(QLatin1Char('_')) + 1);
    name.chop(3);
    return QLocale(name);
}

bool hasLanguage(const QList<QLocale>& catalogues, const QLocale& wanted)
{
    for (const QLocale& catalogue : catalogues) {
        if (catalogue.language() == wanted.language())
            return true;
    }
    return false;
}
} // namespace

QString Translations::defaultFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Translations");
}

void Translations::load(const QString& folder, const QLocale& desktop)
{
    removeInstalled();
    appTranslator().reset();
    toolkitTranslator().reset();

    const QDir dir(folder);
    const QStringList files
        = dir.entryList({ QStringLiteral("kestrovan_*.qm") }, QDir::Files, QDir::Name | QDir::IgnoreCase);
    QList<QLocale> catalogues;
    for (const QString& file : files)
        catalogues.append(catalogueLocale(file));

    QSettings settings;
    QLocale current(QStringLiteral("en"));
    const bool followsSystem
        = settings.value(SettingsKeys::localeFollowsSystem(), SettingsKeys::DefaultLocaleFollowsSystem)
              .toBool();
    if (settings.contains(SettingsKeys::locale()) && !followsSystem) {
        current = QLocale(settings.value(SettingsKeys::locale()).toString());
    } else {
        // A first start follows the desktop: its preferred languages in order, the first one we
        // have a catalogue for; English when there is none. The choice is kept from then on,
        // unless the user asked to follow the desktop at every start.
        QString chosen = QStringLiteral("en");
        for (const QString& wanted : desktop.uiLanguages()) {
            const QLocale locale(wanted);
            if (locale.language() == QLocale::English)
                break;
            if (hasLanguage(catalogues, locale)) {
                chosen = locale.name();
                break;
            }
        }
        current = QLocale(chosen);
        settings.setValue(SettingsKeys::locale(), chosen);
    }

    // Languages are compared, countries are not; when several files match, the last one wins.
    QLocale shown(QLocale::English);
    for (int i = 0; i < files.size(); ++i) {
        const QLocale& fileLocale = catalogues.at(i);
        if (fileLocale.language() != current.language())
            continue;
        const QString code = fileLocale.name().left(2);
        removeInstalled();
        appTranslator() = std::make_unique<QTranslator>();
        appTranslator()->load(QStringLiteral("kestrovan_") + code, dir.absolutePath());
        QCoreApplication::installTranslator(appTranslator().get());
        toolkitTranslator() = std::make_unique<QTranslator>();
        toolkitTranslator()->load(QStringLiteral("qtbase_") + code, dir.absolutePath());
        QCoreApplication::installTranslator(toolkitTranslator().get());
        shown = current;
    }

    // Dates and numbers in the language the user picked; the desktop's when it is followed.
    LanguageChoice::applyDisplayLocale(followsSystem ? QString() : shown.name(), desktop);
}

QTranslator* Translations::applicationTranslator()
{
    return appTranslator().get();
}

QTranslator* Translations::qtTranslator()
{
    return toolkitTranslator().get();
}
