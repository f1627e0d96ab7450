#include "Folders.h"

#include "Brand.h"
#include "KestrovanResources.h"
#include "SettingsKeys.h"
#include "platform/KnownFolders.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {
Folders*& theInstance()
{
    static Folders* folders = nullptr;
    return folders;
}

std::unique_ptr<ProjectsFolderQuestions>& installedQuestions()
{
    static std::unique_ptr<ProjectsFolderQuestions> questions;
    return questions;
}

ProjectsFolderQuestions& questions()
{
    static ProjectsFolderQuestions nobody;
    return installedQuestions() ? *installedQuestions() : nobody;
}
} // namespace

ProjectsFolderQuestions::~ProjectsFolderQuestions() = default;

void ProjectsFolderQuestions::tellMissing(const QString& missing)
{
    qWarning().noquote() << "Projects folder missing:" << missing;
}

QString ProjectsFolderQuestions::chooseFolder(const QString&)
{
    return QString();
}

void ProjectsFolderQuestions::tellDefaultTaken()
{
    qWarning().noquote() << "Projects folder: the default one is taken";
}

bool ProjectsFolderQuestions::confirmCreate(const QString&)
{
    return false;
}

void ProjectsFolderQuestions::tellNotCreated(const QString& path)
{
    qWarning().noquote() << "Projects folder could not be made:" << path;
}

void Folders::setQuestions(std::unique_ptr<ProjectsFolderQuestions> questions)
{
    installedQuestions() = std::move(questions);
}

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
        questions().tellMissing(path);
        browseProjectsFolder(path);
    }
    return m_projectsFolder;
}

void Folders::browseProjectsFolder(const QString& /*current*/)
{
    const QString chosen = questions().chooseFolder(defaultProjectsFolder());
    if (!chosen.isEmpty()) {
        setProjectsFolder(chosen);
        return;
    }
    questions().tellDefaultTaken();
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
        if (!questions().confirmCreate(path))
            return false;
        if (!QDir().mkpath(path)) {
            questions().tellNotCreated(path);
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
