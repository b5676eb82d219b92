#pragma once

#include "tools/auction-house/houseconfig.h"
#include "tools/auction-house/housedirectory.h"
#include "tools/auction-house/houselog.h"

#include <QByteArrayList>
#include <QObject>
#include <QTcpServer>

namespace qev {

// The sign-in server: greets every connection with "ST:0", answers "LI:" by the account's
// configured outcome (the session's messages ending in "SV:", a refusal code, or silence), and
// records every line it receives ("LI:", "QV:", "LO:") deciphered.
class SignInServer final : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxClients = 64;

    SignInServer(const HouseConfig& config, const HouseDirectory& directory, const HouseLog& log,
                 QObject* parent = nullptr);

    bool Listen(const QHostAddress& address, quint16 port);
    // Stops accepting connections (a house that went away); open connections stay.
    void Close() { m_server.close(); }
    quint16 Port() const { return m_server.serverPort(); }
    QString ErrorString() const { return m_server.errorString(); }

    struct Received {
        int peer;
        QByteArray line;
    };
    const QList<Received>& ReceivedLines() const { return m_received; }
    // The received lines with the given code ("LO" ...), in order.
    QByteArrayList LinesWithCode(QByteArrayView code) const;
    int ConnectionCount() const { return m_connections; }

private:
    void Accept();
    void HandleLine(QTcpSocket& socket, int peer, const QByteArray& line);
    void Send(QTcpSocket& socket, int peer, const QByteArray& line);

    const HouseConfig& m_config;
    const HouseDirectory& m_directory;
    const HouseLog& m_log;
    QTcpServer m_server;
    QList<Received> m_received;
    int m_connections = 0;
};

} // namespace qev
