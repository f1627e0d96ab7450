#pragma once

#include <QObject>
#include <QString>

// The process-wide holder of the projects root folder (what the document browser shows) and
// of the per-machine data folder (favourite templates, the search results file). Each path is
// worked out once and then cached; a restart of the start-up loop recreates the object.
class Folders : public QObject
{
    Q_OBJECT
public:
    static Folders* instance(bool recreate = false);

    // The projects root; resolved on first call from the settings, asking the user when the
    // folder is missing. Empty when the user gave up.
    QString projectsFolder();
    bool setProjectsFolder(const QString& path);
    void browseProjectsFolder(const QString& current);

    QString defaultProjectsFolder();
    // The form in which a projects folder is asked about and stored: "~" and "~/..." stand for
    // the home folder, a relative path is taken from the home folder (never from wherever the
    // program happened to be started), and the result is absolute and clean.
    static QString normalisedFolderPath(const QString& path);
    // Halvern/Kestrovan Elements in the program data folder; created on first call.
    QString appDataFolder();

    // The favourite template of a file suffix ("%1/default.%2" in the data folder) and the
    // built-in one in the resources.
    QString favouriteTemplatePath(const QString& suffix);
    static QString builtInTemplatePath(const QString& suffix);

signals:
    void projectsFolderChanged(const QString& newFolder);

private:
    Folders() = default;

    QString m_appDataFolder;
    QString m_defaultProjectsFolder;
    QString m_projectsFolder;
};
