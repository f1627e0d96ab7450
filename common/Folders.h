#pragma once

#include <QObject>
#include <QString>
#include <memory>

// What settling the projects folder needs from a person, asked in this order: a stored folder is
// missing (tellMissing, then chooseFolder), nothing was chosen (tellDefaultTaken), a folder given
// does not exist (confirmCreate, and tellNotCreated when making it failed). The widget layer asks
// through its dialogs; without it nobody is asked, and every question gets the cautious answer.
class ProjectsFolderQuestions
{
public:
    virtual ~ProjectsFolderQuestions();
    virtual void tellMissing(const QString& missing);
    // The folder chosen instead, offered from `start`; empty when none was chosen.
    virtual QString chooseFolder(const QString& start);
    virtual void tellDefaultTaken();
    virtual bool confirmCreate(const QString& path);
    virtual void tellNotCreated(const QString& path);
};

// The process-wide holder of the projects root folder (what the document browser shows) and
// of the per-machine data folder (favourite templates, the search results file). Each path is
// worked out once and then cached; a restart of the start-up loop recreates the object.
class Folders : public QObject
{
    Q_OBJECT
public:
    static Folders* instance(bool recreate = false);

    // Who is asked about the projects folder, for the whole process; null for nobody.
    static void setQuestions(std::unique_ptr<ProjectsFolderQuestions> questions);

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
