#include "Translations.h"

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
} // namespace

QString Translations::defaultFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Translations");
}

void Translations::load(const QString& folder)
{
    removeInstalled();
    appTranslator().reset();
    toolkitTranslator().reset();

    const QDir dir(folder);
    const QStringList files
        = dir.entryList({ QStringLiteral("kestrovan_*.qm") }, QDir::Files, QDir::Name | QDir::IgnoreCase);
    QSettings settings;
    QLocale current(QStringLiteral("en"));
    if (settings.contains(QStringLiteral("locale")))
        current = QLocale(settings.value(QStringLiteral("locale")).toString());
    else
        settings.setValue(QStringLiteral("locale"), QStringLiteral("en"));

    // Languages are compared, countries are not; when several files match, the last one wins.
    for (const QString& file : files) {
        QString name = file.mid(file.indexOf(QLatin1Char('_')) + 1);
        name.chop(3);
        const QLocale fileLocale(name);
        if (fileLocale.language() != current.language())
            continue;
        const QString code = fileLocale.name().left(2);
        removeInstalled();
        appTranslator() = std::make_unique<QTranslator>();
        appTranslator()->load(QStringLiteral("kestrovan_") + code, dir.absolutePath());
        QCoreApplication::installTranslator(appTranslator().get());
        toolkitTranslator() = std::make_unique<QTranslator>();
        toolkitTranslator()->load(QStringLiteral("qt_") + code, dir.absolutePath());
        QCoreApplication::installTranslator(toolkitTranslator().get());
    }
}

QTranslator* Translations::applicationTranslator()
{
    return appTranslator().get();
}

QTranslator* Translations::qtTranslator()
{
    return toolkitTranslator().get();
}
