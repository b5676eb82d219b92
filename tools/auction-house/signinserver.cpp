#include "tools/auction-house/signinserver.h"

#include "common/clock.h"
#include "session/codec/linecodec.h"
#include "tools/auction-house/peerlinebuffer.h"
#include "tools/auction-house/signinreplies.h"

#include <QTcpSocket>
#include <memory>

namespace qev {

namespace {
constexpr QByteArrayView kName = "signin";
constexpr qsizetype kLineLimit = 65536;
} // namespace

SignInServer::SignInServer(const HouseConfig& config, const HouseDirectory& directory, const HouseLog& log,
                           QObject* parent)
    : QObject(parent)
    , m_config(config)
    , m_directory(directory)
    , m_log(log) {
    connect(&m_server, &QTcpServer::newConnection, this, &SignInServer::Accept);
}

bool SignInServer::Listen(const QHostAddress& address, quint16 port) {
    m_server.setMaxPendingConnections(kMaxClients);
    return m_server.listen(address, port);
}

QByteArrayList SignInServer::LinesWithCode(QByteArrayView code) const {
    QByteArrayList out;
    for (const Received& r : m_received) {
        if (r.line.startsWith(code) && r.line.size() > code.size() && r.line[code.size()] == ':')
            out.append(r.line);
    }
    return out;
}

void SignInServer::Accept() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        if (findChildren<QTcpSocket*>(Qt::FindDirectChildrenOnly).size() > kMaxClients) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        const int peer = ++m_connections;
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
                for (const QByteArray& line : LineDecipher(piece).split('\r')) {
                    if (!line.trimmed().isEmpty())
                        HandleLine(*socket, peer, line.trimmed());
                    if (socket->state() != QAbstractSocket::ConnectedState)
                        return;
                }
            }
        });
        m_log.Note(kName, "#" + QByteArray::number(peer) + " connected");
        Send(*socket, peer, QByteArrayLiteral("ST:0"));
    }
}

void SignInServer::HandleLine(QTcpSocket& socket, int peer, const QByteArray& line) {
    m_received.append({peer, line});
    m_log.Received(kName, peer, line);
    const QByteArrayList fields = line.mid(3).split(',');
    const auto field = [&fields](int i) { return i < fields.size() ? fields[i] : QByteArray(); };
    if (line.startsWith("QV:") || line.startsWith("LO:")) {
        m_log.Note(kName, "#" + QByteArray::number(peer) + ' ' + line.left(2) +
                              " id=" + LineDecipher(field(0)) + " computer=" + LineDecipher(field(2)) +
                              " token=" + LineUnscramble(field(3)));
    }
    if (!line.startsWith("LI:"))
        return;
    const QByteArray id = LineDecipher(field(2));
    const QByteArray password = LineDecipher(field(3));
    // The identifying values, deciphered, so the log can be read; the password is not shown.
    m_log.Note(kName, "#" + QByteArray::number(peer) + " LI id=" + id + " serial=" + LineDecipher(field(0)) +
                          " computer=" + LineDecipher(field(1)) + " version=" + field(4) +
                          " token=" + LineUnscramble(field(6)) + " client=" + LineDecipher(field(7)) +
                          " system=" + LineDecipher(field(8)));
    const HouseAccount* account = m_config.FindAccount(id);
    if (!account || account->password != password) {
        Send(socket, peer, QByteArrayLiteral("ST:101"));
        socket.disconnectFromHost();
        return;
    }
    switch (account->outcome) {
    case HouseAccount::Outcome::Silent:
        m_log.Note(kName, "#" + QByteArray::number(peer) + " stays silent for " + id);
        return;
    case HouseAccount::Outcome::Refuse:
        Send(socket, peer, SignInReplies::Refusal(*account));
        socket.disconnectFromHost();
        return;
    case HouseAccount::Outcome::Accept:
        break;
    }
    const qint64 now = Clock::current().nowMs();
    Send(socket, peer, SignInReplies::ServerTime(now));
    Send(socket, peer, SignInReplies::Announcement(m_config));
    Send(socket, peer, SignInReplies::SignedIn(m_config, *account, now));
    Send(socket, peer, SignInReplies::ClientParams(m_config));
    Send(socket, peer, SignInReplies::Appearance(m_config));
    Send(socket, peer, SignInReplies::ServerInformation(m_directory));
}

void SignInServer::Send(QTcpSocket& socket, int peer, const QByteArray& line) {
    m_log.Sent(kName, peer, line);
    socket.write(LineCipher(line) + '\r');
}

} // namespace qev
