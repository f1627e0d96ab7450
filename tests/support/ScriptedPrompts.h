#pragma once

#include "Prompts.h"

#include <QList>
#include <QStringList>
#include <QtTest>
#include <functional>
#include <type_traits>

// Answers every question the program asks, in the order the test queued the answers, and
// records what was asked. A question without a queued answer is counted in `unanswered` and
// gets the cautious answer (Cancel, No, an empty path, a rejected dialog); a test program fails
// at the end of any test function that left a question unanswered.
class ScriptedPrompts : public Prompts
{
public:
    struct Asked
    {
        QString kind; // "message", "directory", "open", "save", "text", "color", "dialog"
        MessageRequest message;
        QString caption;
        QString dir;
        QString filter;
        QString dialogClass;
    };

    QList<Asked> asked;
    QList<PromptButton> buttons;
    QStringList paths;
    // The filter left chosen in the next save choosers; the first filter when none is queued.
    QStringList selectedFilters;
    QStringList texts;
    QList<QColor> colors;
    // States the user leaves a message box's check box in, one per box that has one.
    QList<bool> checkBoxes;
    // Runs a program dialog in place of exec(); its return value is the dialog's result.
    std::function<int(QDialog*)> dialogHandler;
    // Runs once, while the next question is open and before it is answered: what may happen
    // in the world outside while the user looks at a dialog (a file removed, a watcher firing).
    std::function<void()> whileOpen;
    int unanswered = 0;

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

    void reset();
    QStringList messageTexts() const;
    // The scripted prompts installed for this test program.
    static ScriptedPrompts& get();

protected:
    // The class name of a dialog run through execDialog(); known only where widgets are.
    virtual QString dialogClassName(QDialog* dialog) const;

private:
    void runWhileOpen();
    QString nextPath(const QString& kind, QWidget* parent, const QString& caption, const QString& dir,
        const QString& filter);
};

// A prompt's icon or buttons compare with either spelling of the value (Prompt::Yes or
// QMessageBox::Yes).
namespace QTest {
template <typename Kind, typename Enum, typename = std::enable_if_t<std::is_enum<Enum>::value>>
bool qCompare(const Prompt::Code<Kind>& actual, Enum expected, const char* actualText,
    const char* expectedText, const char* file, int line)
{
    return qCompare(int(actual), int(expected), actualText, expectedText, file, line);
}
template <typename Kind, typename Enum>
bool qCompare(const Prompt::Code<Kind>& actual, QFlags<Enum> expected, const char* actualText,
    const char* expectedText, const char* file, int line)
{
    return qCompare(int(actual), int(expected), actualText, expectedText, file, line);
}
} // namespace QTest

namespace TestSupport {
// Makes these the scripted prompts of the test program.
void installPrompts(std::unique_ptr<ScriptedPrompts> prompts);
} // namespace TestSupport
