#pragma once

#include <QDialog>

// The brand picture with the version beneath it.
class DialogAbout : public QDialog
{
    Q_OBJECT
public:
    explicit DialogAbout(QWidget* parent = nullptr);
};
