#pragma once

#include <QColor>
#include <QFlags>
#include <QIcon>
#include <QMap>
#include <QString>
#include <memory>

class QDialog;
class QWidget;

// The icons and buttons of a message box. The values are QMessageBox's own, so the widget layer
// hands them on unchanged and code that already shows widgets may keep writing QMessageBox::Yes;
// code that shows no box of its own writes Prompt::Yes.
namespace Prompt {
enum Icon { NoIcon = 0, Information = 1, Warning = 2, Critical = 3, Question = 4 };
enum Button {
    NoButton = 0x00000000,
    Ok = 0x00000400,
    Save = 0x00000800,
    SaveAll = 0x00001000,
    Open = 0x00002000,
    Yes = 0x00004000,
    YesToAll = 0x00008000,
    No = 0x00010000,
    NoToAll = 0x00020000,
    Abort = 0x00040000,
    Retry = 0x00080000,
    Ignore = 0x00100000,
    Close = 0x00200000,
    Cancel = 0x00400000,
    Discard = 0x00800000,
    Help = 0x01000000,
    Apply = 0x02000000,
    Reset = 0x04000000,
    RestoreDefaults = 0x08000000
};

// An icon, a button or a set of buttons as a plain value that either spelling converts to.
template <typename Kind> class Code
{
public:
    constexpr Code(int value = 0)
        : m_value(value)
    { }
    template <typename Enum>
    constexpr Code(QFlags<Enum> flags)
        : m_value(int(flags))
    { }
    constexpr operator int() const { return m_value; }

private:
    int m_value;
};
} // namespace Prompt

using PromptIcon = Prompt::Code<struct PromptIconKind>;
using PromptButton = Prompt::Code<struct PromptButtonKind>;
using PromptButtons = Prompt::Code<struct PromptButtonsKind>;

// Everything of a message box that the program decides.
struct MessageRequest
{
    // Null means the main window, when there is one.
    QWidget* parent = nullptr;
    PromptIcon icon = Prompt::NoIcon;
    QString title;
    QString text;
    QString informativeText;
    PromptButtons buttons = Prompt::Ok;
    PromptButton defaultButton = Prompt::NoButton;
    QIcon windowIcon;
    // A check box under the text ("Continue showing errors ..."): shown when the text is set;
    // its state is read from and written back to *checkBoxChecked.
    QString checkBoxText;
    bool* checkBoxChecked = nullptr;
    // Texts of the program's own for some of the buttons ("Open Read-Only" on Open, ...).
    QMap<int, QString> buttonTexts;
};

// The one way the program asks or tells the user anything modal: message boxes, file and
// folder choosers, input dialogs and its own modal dialogs. A program with windows installs the
// real Qt dialogs at start (WidgetPrompts); tests install a scripted implementation that answers
// instead of a person. Installing one also settles the projects folder through it. The layers
// without widgets never ask: they return what they found, and the layer that called them asks.
class Prompts
{
public:
    virtual ~Prompts();

    virtual PromptButton message(const MessageRequest& request) = 0;
    virtual QString existingDirectory(QWidget* parent, const QString& caption, const QString& dir) = 0;
    virtual QString openFileName(
        QWidget* parent, const QString& caption, const QString& dir, const QString& filter)
        = 0;
    virtual QString saveFileName(
        QWidget* parent, const QString& caption, const QString& dir, const QString& filter)
        = 0;
    // A save chooser that also says which of the filters the user left chosen (the first one
    // unless an implementation knows better), for callers that add its suffix.
    virtual QString saveFileAs(QWidget* parent, const QString& caption, const QString& dir,
        const QString& filter, QString* selectedFilter);
    virtual QString text(
        QWidget* parent, const QString& title, const QString& label, const QString& initial, bool* ok)
        = 0;
    virtual QColor color(QWidget* parent, const QString& title, const QColor& initial) = 0;
    // Runs a modal dialog of the program's own (settings, print dialog, ...) and returns its result.
    virtual int execDialog(QDialog* dialog) = 0;

    // The installed implementation; UnattendedPrompts until a program installs another.
    static Prompts& instance();
    // Replaces the implementation; returns the previous one (tests put it back when done).
    static std::unique_ptr<Prompts> install(std::unique_ptr<Prompts> prompts);

    // Shorthands for the common box shapes.
    static PromptButton show(PromptIcon icon, QWidget* parent, const QString& text,
        const QString& informativeText = QString(), PromptButtons buttons = Prompt::Ok,
        const QString& title = QString());
    static bool askYesNo(QWidget* parent, const QString& text, const QString& informativeText = QString());
};

// For programs without windows (tools, benchmarks, fuzzers): every question goes to the log and
// gets the cautious answer (Cancel, No, an empty path, a rejected dialog).
class UnattendedPrompts : public Prompts
{
public:
    PromptButton message(const MessageRequest& request) override;
    QString existingDirectory(QWidget* parent, const QString& caption, const QString& dir) override;
    QString openFileName(
        QWidget* parent, const QString& caption, const QString& dir, const QString& filter) override;
    QString saveFileName(
        QWidget* parent, const QString& caption, const QString& dir, const QString& filter) override;
    QString text(QWidget* parent, const QString& title, const QString& label, const QString& initial,
        bool* ok) override;
    QColor color(QWidget* parent, const QString& title, const QColor& initial) override;
    int execDialog(QDialog* dialog) override;

    // The answer a person who does not want anything to happen would give.
    static PromptButton cautiousAnswer(PromptButtons buttons);
};
