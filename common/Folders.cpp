#include "Folders.h"

#include "Brand.h"
#include "KestrovanResources.h"
#include "Prompts.h"
#include "SettingsKeys.h"
#include "platform/KnownFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {
Folders*& theInstance()
{
    static Folders* folders = nullptr;
    return folders;
}
} // namespace

Folders* Folders::instance(bool recreate)
{
    Folders*& folders = theInstance();
    if (recreate) {
        delete folders;
        folders = nullptr;
    }
    if (!folders)
        folders = new Folders;
    return folders;
}

QString Folders::projectsFolder()
{
    if (!m_projectsFolder.isEmpty())
        return m_projectsFolder;
    QString path = normalisedFolderPath(QSettings().value(SettingsKeys::rootDir()).toString());
    if (path.isEmpty()) {
        // First start: no installer made the shared projects folder, so it is made here.
        path = defaultProjectsFolder();
        QDir().mkpath(path);
    }
    if (QFileInfo(path).isDir()) {
        setProjectsFolder(path);
    } else {
        Prompts::show(Prompt::Critical, nullptr,
            QCoreApplication::translate("Error Message", "Could not find the projects root directory: %1")
                .arg(path),
            QCoreApplication::translate("Error Message", "Please select a new projects root directory."));
        browseProjectsFolder(path);
    }
    return m_projectsFolder;
}

void Folders::browseProjectsFolder(const QString& /*current*/)
{
    const QString chosen = Prompts::instance().existingDirectory(nullptr,
        QCoreApplication::translate("User prompt", "Select Projects Root Directory"),
        defaultProjectsFolder());
    if (!chosen.isEmpty()) {
        setProjectsFolder(chosen);
        return;
    }
    Prompts::show(Prompt::Information, nullptr,
        QCoreApplication::translate("Informative Message",
            "No projects directory was set. Defaulting to the public documents directory"));
    const QString fallback = defaultProjectsFolder();
    QDir().mkpath(fallback);
    setProjectsFolder(fallback);
}

QString Folders::normalisedFolderPath(const QString& typed)
{
    QString path = typed.trimmed();
    if (path.isEmpty())
        return QString();
    const QString home = QDir::homePath();
    if (path == QLatin1String("~"))
        path = home;
    else if (path.startsWith(QLatin1String("~/")))
        path = home + path.mid(1);
    if (QDir::isRelativePath(path))
        path = QDir(home).filePath(path);
    return QDir::cleanPath(path);
}

bool Folders::setProjectsFolder(const QString& typed)
{
    const QString path = normalisedFolderPath(typed);
    if (path.isEmpty())
        return false;
    if (!QFileInfo(path).isDir()) {
        if (!Prompts::askYesNo(nullptr,
                QCoreApplication::translate(
                    "User prompt", "The path \"%1\" does not exist. Would you like to create it?")
                    .arg(path)))
            return false;
        if (!QDir().mkpath(path)) {
            Prompts::show(Prompt::Critical, nullptr,
                QCoreApplication::translate("Error Message", "Error creating \"%1\"").arg(path));
            return false;
        }
    }
    QSettings().setValue(SettingsKeys::rootDir(), path);
    m_projectsFolder = path;
    emit projectsFolderChanged(path);
    return true;
}

QString Folders::defaultProjectsFolder()
{
    if (m_defaultProjectsFolder.isEmpty())
        m_defaultProjectsFolder = QStringLiteral("%1/%2").arg(
            knownFolderPath(KnownFolder::PublicDocuments), Brand::sharedProjectsFolderName());
    return m_defaultProjectsFolder;
}

QString Folders::appDataFolder()
{
    if (m_appDataFolder.isEmpty()) {
        const QString brandFolder = QStringLiteral("%1/%2").arg(
            QCoreApplication::organizationName(), QCoreApplication::applicationName());
        m_appDataFolder = QStringLiteral("%1/%2").arg(knownFolderPath(KnownFolder::ProgramData), brandFolder);
        QDir().mkpath(m_appDataFolder);
    }
    return m_appDataFolder;
}

QString Folders::favouriteTemplatePath(const QString& suffix)
{
    return QStringLiteral("%1/default.%2").arg(appDataFolder(), suffix);
}

QString Folders::builtInTemplatePath(const QString& suffix)
{
    initKestrovanResources();
    return QStringLiteral(":res/%1/default.%2").arg(Brand::templateFolderName(), suffix);
}
