#pragma once

#include "AbstractDocument.h"

// A plain document for tests of the shell: it counts saves and can be told to fail them.
class TestDocument : public AbstractDocument
{
    Q_OBJECT
public:
    explicit TestDocument(const QString& path, QWidget* parent = nullptr);
    int saves = 0;
    bool failSave = false;
    void save() override;
};

namespace TestSupport {
// While the next question is open, the document's file is removed and its tab closed, as the
// folder watcher does when a file vanishes; what the close posts runs before the answer.
void removeFileAndCloseWhileAsked(AbstractDocument* doc);
} // namespace TestSupport
