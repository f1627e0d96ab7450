#pragma once

#include "Prompts.h"

class QMessageBox;

// The real dialogs. A dialog asked for without a parent of its own belongs to the main
// window.
class WidgetPrompts : public Prompts
{
public:
    PromptButton message(const MessageRequest& request) override;
    QString existingDirectory(QWidget* parent, const QString& caption, const QString& dir) override;
    QString openFileName(
        QWidget* parent, const QString& caption, const QString& dir, const QString& filter) override;
    QString saveFileName(
        QWidget* parent, const QString& caption, const QString& dir, const QString& filter) override;
    QString saveFileAs(QWidget* parent, const QString& caption, const QString& dir, const QString& filter,
        QString* selectedFilter) override;
    QString text(QWidget* parent, const QString& title, const QString& label, const QString& initial,
        bool* ok) override;
    QColor color(QWidget* parent, const QString& title, const QColor& initial) override;
    int execDialog(QDialog* dialog) override;

    // Gives a message box the request's icon, title, texts (always as plain text) and buttons.
    static void prepareBox(QMessageBox& box, const MessageRequest& request);
};
