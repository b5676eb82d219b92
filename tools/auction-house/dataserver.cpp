#include "tools/auction-house/dataserver.h"

#include "session/codec/linecodec.h"
#include "tools/auction-house/peerlinebuffer.h"

#include <QTcpSocket>
#include <memory>

namespace qev {

namespace {
constexpr QByteArrayView kName = "data";
constexpr qsizetype kLineLimit = 65536;

bool IsMessage(QByteArrayView line) {
    return line.size() >= 3 && line[2] == ':' && line[0] >= 'A' && line[0] <= 'Z' && line[1] >= 'A' &&
           line[1] <= 'Z';
}
} // namespace

DataServer::DataServer(const HouseLog& log, int keepAliveSeconds, QObject* parent)
    : QObject(parent)
    , m_log(log) {
    connect(&m_server, &QTcpServer::newConnection, this, &DataServer::Accept);
    m_keepAlive.setInterval(qMax(1, keepAliveSeconds) * 1000);
    connect(&m_keepAlive, &QTimer::timeout, this, &DataServer::TimeKeepAlive);
}

bool DataServer::Listen(const QHostAddress& address, quint16 port) {
    if (!m_server.listen(address, port))
        return false;
    m_keepAlive.start();
    return true;
}

int DataServer::ClientCount() const {
    int n = 0;
    for (const QTcpSocket* s : findChildren<QTcpSocket*>(Qt::FindDirectChildrenOnly))
        n += s->state() == QAbstractSocket::ConnectedState ? 1 : 0;
    return n;
}

void DataServer::Broadcast(const QByteArray& line) {
    for (QTcpSocket* s : findChildren<QTcpSocket*>(Qt::FindDirectChildrenOnly)) {
        if (s->state() != QAbstractSocket::ConnectedState)
            continue;
        Send(*s, line);
    }
}

void DataServer::Send(QTcpSocket& socket, const QByteArray& line) {
    m_log.Sent(kName, socket.property("peer").toInt(), line);
    socket.write(LineScramble(line) + '\r');
}

void DataServer::TimeKeepAlive() {
    SendKeepAlive();
    for (const QByteArray& line : std::as_const(m_standing))
        Broadcast(line);
}

void DataServer::Publish(const QByteArray& key, const QByteArray& line) {
    auto it = m_standing.find(key);
    if (it != m_standing.end() && *it == line)
        return;
    m_standing.insert(key, line);
    Broadcast(line);
}

void DataServer::DropClients() {
    for (QTcpSocket* s : findChildren<QTcpSocket*>(Qt::FindDirectChildrenOnly))
        s->abort();
}

void DataServer::Accept() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        if (findChildren<QTcpSocket*>(Qt::FindDirectChildrenOnly).size() > kMaxClients) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        const int peer = ++m_connections;
        socket->setProperty("peer", peer);
        auto buffer = std::make_shared<PeerLineBuffer>(kLineLimit);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, peer, buffer] {
            QByteArrayList pieces;
            if (!buffer->Feed(socket->readAll(), pieces)) {
                m_log.Note(kName, "#" + QByteArray::number(peer) + " dropped: line over the limit");
                socket->abort();
                return;
            }
            for (const QByteArray& piece : pieces) {
                // Keep-alives travel plain, reports scrambled.
                const QByteArray line = IsMessage(piece) ? piece : LineUnscramble(piece);
                if (line.isEmpty())
                    continue;
                m_received.append(line);
                m_log.Received(kName, peer, line);
            }
        });
        m_log.Note(kName, "#" + QByteArray::number(peer) + " connected");
        for (const QByteArray& line : std::as_const(m_standing))
            Send(*socket, line);
    }
}

} // namespace qev
