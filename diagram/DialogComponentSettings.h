#pragma once

#include <QDialog>

class QPlainTextEdit;

// Asks for the text of a component's caption.
class DialogComponentSettings : public QDialog
{
    Q_OBJECT
public:
    explicit DialogComponentSettings(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);

    // Shows the dialog prefilled with text; true and the entered text when the user chose OK.
    static bool ask(const QString& initial, QString* result);

private:
    QPlainTextEdit* m_edit;
};
