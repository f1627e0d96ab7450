#include "ProjectsFolderPrompts.h"

#include "Prompts.h"

#include <QCoreApplication>

void ProjectsFolderPrompts::tellMissing(const QString& missing)
{
    Prompts::show(Prompt::Critical, nullptr,
        QCoreApplication::translate("Error Message", "Could not find the projects root directory: %1")
            .arg(missing),
        QCoreApplication::translate("Error Message", "Please select a new projects root directory."));
}

QString ProjectsFolderPrompts::chooseFolder(const QString& start)
{
    return Prompts::instance().existingDirectory(
        nullptr, QCoreApplication::translate("User prompt", "Select Projects Root Directory"), start);
}

void ProjectsFolderPrompts::tellDefaultTaken()
{
    Prompts::show(Prompt::Information, nullptr,
        QCoreApplication::translate("Informative Message",
            "No projects directory was set. Defaulting to the public documents directory"));
}

bool ProjectsFolderPrompts::confirmCreate(const QString& path)
{
    return Prompts::askYesNo(nullptr,
        QCoreApplication::translate(
            "User prompt", "The path \"%1\" does not exist. Would you like to create it?")
            .arg(path));
}

void ProjectsFolderPrompts::tellNotCreated(const QString& path)
{
    Prompts::show(Prompt::Critical, nullptr,
        QCoreApplication::translate("Error Message", "Error creating \"%1\"").arg(path));
}
