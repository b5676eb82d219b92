#pragma once

#include "tools/auction-house/houselog.h"

#include <QByteArrayList>
#include <QMap>
#include <QObject>
#include <QTcpServer>
#include <QTimer>

namespace qev {

// The data server: accepts clients, takes their plain "KA:" silently, sends each a scrambled
// "KA:" now and then (the client answers "KR:"), keeps them told of the lanes' standing lines,
// and records every line it receives.
class DataServer final : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxClients = 64;

    DataServer(const HouseLog& log, int keepAliveSeconds, QObject* parent = nullptr);

    bool Listen(const QHostAddress& address, quint16 port);
    quint16 Port() const { return m_server.serverPort(); }
    QString ErrorString() const { return m_server.errorString(); }

    // Sends a scrambled line to every client (the keep-alive timer sends "KA:").
    void Broadcast(const QByteArray& line);
    void SendKeepAlive() { Broadcast(QByteArrayLiteral("KA:")); }
    // Timer handler: the keep-alive, then the standing lines again, so a client that could not
    // place them yet (no lanes before it selects the site) has them within one interval.
    void TimeKeepAlive();
    // Keeps the latest line under a key ("AM0", "NI" ...) and sends it to every client when it
    // changed; a client that connects later gets every standing line at once.
    void Publish(const QByteArray& key, const QByteArray& line);
    QByteArray Standing(const QByteArray& key) const { return m_standing.value(key); }
    // Drops every client at once (tests of the client's reconnect).
    void DropClients();

    // Lines received, plain (scrambled ones unscrambled), in order.
    const QByteArrayList& ReceivedLines() const { return m_received; }
    int ClientCount() const;
    int ConnectionCount() const { return m_connections; }

private:
    void Accept();
    void Send(QTcpSocket& socket, const QByteArray& line);

    const HouseLog& m_log;
    QTcpServer m_server;
    QTimer m_keepAlive;
    QByteArrayList m_received;
    QMap<QByteArray, QByteArray> m_standing;
    int m_connections = 0;
};

} // namespace qev
