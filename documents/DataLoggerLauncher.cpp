#include "DataLoggerLauncher.h"

#include "Brand.h"
#include "DataLoggerProgram.h"
#include "LoggerHandOver.h"
#include "Prompts.h"
#include "SavedAge.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QUuid>
#include <QWidget>

namespace {
// Loggers whose launcher went away while they ran. They stay alive until they end on their
// own; destroying their QProcess would kill the user's window.
QList<QProcess*>& leftRunning()
{
    // Never freed: a logger may still run when this program ends, and must not be killed then.
    static auto* processes = new QList<QProcess*>;
    return *processes;
}

void leaveRunning(QProcess* logger)
{
    logger->disconnect();
    logger->setParent(nullptr);
    leftRunning().append(logger);
    QObject::connect(logger, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), logger, [logger]() {
        leftRunning().removeAll(logger);
        logger->deleteLater();
    });
}
} // namespace

DataLoggerLauncher::DataLoggerLauncher(QWidget* dialogParent, QObject* parent)
    : QObject(parent)
    , m_dialogParent(dialogParent)
{ }

DataLoggerLauncher::~DataLoggerLauncher()
{
    // Disconnect first: nothing a logger reports from here on may reach a half-destroyed owner.
    const QList<QProcess*> loggers = m_started.keys();
    m_started.clear();
    for (QProcess* logger : loggers) {
        if (logger->state() == QProcess::NotRunning)
            delete logger;
        else
            leaveRunning(logger);
    }
}

bool DataLoggerLauncher::isRunning() const
{
    for (auto it = m_started.constBegin(); it != m_started.constEnd(); ++it) {
        if (it.key()->state() != QProcess::NotRunning)
            return true;
    }
    return false;
}

bool DataLoggerLauncher::start()
{
    const QString program = DataLoggerProgram::path();
    if (!QFileInfo(program).isFile()) {
        Prompts::show(QMessageBox::Warning, m_dialogParent,
            QCoreApplication::translate(
                "Error Message", "Could not find:\n%1.\nPlease try installing the program again")
                .arg(program));
        return false;
    }
    auto* logger = new QProcess(this);
    // The logger is a window of its own: its output goes where ours goes, and it reads nothing
    // from us, so it can outlive this program without a broken pipe.
    logger->setProcessChannelMode(QProcess::ForwardedChannels);
    logger->setStandardInputFile(QProcess::nullDevice());
    connect(logger, &QProcess::errorOccurred, this,
        [this, logger](QProcess::ProcessError error) { processFailed(logger, error); });
    connect(logger, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), this,
        [this, logger]() { processFinished(logger); });
    // Taken before the start, so that a file the logger saves at once still counts as new.
    const Launch launch { QDateTime::currentDateTime(), QUuid::createUuid().toString(QUuid::WithoutBraces) };
    m_started.insert(logger, launch);
    logger->start(program, QStringList { LoggerHandOver::launchKeyArgument(), launch.key });
    // Waits only for the program to be executed, not for the user to finish with it.
    if (!logger->waitForStarted()) {
        // processFailed has told the user.
        return false;
    }
    return true;
}

void DataLoggerLauncher::showStartFailure()
{
    Prompts::show(QMessageBox::Critical, m_dialogParent,
        QCoreApplication::translate("Error Message",
            "%1%2 failed to start. A file may be missing or corrupted. Please install again.")
            .arg(Brand::loggerProgramName(), QString()));
}

void DataLoggerLauncher::processFailed(QProcess* logger, QProcess::ProcessError error)
{
    if (!m_started.contains(logger))
        return;
    showStartFailure();
    // A logger that never ran sends no finished signal; one that crashed still does.
    if (error == QProcess::FailedToStart) {
        m_started.remove(logger);
        logger->deleteLater();
    }
}

void DataLoggerLauncher::processFinished(QProcess* logger)
{
    const auto found = m_started.constFind(logger);
    if (found == m_started.constEnd())
        return;
    const QDateTime started = found.value().started;
    const QString key = found.value().key;
    m_started.remove(logger);
    logger->deleteLater();

    // The shared key names whatever any logger saved last; it is read only for a logger that
    // did not take the key of its own.
    QString path;
    if (!DataLoggerProgram::takeLaunchResult(key, &path))
        path = DataLoggerProgram::lastSavedFilePath();
    if (path.isEmpty())
        return;
    const QFileInfo file(path);
    if (!file.isFile())
        return;
    const QDateTime modified = file.lastModified();
    if (modified <= started)
        return;
    // Another logger may have ended without saving while this file was already offered.
    if (path == m_offeredPath && modified == m_offeredTime)
        return;
    m_offeredPath = path;
    m_offeredTime = modified;
    const QString question = QCoreApplication::translate(
        "User prompt", "Would you like to import the last file you just downloaded?");
    const QString detail = QCoreApplication::translate("User prompt", "File: %1 was saved %2.")
                               .arg(path, savedAgoText(modified));
    if (Prompts::askYesNo(m_dialogParent, question, detail))
        emit fileToImport(path);
}
