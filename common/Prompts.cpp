#include "Prompts.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QPushButton>

namespace {
std::unique_ptr<Prompts>& current()
{
    static std::unique_ptr<Prompts> prompts;
    return prompts;
}
} // namespace

Prompts::~Prompts() = default;

Prompts& Prompts::instance()
{
    if (!current())
        current() = std::make_unique<WidgetPrompts>();
    return *current();
}

std::unique_ptr<Prompts> Prompts::install(std::unique_ptr<Prompts> prompts)
{
    std::unique_ptr<Prompts> previous = std::move(current());
    current() = std::move(prompts);
    return previous;
}

QMessageBox::StandardButton Prompts::show(QMessageBox::Icon icon, QWidget* parent, const QString& text,
    const QString& informativeText, QMessageBox::StandardButtons buttons, const QString& title)
{
    MessageRequest request;
    request.parent = parent;
    request.icon = icon;
    request.title = title;
    request.text = text;
    request.informativeText = informativeText;
    request.buttons = buttons;
    return instance().message(request);
}

bool Prompts::askYesNo(QWidget* parent, const QString& text, const QString& informativeText)
{
    return show(QMessageBox::Question, parent, text, informativeText, QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::Yes;
}

QMessageBox::StandardButton WidgetPrompts::message(const MessageRequest& request)
{
    QMessageBox box(request.icon,
        request.title.isEmpty() ? QGuiApplication::applicationDisplayName() : request.title, request.text,
        request.buttons, request.parent);
    box.setInformativeText(request.informativeText);
    if (request.defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(request.defaultButton);
    if (!request.windowIcon.isNull())
        box.setWindowIcon(request.windowIcon);
    for (auto text = request.buttonTexts.cbegin(); text != request.buttonTexts.cend(); ++text) {
        if (QAbstractButton* button = box.button(text.key()))
            button->setText(text.value());
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString WidgetPrompts::existingDirectory(QWidget* parent, const QString& caption, const QString& dir)
{
    return QFileDialog::getExistingDirectory(parent, caption, dir, QFileDialog::ShowDirsOnly);
}

QString WidgetPrompts::openFileName(
    QWidget* parent, const QString& caption, const QString& dir, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString WidgetPrompts::saveFileName(
    QWidget* parent, const QString& caption, const QString& dir, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QString WidgetPrompts::text(
    QWidget* parent, const QString& title, const QString& label, const QString& initial, bool* ok)
{
    return QInputDialog::getText(parent, title, label, QLineEdit::Normal, initial, ok);
}

QColor WidgetPrompts::color(QWidget* parent, const QString& title, const QColor& initial)
{
    return QColorDialog::getColor(initial, parent, title);
}

int WidgetPrompts::execDialog(QDialog* dialog)
{
    return dialog->exec();
}
