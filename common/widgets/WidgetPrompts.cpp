#include "WidgetPrompts.h"

#include "MainWindowRef.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

// The seam's codes are handed to QMessageBox as they are.
static_assert(int(Prompt::NoIcon) == QMessageBox::NoIcon
    && int(Prompt::Information) == QMessageBox::Information && int(Prompt::Warning) == QMessageBox::Warning
    && int(Prompt::Critical) == QMessageBox::Critical && int(Prompt::Question) == QMessageBox::Question);
static_assert(int(Prompt::NoButton) == QMessageBox::NoButton && int(Prompt::Ok) == QMessageBox::Ok
    && int(Prompt::Save) == QMessageBox::Save && int(Prompt::SaveAll) == QMessageBox::SaveAll
    && int(Prompt::Open) == QMessageBox::Open && int(Prompt::Yes) == QMessageBox::Yes
    && int(Prompt::YesToAll) == QMessageBox::YesToAll && int(Prompt::No) == QMessageBox::No
    && int(Prompt::NoToAll) == QMessageBox::NoToAll && int(Prompt::Abort) == QMessageBox::Abort
    && int(Prompt::Retry) == QMessageBox::Retry && int(Prompt::Ignore) == QMessageBox::Ignore
    && int(Prompt::Close) == QMessageBox::Close && int(Prompt::Cancel) == QMessageBox::Cancel
    && int(Prompt::Discard) == QMessageBox::Discard && int(Prompt::Help) == QMessageBox::Help
    && int(Prompt::Apply) == QMessageBox::Apply && int(Prompt::Reset) == QMessageBox::Reset
    && int(Prompt::RestoreDefaults) == QMessageBox::RestoreDefaults);

namespace {
// Dialogs asked for without a parent of their own belong to the main window.
QWidget* owner(QWidget* parent)
{
    return parent ? parent : currentMainWindow();
}
} // namespace

void WidgetPrompts::prepareBox(QMessageBox& box, const MessageRequest& request)
{
    box.setIcon(static_cast<QMessageBox::Icon>(int(request.icon)));
    box.setWindowTitle(request.title.isEmpty() ? QGuiApplication::applicationDisplayName() : request.title);
    // Messages carry names from files and other people (lock owners, labels, paths): a "<" in
    // them must not make Qt take the text for HTML.
    box.setTextFormat(Qt::PlainText);
    box.setText(request.text);
    box.setStandardButtons(QMessageBox::StandardButtons(QFlag(int(request.buttons))));
    box.setInformativeText(request.informativeText);
    if (auto* informative = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel")))
        informative->setTextFormat(Qt::PlainText);
    if (request.defaultButton != Prompt::NoButton)
        box.setDefaultButton(static_cast<QMessageBox::StandardButton>(int(request.defaultButton)));
    if (!request.windowIcon.isNull())
        box.setWindowIcon(request.windowIcon);
    for (auto text = request.buttonTexts.cbegin(); text != request.buttonTexts.cend(); ++text) {
        if (QAbstractButton* button = box.button(static_cast<QMessageBox::StandardButton>(text.key())))
            button->setText(text.value());
    }
}

PromptButton WidgetPrompts::message(const MessageRequest& request)
{
    QMessageBox box(owner(request.parent));
    prepareBox(box, request);
    QCheckBox* checkBox = nullptr;
    if (!request.checkBoxText.isEmpty() && request.checkBoxChecked) {
        checkBox = new QCheckBox(request.checkBoxText, &box);
        checkBox->setChecked(*request.checkBoxChecked);
        box.setCheckBox(checkBox);
    }
    // The box is shown with the normal pointer even while a wait cursor is up.
    const bool waiting = QGuiApplication::overrideCursor() != nullptr;
    if (waiting)
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = box.exec();
    if (waiting)
        QGuiApplication::restoreOverrideCursor();
    if (checkBox)
        *request.checkBoxChecked = checkBox->isChecked();
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

QString WidgetPrompts::saveFileAs(QWidget* parent, const QString& caption, const QString& dir,
    const QString& filter, QString* selectedFilter)
{
    return QFileDialog::getSaveFileName(owner(parent), caption, dir, filter, selectedFilter);
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
