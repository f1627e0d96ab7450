// Stands in for the data logger in tests: "downloads" by writing the file named in
// KESTROVAN_FAKE_LOGGER_FILE, leaves its path in the logger's settings store as the real
// logger does, and exits. With KESTROVAN_FAKE_LOGGER_CRASH set it crashes instead. With
// KESTROVAN_FAKE_LOGGER_WAIT_FOR set to a path it first stays open (as a user's logger window
// does) until that file exists, or for a minute at most.
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
    const QString waitFor = qEnvironmentVariable("KESTROVAN_FAKE_LOGGER_WAIT_FOR");
    if (!waitFor.isEmpty()) {
        QElapsedTimer timer;
        timer.start();
        while (!QFile::exists(waitFor) && timer.elapsed() < 60000)
            QThread::msleep(10);
    }
    const QString path = qEnvironmentVariable("KESTROVAN_FAKE_LOGGER_FILE");
    if (!path.isEmpty() && !qEnvironmentVariableIsSet("KESTROVAN_FAKE_LOGGER_KEEP_FILE")) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write("PV Tester Results,SN 1\nIndex,TestType,IVCurve\n1,2,0,ABCD\n");
    }
    QSettings settings(LoggerHandOver::organisationName(), LoggerHandOver::applicationName());
    settings.setValue(LoggerHandOver::lastSavedFilePathKey(), path);
    return 0;
}
