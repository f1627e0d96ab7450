#include "TestSupport.h"

#include "Desktop.h"
#include "Folders.h"
#include "KestrovanResources.h"
#include "Startup.h"

#include <QDialog>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdlib>

namespace {
QTemporaryDir*& homeDir()
{
    static QTemporaryDir* dir = nullptr;
    return dir;
}

bool& desktopSucceeds()
{
    static bool succeeds = true;
    return succeeds;
}

ScriptedPrompts* installed = nullptr;
} // namespace

QMessageBox::StandardButton ScriptedPrompts::message(const MessageRequest& request)
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
    if (request.buttons == QMessageBox::Ok || request.buttons == QMessageBox::NoButton)
        return QMessageBox::Ok;
    ++unanswered;
    if (request.buttons & QMessageBox::Cancel)
        return QMessageBox::Cancel;
    if (request.buttons & QMessageBox::No)
        return QMessageBox::No;
    return QMessageBox::NoButton;
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
    ++unanswered;
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

QString ScriptedPrompts::text(QWidget*, const QString& title, const QString& label, const QString&, bool* ok)
{
    Asked a;
    a.kind = QStringLiteral("text");
    a.caption = title;
    a.filter = label;
    asked.append(a);
    const bool answered = !texts.isEmpty();
    if (ok)
        *ok = answered;
    if (!answered)
        ++unanswered;
    return answered ? texts.takeFirst() : QString();
}

QColor ScriptedPrompts::color(QWidget*, const QString& title, const QColor&)
{
    Asked a;
    a.kind = QStringLiteral("color");
    a.caption = title;
    asked.append(a);
    if (!colors.isEmpty())
        return colors.takeFirst();
    ++unanswered;
    return QColor();
}

int ScriptedPrompts::execDialog(QDialog* dialog)
{
    Asked a;
    a.kind = QStringLiteral("dialog");
    a.dialogClass = QString::fromLatin1(dialog->metaObject()->className());
    asked.append(a);
    runWhileOpen();
    if (dialogHandler)
        return dialogHandler(dialog);
    ++unanswered;
    return QDialog::Rejected;
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

TestDocument::TestDocument(const QString& path, QWidget* parent)
    : AbstractDocument(path, parent)
{
    setValid(true);
}

void TestDocument::save()
{
    ++saves;
    if (!failSave)
        setModified(false);
}

void TestSupport::prepareEnvironment()
{
    homeDir() = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/kestrovan-test-XXXXXX"));
    std::atexit([]() {
        delete homeDir();
        homeDir() = nullptr;
    });
    const QString home = homeDir()->path();
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/.config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home + QStringLiteral("/.local/share")).toUtf8());
    qputenv("XDG_CACHE_HOME", (home + QStringLiteral("/.cache")).toUtf8());
    qunsetenv("XDG_CONFIG_DIRS");
    qunsetenv("XDG_DATA_DIRS");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void TestSupport::initApplication()
{
    setApplicationIdentity();
    initKestrovanResources();
    qRegisterMetaType<AbstractDocument*>("AbstractDocument*");
    registerDocumentKinds();
    auto prompts = std::make_unique<ScriptedPrompts>();
    installed = prompts.get();
    Prompts::install(std::move(prompts));
    Desktop::setUrlHandler([](const QUrl& url) {
        openedUrls().append(url);
        return desktopSucceeds();
    });
}

void TestSupport::resetState()
{
    QSettings().clear();
    QSettings().sync();
    QDir(Folders::instance()->appDataFolder()).removeRecursively();
    Folders::instance(true);
    ScriptedPrompts::get().reset();
    openedUrls().clear();
    desktopSucceeds() = true;
}

QString TestSupport::homeFolder()
{
    return homeDir()->path();
}

QList<QUrl>& TestSupport::openedUrls()
{
    static QList<QUrl> urls;
    return urls;
}

void TestSupport::setDesktopSucceeds(bool succeeds)
{
    desktopSucceeds() = succeeds;
}

QString TestSupport::binaryFolder()
{
    return QStringLiteral(KESTROVAN_BIN_DIR);
}

QString TestSupport::dataFolder()
{
    return QStringLiteral(KESTROVAN_TEST_DATA_DIR);
}
