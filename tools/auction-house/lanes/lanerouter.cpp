#include "tools/auction-house/lanes/lanerouter.h"

#include "session/codec/linecodec.h"
#include "tools/auction-house/lanes/lanefeed.h"
#include "tools/auction-house/lanes/routerconnection.h"
#include "tools/auction-house/lanes/routerfaults.h"

#include <QTcpSocket>

namespace qev {

LaneRouter::LaneRouter(RouterKind kind, LaneFeed& feed, BidRecorder* recorder, QObject* parent)
    : QObject(parent)
    , m_kind(kind)
    , m_feed(feed)
    , m_recorder(recorder)
    , m_faults(new RouterFaults(*this)) {
    m_server.setMaxPendingConnections(kMaxClients);
    connect(&m_server, &QTcpServer::newConnection, this, &LaneRouter::OnNewConnection);
    connect(&feed, &LaneFeed::lineReady, this, [this](const QByteArray& line) { m_faults->Route(line); });
}

LaneRouter::~LaneRouter() {
    Close();
}

bool LaneRouter::Listen(const QHostAddress& address, quint16 port) {
    return m_server.listen(address, port);
}

void LaneRouter::Close() {
    m_server.close();
    DropAll();
}

bool LaneRouter::OnLoopback() const {
    return m_server.isListening() && m_server.serverAddress().isLoopback();
}

int LaneRouter::Lane() const {
    return m_feed.Lane();
}

QList<QPointer<RouterConnection>> LaneRouter::Live() const {
    QList<QPointer<RouterConnection>> out;
    for (const QPointer<RouterConnection>& connection : m_connections) {
        if (connection)
            out.append(connection);
    }
    return out;
}

int LaneRouter::ClientCount() const {
    return static_cast<int>(Live().size());
}

int LaneRouter::IdentifiedCount() const {
    int count = 0;
    for (const auto& connection : Live())
        count += connection->Identified() ? 1 : 0;
    return count;
}

QList<QByteArray> LaneRouter::Members() const {
    QList<QByteArray> out;
    for (const auto& connection : Live()) {
        if (connection->Identified())
            out.append(connection->Member());
    }
    return out;
}

void LaneRouter::OnNewConnection() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        m_connections.removeAll(nullptr);
        if (m_faults->Refusing() || ClientCount() >= kMaxClients) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto* connection = new RouterConnection(socket, *this);
        m_connections.append(connection);
        if (!m_faults->Stalled())
            connection->Greet();
    }
}

void LaneRouter::Deliver(const QByteArray& line) {
    // One scramble for all clients; each scrambled piece stands alone.
    DeliverRaw(LineScramble(line) + '\r');
}

void LaneRouter::DeliverRaw(const QByteArray& bytes) {
    ++m_delivered;
    for (const auto& connection : Live()) {
        if (connection && connection->Identified())
            connection->Write(bytes);
    }
}

void LaneRouter::DropAll() {
    for (const auto& connection : Live()) {
        if (connection)
            connection->Abort();
    }
    m_connections.removeAll(nullptr);
}

void LaneRouter::Resume() {
    for (const auto& connection : Live()) {
        if (connection)
            connection->Greet();
        if (connection)
            connection->ReadPending();
    }
}

void LaneRouter::SendSnapshot(RouterConnection& connection) {
    for (const QByteArray& line : m_feed.Snapshot())
        connection.SendLine(line);
}

} // namespace qev
