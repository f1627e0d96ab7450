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

std::function<void()>& layerReset()
{
    static std::function<void()> reset;
    return reset;
}

std::function<int()>& layerFinish()
{
    static std::function<int()> finish;
    return finish;
}
} // namespace

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

void TestSupport::initApplication()
{
    QCoreApplication::setOrganizationName(Brand::organisationName());
    QCoreApplication::setOrganizationDomain(Brand::organisationDomain());
    QCoreApplication::setApplicationName(Brand::applicationName());
    QCoreApplication::setApplicationVersion(Brand::applicationVersion());
    initKestrovanResources();
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
    if (layerReset())
        layerReset()();
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
    return failed + (layerFinish() ? layerFinish()() : 0);
}

void TestSupport::setLayerHooks(std::function<void()> reset, std::function<int()> finish)
{
    layerReset() = std::move(reset);
    layerFinish() = std::move(finish);
}
