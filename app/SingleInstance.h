#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

// One Kestrovan per settings store. The first process listens on a local socket whose name
// is derived from its settings file, so two users (or two HOMEs) never meet; a later process
// hands the files it was asked to open to the first one and leaves.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    enum HandOver {
        NoInstance, // nobody listens: this process becomes the instance
        HandedOver, // the running instance took the files
        NotAnswering, // something listens but did not confirm in time
    };

    explicit SingleInstance(const QString& settingsFile, QObject* parent = nullptr);
    ~SingleInstance() override;

    static QString serverNameFor(const QString& settingsFile);
    QString serverName() const { return m_name; }

    // Offers the files (absolute paths; may be empty to just raise the window) to a running
    // instance. One that is still starting (its splash screen) answers once its window is up,
    // so the answer is waited for longer than the connection.
    HandOver handOver(const QStringList& files, int timeoutMs = 20000);
    // Starts listening; a socket left behind by a crashed instance is replaced.
    bool listen();

signals:
    // A later process asked this one to open these files (empty: just come to the front).
    void filesReceived(const QStringList& files);

private:
    void readRequest(QLocalSocket* socket);

    QString m_name;
    QLocalServer* m_server = nullptr;
};
