#include "Prompts.h"

#include <QDebug>

namespace {
std::unique_ptr<Prompts>& current()
{
    static std::unique_ptr<Prompts> prompts;
    return prompts;
}
} // namespace

Prompts::~Prompts() = default;

QString Prompts::saveFileAs(QWidget* parent, const QString& caption, const QString& dir,
    const QString& filter, QString* selectedFilter)
{
    if (selectedFilter)
        *selectedFilter = filter.section(QStringLiteral(";;"), 0, 0);
    return saveFileName(parent, caption, dir, filter);
}

Prompts& Prompts::instance()
{
    if (!current())
        current() = std::make_unique<UnattendedPrompts>();
    return *current();
}

std::unique_ptr<Prompts> Prompts::install(std::unique_ptr<Prompts> prompts)
{
    std::unique_ptr<Prompts> previous = std::move(current());
    current() = std::move(prompts);
    return previous;
}

PromptButton Prompts::show(PromptIcon icon, QWidget* parent, const QString& text,
    const QString& informativeText, PromptButtons buttons, const QString& title)
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
    return show(Prompt::Question, parent, text, informativeText, Prompt::Yes | Prompt::No) == Prompt::Yes;
}

PromptButton UnattendedPrompts::cautiousAnswer(PromptButtons buttons)
{
    if (buttons == Prompt::Ok || buttons == Prompt::NoButton)
        return Prompt::Ok;
    if (buttons & Prompt::Cancel)
        return Prompt::Cancel;
    if (buttons & Prompt::No)
        return Prompt::No;
    return Prompt::NoButton;
}

PromptButton UnattendedPrompts::message(const MessageRequest& request)
{
    qWarning().noquote() << request.text << request.informativeText;
    return cautiousAnswer(request.buttons);
}

QString UnattendedPrompts::existingDirectory(QWidget*, const QString& caption, const QString&)
{
    qWarning().noquote() << caption;
    return QString();
}

QString UnattendedPrompts::openFileName(QWidget*, const QString& caption, const QString&, const QString&)
{
    qWarning().noquote() << caption;
    return QString();
}

QString UnattendedPrompts::saveFileName(QWidget*, const QString& caption, const QString&, const QString&)
{
    qWarning().noquote() << caption;
    return QString();
}

QString UnattendedPrompts::text(
    QWidget*, const QString& title, const QString& label, const QString&, bool* ok)
{
    qWarning().noquote() << title << label;
    if (ok)
        *ok = false;
    return QString();
}

QColor UnattendedPrompts::color(QWidget*, const QString& title, const QColor&)
{
    qWarning().noquote() << title;
    return QColor();
}

int UnattendedPrompts::execDialog(QDialog*)
{
    return 0;
}
