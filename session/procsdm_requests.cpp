#include "common/clock.h"
#include "session/codec/linecodec.h"
#include "session/lanechannel.h"
#include "session/procsdm.h"

#include <QDateTime>
#include <QTcpSocket>

namespace qev {

namespace {

enum ReportOutcome { kBidSent = 0, kLate = 1, kNotBidding = 2, kJumpLocked = 3 };

QByteArray ClockText(qint64 ms) {
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("hh:mm:ss.zzz")).toLatin1();
}

QByteArray Fields(std::initializer_list<QByteArray> fields) {
    QByteArray out;
    bool first = true;
    for (const QByteArray& f : fields) {
        if (!first)
            out.append(',');
        out.append(f);
        first = false;
    }
    return out;
}

} // namespace

QByteArray TProcsDm::LaneGreetingText() const {
    return "NM:" + Fields({m_cipheredId, m_versionText, LineCipher(m_facts->ComputerNameText()),
                           MachineToken(m_facts->VolumeSerialText()), QByteArray::number(m_sessionNumber)});
}

QByteArray TProcsDm::BidLineText(int lane) const {
    return "BD:" + Fields({QByteArray::number(LaneSiteNumber(lane)), QByteArray::number(LaneExhibit(lane)),
                           m_cipheredId, QByteArray::number(LanePrice(lane)), m_versionText});
}

bool TProcsDm::SendBid(int lane) {
    const LaneChannel* ch = LaneAt(lane);
    if (!ch)
        return false;
    // A lane whose socket is gone cannot bid, whatever its status still says (while signing out a
    // dropped lane keeps it); the report names it disconnected.
    const bool connected = ch->IsConnected();
    if (ch->status != icsConnectedBD || !connected) {
        const bool claimsConnected = ch->status == icsConnectedBD || ch->status == icsConnectedNB;
        const TConnectionStatus seen = !connected && claimsConnected ? nsDisconnected : ch->status;
        SendReport(lane, kNotBidding, "CS=" + QByteArray::number(seen));
        return false;
    }
    const qint64 now = Clock::current().nowMs();
    if (!(now > ch->jumpLockUntilMs)) {
        SendReport(lane, kJumpLocked, "FPLB=" + ClockText(now) + '<' + ClockText(ch->jumpLockUntilMs));
        return false;
    }
    if (ch->late) {
        SendReport(lane, kLate,
                   "MPD=" + QByteArray::number(MaxDelayMs()) +
                       " LPD=" + QByteArray::number(LaneDelayMs(lane)));
        return false;
    }
    // The line goes first: the report says what happened to it, and the bid does not wait for it.
    if (!SendOnLane(lane, BidLineText(lane))) {
        SendReport(lane, kNotBidding, "CS=" + QByteArray::number(nsDisconnected));
        return false;
    }
    if (m_signedInSeen)
        SendReport(lane, kBidSent, QByteArray());
    return true;
}

bool TProcsDm::SendConfirmation(int lane, int siteNumber, int exhibit, int price, const QByteArray& answer) {
    return SendOnLane(lane, "CF:" + Fields({QByteArray::number(siteNumber), QByteArray::number(exhibit),
                                            QByteArray::number(price), m_cipheredId, answer}));
}

bool TProcsDm::SendReport(int lane, int outcome, const QByteArray& text) {
    if (SockDT->state() != QAbstractSocket::ConnectedState)
        return false;
    if (m_pendingReports.isEmpty())
        QMetaObject::invokeMethod(this, &TProcsDm::FlushReports, Qt::QueuedConnection);
    m_pendingReports.append("RP:" +
                            Fields({QByteArray::number(lane), QByteArray::number(LaneSiteNumber(lane)),
                                    QByteArray::number(LaneExhibit(lane)), m_memberNumber, "0",
                                    QByteArray::number(outcome), text}));
    return true;
}

void TProcsDm::FlushReports() {
    QByteArrayList reports;
    reports.swap(m_pendingReports);
    for (const QByteArray& report : reports)
        SendOnData(report);
}

bool TProcsDm::SendOnData(const QByteArray& line) {
    if (SockDT->state() != QAbstractSocket::ConnectedState || line.isEmpty())
        return false;
    return SockDT->write(LineScramble(line) + '\r') >= 0;
}

} // namespace qev
