#pragma once

#include <QDialog>

class QCheckBox;
class QDialogButtonBox;
class QRadioButton;

// Greets the user at start-up and offers the tutorial, until told not to.
class DialogWelcome : public QDialog
{
    Q_OBJECT
public:
    explicit DialogWelcome(
        QWidget* parent = nullptr, const QString& helpFolder = DialogWelcome::helpFolder());

    // The "Welcome/show" setting (true when absent).
    static bool shouldShow();
    // The tutorial page beside the program in the language of the "locale" setting (English
    // when there is none in it), or empty when the program came without one.
    static QString tutorialPage(const QString& folder = helpFolder());
    static QString helpFolder();

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
    // What "Watch video tutorial now" opens; without it, it is not offered.
    QString m_tutorial;
};
