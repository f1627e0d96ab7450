#pragma once

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QProcess>

class QWidget;

// Starts the companion data-logger program and hands back what it downloaded. Every logger
// started here gets its own hand-over key and keeps its own start time, so each one offers only
// the file it saved itself when it ends, however many run at once (from here or elsewhere). The owner (the
// main window, a report, a curve document) connects fileToImport to the results import.
//
// When the launcher goes away while a logger still runs, the logger is the user's window: it is
// left running, and nothing is asked or shown for it any more.
class DataLoggerLauncher : public QObject
{
    Q_OBJECT
public:
    explicit DataLoggerLauncher(QWidget* dialogParent, QObject* parent = nullptr);
    ~DataLoggerLauncher() override;

    // Starts the logger; on failure shows the failure message through Prompts and returns false.
    bool start();
    bool isRunning() const;

signals:
    // A logger started here finished, and the user agreed to import the file it saved.
    void fileToImport(const QString& path);

private:
    void processFailed(QProcess* logger, QProcess::ProcessError error);
    void processFinished(QProcess* logger);
    void showStartFailure();

    QPointer<QWidget> m_dialogParent;
    struct Launch
    {
        QDateTime started;
        // Given to the logger on its command line; it leaves the path it saved under it.
        QString key;
    };
    // The running loggers, each with its start time and hand-over key.
    QHash<QProcess*, Launch> m_started;
    // The file last offered, with its time, so that one download is offered once only.
    QString m_offeredPath;
    QDateTime m_offeredTime;
};
