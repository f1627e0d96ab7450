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
