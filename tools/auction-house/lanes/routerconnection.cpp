#include "tools/auction-house/lanes/routerconnection.h"

#include "common/clock.h"
#include "session/codec/linecodec.h"
#include "tools/auction-house/lanes/bidrecorder.h"
#include "tools/auction-house/lanes/lanefeed.h"
#include "tools/auction-house/lanes/lanerouter.h"
#include "tools/auction-house/lanes/routerfaults.h"
#include "tools/auction-house/lanes/wirefields.h"

namespace qev {

RouterConnection::RouterConnection(QTcpSocket* socket, LaneRouter& router)
    : QObject(&router)
    , m_socket(socket)
    , m_router(router) {
    m_socket->setParent(this);
    // Keeps a flooding client's bytes in the kernel instead of our memory.
    m_socket->setReadBufferSize(kReadChunk);
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(m_socket, &QTcpSocket::readyRead, this, &RouterConnection::ReadPending);
    connect(m_socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this] {
        if (m_socket->state() == QAbstractSocket::UnconnectedState)
            deleteLater();
    });
}

void RouterConnection::Greet() {
    if (m_greeted || m_closing)
        return;
    m_greeted = true;
    SendLine(QByteArrayLiteral("ST:0"));
}

void RouterConnection::Write(const QByteArray& bytes) {
    if (m_closing || m_socket->state() != QAbstractSocket::ConnectedState)
        return;
    if (m_socket->bytesToWrite() + bytes.size() > kMaxPendingWrite) {
        Abort();
        return;
    }
    m_socket->write(bytes);
    // Out at once rather than on the next pass of the event loop: a price is worth most now.
    m_socket->flush();
}

void RouterConnection::SendLine(const QByteArray& plain) {
    Write(LineScramble(plain) + '\r');
}

void RouterConnection::Abort() {
    if (m_closing)
        return;
    m_closing = true;
    m_socket->abort();
    deleteLater();
}

void RouterConnection::ReadPending() {
    if (m_closing || !m_greeted || m_router.Faults().Stalled())
        return;
    QList<ClientMessage> messages;
    while (!m_closing && m_socket->bytesAvailable() > 0) {
        const QByteArray bytes = m_socket->read(kReadChunk);
        if (bytes.isEmpty())
            break;
        messages.clear();
        const bool ok = m_reader.Feed(bytes, messages);
        for (const ClientMessage& message : messages) {
            if (m_closing)
                return;
            Handle(message);
        }
        if (!ok) {
            Abort();
            return;
        }
    }
}

void RouterConnection::Handle(const ClientMessage& message) {
    if (message.code == "NM") {
        HandleGreeting(message.payload);
    } else if (!m_identified || message.code == "KA") {
        // Nothing before the greeting counts; keep-alives need no answer.
    } else if (message.code == "BD") {
        HandleBid(message.payload);
    } else if (message.code == "CF") {
        HandleConfirmation(message.payload);
    }
}

void RouterConnection::HandleGreeting(const QByteArray& payload) {
    if (m_identified)
        return;
    m_identified = true;
    // The ID travels enciphered; a client whose ID does not decipher may watch but not bid.
    m_member = LineDecipher(WireField(payload, 1));
    m_router.SendSnapshot(*this);
}

void RouterConnection::HandleBid(const QByteArray& payload) {
    RecordedLine record;
    record.atMs = Clock::current().nowMs();
    record.lane = m_router.Lane();
    record.router = m_router.Kind();
    record.code = QByteArrayLiteral("BD");
    record.payload = payload;
    record.member = m_member;
    record.outcome = BidOutcome::Refused;
    const QByteArray bidder = LineDecipher(WireField(payload, 3));
    if (m_router.Kind() == RouterKind::Bidding && !m_member.isEmpty() && bidder == m_member) {
        BidRequest bid;
        bid.member = m_member;
        bid.siteNumber = WireInt(payload, 1, -1);
        bid.exhibit = WireInt(payload, 2, -1);
        bid.price = WireInt(payload, 4, -1);
        record.outcome = m_router.Feed().SubmitBid(bid);
    }
    if (BidRecorder* recorder = m_router.Recorder())
        recorder->Record(std::move(record));
}

void RouterConnection::HandleConfirmation(const QByteArray& payload) {
    RecordedLine record;
    record.atMs = Clock::current().nowMs();
    record.lane = m_router.Lane();
    record.router = m_router.Kind();
    record.code = QByteArrayLiteral("CF");
    record.payload = payload;
    record.member = m_member;
    const bool accepted = m_router.Kind() == RouterKind::Bidding && !m_member.isEmpty() &&
                          LineDecipher(WireField(payload, 4)) == m_member;
    record.outcome = accepted ? BidOutcome::Accepted : BidOutcome::Refused;
    record.matchesWin = accepted && m_router.Feed().IsWin(m_member, WireInt(payload, 1, -1),
                                                          WireInt(payload, 2, -1), WireInt(payload, 3, -1));
    if (BidRecorder* recorder = m_router.Recorder())
        recorder->Record(std::move(record));
}

} // namespace qev
