#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

// One Kestrovan per settings store. The first process listens on a local socket in a folder
// only its user can reach, named from its settings file so two HOMEs never meet; a later
// process hands the files it was asked to open to the first one and leaves. Both ends refuse a
// peer of another user.
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

    // The socket's full path; empty when no private folder can be had (then this process runs
    // on its own: it neither hands over nor listens).
    static QString serverNameFor(const QString& settingsFile);
    QString serverName() const { return m_name; }

    // Offers the files (absolute paths; may be empty to just raise the window) to a running
    // instance. One that is still starting (its splash screen) answers once its event loop runs,
    // so the answer is waited for longer than the connection.
    HandOver handOver(const QStringList& files, int timeoutMs = 20000);
    // Starts listening; a socket left behind by a crashed instance is replaced. False when
    // another instance took the name meanwhile (two starts at once) or none can be had.
    bool listen();

    // Until the program has a window to open them in, received files are taken (the later
    // process may leave) and kept; they are signalled once receiving is switched on.
    void setReceiving(bool receiving);
    bool isReceiving() const { return m_receiving; }

signals:
    // A later process asked this one to open these files (empty: just come to the front).
    void filesReceived(const QStringList& files);

private:
    void acceptConnections();
    void readRequest(QLocalSocket* socket);

    QString m_name;
    QLocalServer* m_server = nullptr;
    bool m_receiving = false;
    QList<QStringList> m_pending;
};
