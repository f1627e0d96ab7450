#pragma once

#include <QDialog>

class QCheckBox;
class QDialogButtonBox;
class QRadioButton;

// Greets the user at start-up and offers the video tutorial, until told not to.
class DialogWelcome : public QDialog
{
    Q_OBJECT
public:
    explicit DialogWelcome(QWidget* parent = nullptr);

    // The "Welcome/show" setting (true when absent).
    static bool shouldShow();

public slots:
    int exec() override;
    void accept() override;

private slots:
    void radioPressed();

private:
    QRadioButton* m_watchVideo;
    QRadioButton* m_useApp;
    QDialogButtonBox* m_buttonBox;
    QCheckBox* m_hideInFuture;
};
