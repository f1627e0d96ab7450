#pragma once

#include "Prompts.h"

// Answers every question without a window, so that the fuzzers run headless and never block.
class SilentPrompts : public UnattendedPrompts
{
public:
    PromptButton message(const MessageRequest&) override { return Prompt::Ok; }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        return QString();
    }
    int execDialog(QDialog*) override { return 0; }
};
