#pragma once

#include "tools/auction-house/lanes/routerkind.h"

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTcpServer>

namespace qev {

class BidRecorder;
class LaneFeed;
class RouterConnection;
class RouterFaults;

// A lane router: greets each client with "ST:0", expects its "NM:" line, then sends it the
// lane's lines (a catch-up snapshot first). "KA:" is taken silently. A bidding router passes
// "BD:" to the lane and records "BD:" and "CF:"; a watch router records them as refused.
class LaneRouter final : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxClients = 64;

    LaneRouter(RouterKind kind, LaneFeed& feed, BidRecorder* recorder, QObject* parent = nullptr);
    ~LaneRouter() override;

    // Listens on loopback by default; port 0 picks a free one.
    bool Listen(const QHostAddress& address = QHostAddress(QHostAddress::LocalHost), quint16 port = 0);
    void Close();
    quint16 Port() const { return m_server.serverPort(); }
    QHostAddress Address() const { return m_server.serverAddress(); }
    bool OnLoopback() const;

    RouterKind Kind() const { return m_kind; }
    int Lane() const;
    LaneFeed& Feed() { return m_feed; }
    BidRecorder* Recorder() { return m_recorder; }
    RouterFaults& Faults() { return *m_faults; }

    int ClientCount() const;
    int IdentifiedCount() const;
    QList<QByteArray> Members() const;
    qint64 LinesDelivered() const { return m_delivered; }

    // Sends a plain line to every identified client now.
    void Deliver(const QByteArray& line);
    // Sends bytes as they are to every identified client.
    void DeliverRaw(const QByteArray& bytes);
    void DropAll();
    // The stall is over: greet whoever waited and read what arrived.
    void Resume();
    void SendSnapshot(RouterConnection& connection);

private:
    void OnNewConnection();
    QList<QPointer<RouterConnection>> Live() const;

    RouterKind m_kind;
    LaneFeed& m_feed;
    BidRecorder* m_recorder;
    QTcpServer m_server;
    RouterFaults* m_faults; // child of this
    QList<QPointer<RouterConnection>> m_connections;
    qint64 m_delivered = 0;
};

} // namespace qev
