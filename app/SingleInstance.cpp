#include "SingleInstance.h"

#include "platform/SystemInfo.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

namespace {
// A request is a few lines of UTF-8: "open <path>" for each file, then "end". Anything
// larger than this is not a request from Kestrovan.
constexpr qint64 MaxRequestBytes = 256 * 1024;
const QByteArray OpenPrefix = QByteArrayLiteral("open ");
const QByteArray EndLine = QByteArrayLiteral("end\n");
const QByteArray Acknowledge = QByteArrayLiteral("ok\n");
} // namespace

SingleInstance::SingleInstance(const QString& settingsFile, QObject* parent)
    : QObject(parent)
    , m_name(serverNameFor(settingsFile))
{ }

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverNameFor(const QString& settingsFile)
{
    // Not in the shared temporary folder: there another user could take the name first and
    // receive every path this user opens.
    const QString folder = SystemInfo::privateRuntimeFolder();
    if (folder.isEmpty())
        return QString();
    const QByteArray hash = QCryptographicHash::hash(settingsFile.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStringLiteral("%1/kestrovan-%2").arg(folder, QString::fromLatin1(hash.left(20)));
}

namespace {
bool isOurUser(const QLocalSocket& socket)
{
    return SystemInfo::peerUserId(socket.socketDescriptor()) == SystemInfo::currentUserId();
}
} // namespace

SingleInstance::HandOver SingleInstance::handOver(const QStringList& files, int timeoutMs)
{
    if (m_name.isEmpty())
        return NoInstance;
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(qMin(timeoutMs, 2000)))
        return NoInstance;
    // Someone else listening on the name gets nothing; listen() then takes the name back.
    if (!isOurUser(socket))
        return NoInstance;

    QByteArray request;
    for (const QString& file : files) {
        QByteArray path = file.toUtf8();
        // A path with a line break cannot be a line of the request; such a name is skipped.
        if (path.contains('\n'))
            continue;
        request += OpenPrefix + path + '\n';
    }
    request += EndLine;
    socket.write(request);
    if (!socket.waitForBytesWritten(timeoutMs))
        return NotAnswering;
    QByteArray answer;
    while (!answer.contains('\n')) {
        if (!socket.waitForReadyRead(timeoutMs))
            return NotAnswering;
        answer += socket.readAll();
        if (answer.size() > 64)
            break;
    }
    return answer.startsWith(Acknowledge) ? HandedOver : NotAnswering;
}

bool SingleInstance::listen()
{
    if (m_server)
        return m_server->isListening();
    if (m_name.isEmpty())
        return false;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Ready before anyone can connect.
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    if (!m_server->listen(m_name)) {
        // A process started at the same moment may have just taken the name: it answers.
        QLocalSocket probe;
        probe.connectToServer(m_name);
        if (probe.waitForConnected(500) && isOurUser(probe))
            return false;
        probe.abort();
        // Otherwise whatever holds the name is left over from a process that did not end cleanly.
        QLocalServer::removeServer(m_name);
        if (!m_server->listen(m_name))
            return false;
    }
    return true;
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!isOurUser(*socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        if (socket->bytesAvailable() > 0)
            readRequest(socket);
    }
}

void SingleInstance::setReceiving(bool receiving)
{
    m_receiving = receiving;
    while (m_receiving && !m_pending.isEmpty())
        emit filesReceived(m_pending.takeFirst());
}

void SingleInstance::readRequest(QLocalSocket* socket)
{
    if (socket->property("done").toBool())
        return;
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    if (buffer.size() > MaxRequestBytes) {
        socket->setProperty("done", true);
        socket->abort();
        return;
    }
    if (!(buffer == EndLine || buffer.endsWith('\n' + EndLine))) {
        socket->setProperty("buffer", buffer);
        return;
    }
    socket->setProperty("done", true);
    QStringList files;
    const QList<QByteArray> lines = buffer.split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith(OpenPrefix))
            files << QString::fromUtf8(line.mid(OpenPrefix.size()));
    }
    socket->write(Acknowledge);
    socket->flush();
    if (m_receiving)
        emit filesReceived(files);
    else
        m_pending.append(files);
}
