#include "TestSupport.h"

#include "Brand.h"
#include "Desktop.h"
#include "Folders.h"
#include "KestrovanResources.h"

#include <QDir>
#include <QFile>
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
    // The single-instance socket of programs the tests start lives here, never in the user's.
    const QString runtime = home + QStringLiteral("/.runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
    qunsetenv("XDG_CONFIG_DIRS");
    qunsetenv("XDG_DATA_DIRS");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void TestSupport::installPrompts(std::unique_ptr<ScriptedPrompts> prompts)
{
    installed = prompts.get();
    Prompts::install(std::move(prompts));
}

void TestSupport::initApplication()
{
    QCoreApplication::setOrganizationName(Brand::organisationName());
    QCoreApplication::setOrganizationDomain(Brand::organisationDomain());
    QCoreApplication::setApplicationName(Brand::applicationName());
    QCoreApplication::setApplicationVersion(Brand::applicationVersion());
    initKestrovanResources();
    installPrompts(std::make_unique<ScriptedPrompts>());
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

int TestSupport::exec(QObject* test, int argc, char** argv)
{
    const int failed = QTest::qExec(test, argc, argv);
    for (const QString& stray : strayPrompts())
        qWarning().noquote() << stray;
    return failed + strayPrompts().size();
}
