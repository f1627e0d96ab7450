// Stands in for the data logger in tests: "downloads" by writing the file named in
// KESTROVAN_FAKE_LOGGER_FILE, leaves its path in the logger's settings store as the real
// logger does, and exits. With KESTROVAN_FAKE_LOGGER_CRASH set it crashes instead. With
// KESTROVAN_FAKE_LOGGER_WAIT_FOR set to a path it first stays open (as a user's logger window
// does) until that file exists, or for a minute at most. Given "--hand-over-key KEY" it takes
// the key as the real logger does (acknowledged at start, the saved path under it), unless
// KESTROVAN_FAKE_LOGGER_OLD is set, which makes it a logger that knows only the shared key.
// Without KESTROVAN_FAKE_LOGGER_FILE it saves nothing and leaves the store alone; with
// KESTROVAN_FAKE_LOGGER_KEEP_FILE it hands over the file as the test left it.
#include "LoggerHandOver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QThread>
#include <cstdlib>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("KESTROVAN_FAKE_LOGGER_CRASH"))
        std::abort();
    QSettings settings(LoggerHandOver::organisationName(), LoggerHandOver::applicationName());
    const QStringList arguments = app.arguments();
    const int keyAt = arguments.indexOf(LoggerHandOver::launchKeyArgument());
    QString key;
    if (keyAt > 0 && keyAt + 1 < arguments.size()
        && !qEnvironmentVariableIsSet("KESTROVAN_FAKE_LOGGER_OLD")) {
        key = arguments.at(keyAt + 1);
        settings.setValue(LoggerHandOver::launchKey(key), QString());
        settings.sync();
    }
    const QString waitFor = qEnvironmentVariable("KESTROVAN_FAKE_LOGGER_WAIT_FOR");
    if (!waitFor.isEmpty()) {
        QElapsedTimer timer;
        timer.start();
        while (!QFile::exists(waitFor) && timer.elapsed() < 60000)
            QThread::msleep(10);
    }
    const QString path = qEnvironmentVariable("KESTROVAN_FAKE_LOGGER_FILE");
    if (path.isEmpty())
        return 0;
    if (!qEnvironmentVariableIsSet("KESTROVAN_FAKE_LOGGER_KEEP_FILE")) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write("PV Tester Results,SN 1\nIndex,TestType,IVCurve\n1,2,0,ABCD\n");
    }
    settings.setValue(LoggerHandOver::lastSavedFilePathKey(), path);
    if (!key.isEmpty())
        settings.setValue(LoggerHandOver::launchKey(key), path);
    return 0;
}
