#pragma once

#include "AbstractDocument.h"
#include "Prompts.h"

#include <QApplication>
#include <QList>
#include <QStringList>
#include <QUrl>
#include <QtTest>
#include <functional>

// Answers every question the program asks, in the order the test queued the answers, and
// records what was asked. A question without a queued answer is counted in `unanswered` and
// gets the cautious answer (Cancel, No, an empty path, a rejected dialog).
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
    QList<QMessageBox::StandardButton> buttons;
    QStringList paths;
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

    void reset();
    QStringList messageTexts() const;
    // The scripted prompts installed for this test program.
    static ScriptedPrompts& get();

private:
    void runWhileOpen();
    QString nextPath(const QString& kind, QWidget* parent, const QString& caption, const QString& dir,
        const QString& filter);
};

// A plain document for tests of the shell: it counts saves and can be told to fail them.
class TestDocument : public AbstractDocument
{
    Q_OBJECT
public:
    explicit TestDocument(const QString& path, QWidget* parent = nullptr);
    int saves = 0;
    bool failSave = false;
    void save() override;
};

namespace TestSupport {
// Gives the test program a fresh HOME and XDG folders, before the application object exists.
void prepareEnvironment();
// Application identity, resources, scripted prompts and a desktop that opens nothing.
void initApplication();
// Empties the settings store and recreates Folders, between test cases.
void resetState();
QString homeFolder();
// Web addresses and files handed to the desktop since the last resetState().
QList<QUrl>& openedUrls();
// When false, the desktop reports that it could not open anything.
void setDesktopSucceeds(bool succeeds);
// Folder of the built programs (bin/) and of the tests' data files.
QString binaryFolder();
QString dataFolder();
} // namespace TestSupport

#define KESTROVAN_TEST_MAIN(TestClass)                                                                       \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        TestSupport::prepareEnvironment();                                                                   \
        QApplication app(argc, argv);                                                                        \
        TestSupport::initApplication();                                                                      \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
