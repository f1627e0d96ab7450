// The scripted prompts of the widget layer of the test support.
#include "ScriptedPrompts.h"

#include "Folders.h"
#include "ProjectsFolderPrompts.h"
#include "TestSupport.h"

namespace {
ScriptedPrompts* installed = nullptr;
// Unscripted prompts seen outside any test function; they fail the program at its end.
QStringList& strayPrompts()
{
    static QStringList prompts;
    return prompts;
}

// A question the test did not script fails the running test function: an unexpected box must
// never pass unnoticed.
void unscripted(int& counter, const QString& kind, const QString& text)
{
    ++counter;
    const QString what = QStringLiteral("Unscripted %1 prompt: %2").arg(kind, text);
    if (QTest::currentTestFunction())
        QTest::qFail(qPrintable(what), __FILE__, __LINE__);
    else
        strayPrompts().append(what);
}
} // namespace

PromptButton ScriptedPrompts::message(const MessageRequest& request)
{
    Asked a;
    a.kind = QStringLiteral("message");
    a.message = request;
    asked.append(a);
    if (request.checkBoxChecked && !request.checkBoxText.isEmpty() && !checkBoxes.isEmpty())
        *request.checkBoxChecked = checkBoxes.takeFirst();
    runWhileOpen();
    if (!buttons.isEmpty())
        return buttons.takeFirst();
    // A notice with nothing to decide is acknowledged; the test reads it from `asked`.
    if (request.buttons == Prompt::Ok || request.buttons == Prompt::NoButton)
        return Prompt::Ok;
    unscripted(unanswered, a.kind, request.text);
    return UnattendedPrompts::cautiousAnswer(request.buttons);
}

QString ScriptedPrompts::nextPath(
    const QString& kind, QWidget*, const QString& caption, const QString& dir, const QString& filter)
{
    Asked a;
    a.kind = kind;
    a.caption = caption;
    a.dir = dir;
    a.filter = filter;
    asked.append(a);
    runWhileOpen();
    if (!paths.isEmpty())
        return paths.takeFirst();
    unscripted(unanswered, kind, caption);
    return QString();
}

QString ScriptedPrompts::existingDirectory(QWidget* parent, const QString& caption, const QString& dir)
{
    return nextPath(QStringLiteral("directory"), parent, caption, dir, QString());
}

QString ScriptedPrompts::openFileName(
    QWidget* parent, const QString& caption, const QString& dir, const QString& filter)
{
    return nextPath(QStringLiteral("open"), parent, caption, dir, filter);
}

QString ScriptedPrompts::saveFileName(
    QWidget* parent, const QString& caption, const QString& dir, const QString& filter)
{
    return nextPath(QStringLiteral("save"), parent, caption, dir, filter);
}

QString ScriptedPrompts::saveFileAs(QWidget* parent, const QString& caption, const QString& dir,
    const QString& filter, QString* selectedFilter)
{
    const QString chosen = selectedFilters.isEmpty() ? filter.section(QStringLiteral(";;"), 0, 0)
                                                     : selectedFilters.takeFirst();
    if (selectedFilter)
        *selectedFilter = chosen;
    return saveFileName(parent, caption, dir, filter);
}

QString ScriptedPrompts::text(QWidget*, const QString& title, const QString& label, const QString&, bool* ok)
{
    Asked a;
    a.kind = QStringLiteral("text");
    a.caption = title;
    a.filter = label;
    asked.append(a);
    runWhileOpen();
    const bool answered = !texts.isEmpty();
    if (ok)
        *ok = answered;
    if (!answered)
        unscripted(unanswered, a.kind, title);
    return answered ? texts.takeFirst() : QString();
}

QColor ScriptedPrompts::color(QWidget*, const QString& title, const QColor&)
{
    Asked a;
    a.kind = QStringLiteral("color");
    a.caption = title;
    asked.append(a);
    runWhileOpen();
    if (!colors.isEmpty())
        return colors.takeFirst();
    unscripted(unanswered, a.kind, title);
    return QColor();
}

int ScriptedPrompts::execDialog(QDialog* dialog)
{
    Asked a;
    a.kind = QStringLiteral("dialog");
    a.dialogClass = dialogClassName(dialog);
    asked.append(a);
    runWhileOpen();
    if (dialogHandler)
        return dialogHandler(dialog);
    unscripted(unanswered, a.kind, a.dialogClass);
    return 0; // rejected
}

QString ScriptedPrompts::dialogClassName(QDialog*) const
{
    return QString();
}

void ScriptedPrompts::runWhileOpen()
{
    if (!whileOpen)
        return;
    const std::function<void()> hook = std::move(whileOpen);
    whileOpen = nullptr;
    hook();
}

void ScriptedPrompts::reset()
{
    asked.clear();
    buttons.clear();
    paths.clear();
    selectedFilters.clear();
    texts.clear();
    colors.clear();
    checkBoxes.clear();
    dialogHandler = nullptr;
    whileOpen = nullptr;
    unanswered = 0;
}

QStringList ScriptedPrompts::messageTexts() const
{
    QStringList result;
    for (const Asked& a : asked) {
        if (a.kind == QLatin1String("message"))
            result.append(a.message.text);
    }
    return result;
}

ScriptedPrompts& ScriptedPrompts::get()
{
    Q_ASSERT(installed);
    return *installed;
}

void TestSupport::installPrompts(std::unique_ptr<ScriptedPrompts> prompts)
{
    installed = prompts.get();
    Prompts::install(std::move(prompts));
    Folders::setQuestions(std::make_unique<ProjectsFolderPrompts>());
    setLayerHooks([] { installed->reset(); },
        [] {
            for (const QString& stray : strayPrompts())
                qWarning().noquote() << stray;
            return int(strayPrompts().size());
        });
}
