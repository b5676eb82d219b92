#pragma once

#include <QByteArray>
#include <QList>
#include <QTcpSocket>
#include <functional>

namespace qev {

// A bare client of a lane router for tests: plain QTcpSocket, lines through the codec.
class LaneClient {
public:
    LaneClient();

    bool Connect(quint16 port, int timeoutMs = 5000);
    bool Connected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }
    // Waits until the router closed the connection.
    bool WaitClosed(int timeoutMs = 5000);
    void SendLine(const QByteArray& plain);
    void SendRaw(const QByteArray& bytes);
    // "NM:" with the enciphered member ID, as a client greets its router.
    void Identify(const QByteArray& member);
    // "BD:" as a client bids, with the enciphered member ID.
    void SendBid(const QByteArray& member, int site, int exhibit, int price);

    // Waits for the next line (unscrambled) that matches; empty when none came in time.
    QByteArray WaitLine(const std::function<bool(const QByteArray&)>& match, int timeoutMs = 5000);
    QByteArray WaitCode(const char* code, int timeoutMs = 5000);
    // Handles what has arrived so far.
    void Pump();

    // Every piece received (still scrambled), and every piece unscrambled in order.
    QList<QByteArray> pieces;
    QList<QByteArray> lines;

private:
    QTcpSocket m_socket;
    QByteArray m_buffer;
    qsizetype m_seen = 0;
};

} // namespace qev
