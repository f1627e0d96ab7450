#pragma once

#include <QColor>
#include <QIcon>
#include <QMap>
#include <QMessageBox>
#include <QString>
#include <memory>

class QDialog;
class QWidget;

// Everything of a message box that the program decides.
struct MessageRequest
{
    QWidget* parent = nullptr;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    QString informativeText;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QIcon windowIcon;
    // Texts of the program's own for some of the buttons ("Open Read-Only" on Open, ...).
    QMap<QMessageBox::StandardButton, QString> buttonTexts;
};

// The one way the program asks or tells the user anything modal: message boxes, file and
// folder choosers, input dialogs and its own modal dialogs. The default shows the real Qt
// dialogs; tests install a scripted implementation that answers instead of a person.
class Prompts
{
public:
    virtual ~Prompts();

    virtual QMessageBox::StandardButton message(const MessageRequest& request) = 0;
    virtual QString existingDirectory(QWidget* parent, const QString& caption, const QString& dir) = 0;
    virtual QString openFileName(
        QWidget* parent, const QString& caption, const QString& dir, const QString& filter)
        = 0;
    virtual QString saveFileName(
        QWidget* parent, const QString& caption, const QString& dir, const QString& filter)
        = 0;
    virtual QString text(
        QWidget* parent, const QString& title, const QString& label, const QString& initial, bool* ok)
        = 0;
    virtual QColor color(QWidget* parent, const QString& title, const QColor& initial) = 0;
    // Runs a modal dialog of the program's own (settings, print dialog, ...) and returns its result.
    virtual int execDialog(QDialog* dialog) = 0;

    static Prompts& instance();
    // Replaces the implementation; returns the previous one (tests put it back when done).
    static std::unique_ptr<Prompts> install(std::unique_ptr<Prompts> prompts);

    // Shorthands for the common box shapes.
    static QMessageBox::StandardButton show(QMessageBox::Icon icon, QWidget* parent, const QString& text,
        const QString& informativeText = QString(), QMessageBox::StandardButtons buttons = QMessageBox::Ok,
        const QString& title = QString());
    static bool askYesNo(QWidget* parent, const QString& text, const QString& informativeText = QString());
};

// The real dialogs.
class WidgetPrompts : public Prompts
{
public:
    QMessageBox::StandardButton message(const MessageRequest& request) override;
    QString existingDirectory(QWidget* parent, const QString& caption, const QString& dir) override;
    QString openFileName(
        QWidget* parent, const QString& caption, const QString& dir, const QString& filter) override;
    QString saveFileName(
        QWidget* parent, const QString& caption, const QString& dir, const QString& filter) override;
    QString text(QWidget* parent, const QString& title, const QString& label, const QString& initial,
        bool* ok) override;
    QColor color(QWidget* parent, const QString& title, const QColor& initial) override;
    int execDialog(QDialog* dialog) override;
};
