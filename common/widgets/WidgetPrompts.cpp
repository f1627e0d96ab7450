#include "WidgetPrompts.h"

#include "MainWindowRef.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace {
// Dialogs asked for without a parent of their own belong to the main window.
QWidget* owner(QWidget* parent)
{
    return parent ? parent : currentMainWindow();
}
} // namespace

PromptButton WidgetPrompts::message(const MessageRequest& request)
{
    QMessageBox box(static_cast<QMessageBox::Icon>(int(request.icon)),
        request.title.isEmpty() ? QGuiApplication::applicationDisplayName() : request.title, request.text,
        QMessageBox::StandardButtons(QFlag(int(request.buttons))), owner(request.parent));
    box.setInformativeText(request.informativeText);
    if (request.defaultButton != Prompt::NoButton)
        box.setDefaultButton(static_cast<QMessageBox::StandardButton>(int(request.defaultButton)));
    if (!request.windowIcon.isNull())
        box.setWindowIcon(request.windowIcon);
    // The box is shown with the normal pointer even while a wait cursor is up.
    const bool waiting = QGuiApplication::overrideCursor() != nullptr;
    if (waiting)
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = box.exec();
    if (waiting)
        QGuiApplication::restoreOverrideCursor();
    return answer;
}

QString WidgetPrompts::existingDirectory(QWidget* parent, const QString& caption, const QString& dir)
{
    return QFileDialog::getExistingDirectory(owner(parent), caption, dir, QFileDialog::ShowDirsOnly);
}

QString WidgetPrompts::openFileName(
    QWidget* parent, const QString& caption, const QString& dir, const QString& filter)
{
    return QFileDialog::getOpenFileName(owner(parent), caption, dir, filter);
}

QString WidgetPrompts::saveFileName(
    QWidget* parent, const QString& caption, const QString& dir, const QString& filter)
{
    return QFileDialog::getSaveFileName(owner(parent), caption, dir, filter);
}

QString WidgetPrompts::text(
    QWidget* parent, const QString& title, const QString& label, const QString& initial, bool* ok)
{
    return QInputDialog::getText(owner(parent), title, label, QLineEdit::Normal, initial, ok);
}

QColor WidgetPrompts::color(QWidget* parent, const QString& title, const QColor& initial)
{
    return QColorDialog::getColor(initial, owner(parent), title);
}

int WidgetPrompts::execDialog(QDialog* dialog)
{
    return dialog->exec();
}
