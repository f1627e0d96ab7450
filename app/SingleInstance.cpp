#include "SingleInstance.h"

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
    const QByteArray hash = QCryptographicHash::hash(settingsFile.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStringLiteral("kestrovan-%1").arg(QString::fromLatin1(hash.left(20)));
}

SingleInstance::HandOver SingleInstance::handOver(const QStringList& files, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(qMin(timeoutMs, 2000)))
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
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        // Nobody answered handOver(), so whatever holds the name is left over from a process
        // that did not end cleanly.
        QLocalServer::removeServer(m_name);
        if (!m_server->listen(m_name))
            return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
            if (socket->bytesAvailable() > 0)
                readRequest(socket);
        }
    });
    return true;
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
    emit filesReceived(files);
}
