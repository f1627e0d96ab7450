#pragma once

#include "Folders.h"

// Settles the projects folder with the user, through whichever prompts are installed.
class ProjectsFolderPrompts : public ProjectsFolderQuestions
{
public:
    void tellMissing(const QString& missing) override;
    QString chooseFolder(const QString& start) override;
    void tellDefaultTaken() override;
    bool confirmCreate(const QString& path) override;
    void tellNotCreated(const QString& path) override;
};
