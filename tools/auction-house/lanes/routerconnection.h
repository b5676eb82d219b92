#pragma once

#include "tools/auction-house/lanes/clientlinereader.h"

#include <QObject>
#include <QTcpSocket>

namespace qev {

class LaneRouter;

// One client of a lane router: greets it, reads its lines, writes the lane to it.
class RouterConnection final : public QObject {
    Q_OBJECT
public:
    // A client that does not read is cut off once this much waits to be written.
    static constexpr qint64 kMaxPendingWrite = 16 * 1024 * 1024;
    static constexpr qint64 kReadChunk = 64 * 1024;

    RouterConnection(QTcpSocket* socket, LaneRouter& router);

    void Greet();
    bool Greeted() const { return m_greeted; }
    bool Identified() const { return m_identified; }
    const QByteArray& Member() const { return m_member; }
    // Writes bytes as they are (already scrambled and ended by CR, or deliberately broken).
    void Write(const QByteArray& bytes);
    void SendLine(const QByteArray& plain);
    // Handles what arrived, unless the router is stalled.
    void ReadPending();
    void Abort();

private:
    void Handle(const ClientMessage& message);
    void HandleGreeting(const QByteArray& payload);
    void HandleBid(const QByteArray& payload);
    void HandleConfirmation(const QByteArray& payload);

    QTcpSocket* m_socket; // child of this
    LaneRouter& m_router;
    ClientLineReader m_reader;
    QByteArray m_member;
    bool m_greeted = false;
    bool m_identified = false;
    bool m_closing = false;
};

} // namespace qev
