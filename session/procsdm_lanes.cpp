#include "common/clock.h"
#include "common/pumpwait.h"
#include "session/channeltuning.h"
#include "session/codec/linecodec.h"
#include "session/lanechannel.h"
#include "session/procsdm.h"

#include <QTcpSocket>
#include <QTimer>

namespace qev {

namespace {
constexpr int kCloseWaitMs = 3000;
constexpr qint64 kLaneKeepAliveMs = 24000;
constexpr int kLaneKeepAliveIntervalMs = 1050;

// Closes a channel at once and waits, handling other events, until it is closed.
bool CloseAndWait(LaneChannel& ch) {
    ch.Sock->abort();
    return PumpWait([&ch] { return ch.IsClosed(); }, kCloseWaitMs);
}
} // namespace

LaneChannel* TProcsDm::LaneAt(int lane) const {
    if (lane < 0 || lane >= static_cast<int>(m_lanes.size()))
        return nullptr;
    return m_lanes[static_cast<size_t>(lane)];
}

void TProcsDm::SelectSite(const QByteArray& name) {
    if (m_laneCount >= 0 && name == m_currentSiteName)
        return;
    m_routerKind = rcNone;
    m_currentSiteName = name;
    TSiteInfo* site = nullptr;
    for (const auto& s : m_sites) {
        if (s->Name().compare(name, Qt::CaseInsensitive) == 0) {
            site = s.get();
            break;
        }
    }
    m_currentSite = site ? site : m_placeholder.get();
    m_currentSiteNumber = m_currentSite->SiteNumber();
    BuildLaneChannels(m_currentSite->LaneCount());
}

void TProcsDm::BuildLaneChannels(int n) {
    if (!m_lanes.empty())
        FreeLaneChannels();
    m_laneCount = n;
    ++m_laneGeneration;
    for (int lane = 0; lane < n; ++lane) {
        auto* ch = new LaneChannel(lane, this);
        connect(ch->Sock, &QTcpSocket::readyRead, this, [this, ch] { LaneDataAvailable(*ch); });
        connect(ch->Sock, &QTcpSocket::disconnected, this, [this, ch] { LaneClosed(ch->Lane); });
        connect(ch->Sock, &QTcpSocket::connected, this,
                [ch] { TuneChannel(*ch->Sock, kLaneKeepAliveIntervalMs); });
        connect(ch->TmConnecting, &QTimer::timeout, this, [this, ch] { TmConnectingTimer(ch->Lane); });
        connect(ch->TmProcessing, &QTimer::timeout, this, [this, ch] { TmProcessingTimer(ch->Lane); });
        m_lanes.push_back(ch);
    }
    Fire(OnLaneCountChanged, n);
}

void TProcsDm::FreeLaneChannels() {
    ++m_laneGeneration;
    std::vector<LaneChannel*> lanes;
    lanes.swap(m_lanes);
    for (LaneChannel* ch : lanes) {
        ch->Detach();
        ch->deleteLater(); // a pass on it may still be on the stack
    }
    m_laneCount = 0;
}

bool TProcsDm::ConnectLanes(TRouterType kind) {
    if (kind == m_routerKind)
        return true;
    const std::weak_ptr<int> life = m_life;
    const quint64 generation = m_laneGeneration;
    for (int lane = 0; lane < static_cast<int>(m_lanes.size()); ++lane) {
        const bool ok = ConnectLane(lane, kind);
        if (life.expired())
            return true;
        if (!ok || generation != m_laneGeneration)
            break;
    }
    m_routerKind = kind;
    return true;
}

bool TProcsDm::ConnectLane(int lane, TRouterType kind) {
    if (m_state != ssInSession)
        return false;
    LaneChannel* ch = LaneAt(lane);
    if (!ch)
        return false;
    const std::weak_ptr<int> life = m_life;
    const quint64 generation = m_laneGeneration;
    // A channel still connecting to the other router is closed too: left alone, it would greet
    // from the old router and be taken for the new one.
    if (ch->status == icsConnectedBD || ch->status == icsConnectedNB || !ch->IsClosed()) {
        ch->closingByClient = true;
        const bool closed = CloseAndWait(*ch);
        if (life.expired() || generation != m_laneGeneration)
            return false;
        ch->closingByClient = false;
        if (!closed || m_state != ssInSession)
            return false;
    }
    ch->routerKind = kind;
    const QByteArray address =
        kind == rcBD ? m_currentSite->BiddingRouter(lane) : m_currentSite->WatchRouter(lane);
    const qsizetype colon = address.indexOf(':');
    ch->routerHost = (colon < 0 ? address : address.left(colon)).trimmed();
    ch->routerPort = colon < 0 ? QByteArray() : address.mid(colon + 1).trimmed();
    SetLaneStatus(lane, icsCnctRouter);
    if (life.expired() || generation != m_laneGeneration)
        return false;
    ch->connectDeadlineMs = Clock::current().nowMs() + m_laneDeadlineSeconds * 1000LL;
    ConnectLaneAttempt(lane);
    return true;
}

void TProcsDm::ConnectLaneAttempt(int lane) {
    LaneChannel* ch = LaneAt(lane);
    if (!ch)
        return;
    ch->TmConnecting->stop();
    if (ch->status != icsCnctRouter)
        return;
    if (Clock::current().nowMs() > ch->connectDeadlineMs) {
        const std::weak_ptr<int> life = m_life;
        const quint64 generation = m_laneGeneration;
        ch->closingByClient = true;
        CloseAndWait(*ch);
        if (life.expired() || generation != m_laneGeneration)
            return;
        ch->closingByClient = false;
        Notice(lane, kNoticeDeadline);
        return;
    }
    ch->TmConnecting->start();
    if (!ch->IsClosed())
        return;
    bool ok = false;
    const quint16 port = ch->routerPort.toUShort(&ok, 10);
    if (!ok || ch->routerHost.isEmpty())
        return; // retried until the deadline
    // A new connection starts afresh: half a line of the old one must not prefix its first line,
    // and its greeting must not be taken for a repeat of the old router's.
    ch->receive.Clear();
    ch->lastPiece.clear();
    ch->Sock->connectToHost(QString::fromLatin1(ch->routerHost), port);
}

void TProcsDm::LaneClosed(int lane) {
    LaneChannel* ch = LaneAt(lane);
    if (!ch || ch->TmConnecting->isActive() || ch->closingByClient || m_state != ssInSession)
        return;
    RestartLane(lane);
}

void TProcsDm::LaneOverrun(LaneChannel& ch) {
    // Too far behind to show every change of leader while it matters: start the lane over from
    // its router, which tells the lot's standing again, rather than drop lines unseen. Meanwhile
    // the lane is not bid-ready.
    ch.DropReceived();
    ch.closingByClient = true;
    ch.Sock->abort();
    ch.closingByClient = false;
    if (m_state == ssInSession)
        RestartLane(ch.Lane);
}

void TProcsDm::RestartLane(int lane) {
    LaneChannel* ch = LaneAt(lane);
    if (!ch)
        return;
    const std::weak_ptr<int> life = m_life;
    const quint64 generation = m_laneGeneration;
    SetLaneStatus(lane, icsCnctRouter);
    if (life.expired() || generation != m_laneGeneration)
        return;
    ch->connectDeadlineMs = Clock::current().nowMs() + m_laneDeadlineSeconds * 1000LL;
    ConnectLaneAttempt(lane);
}

bool TProcsDm::SendOnLane(int lane, const QByteArray& line) {
    LaneChannel* ch = LaneAt(lane);
    if (!ch)
        return false;
    ch->lastSendMs = Clock::current().nowMs();
    if (!ch->IsConnected() || line.isEmpty())
        return false;
    if (ch->Sock->write(LineScramble(line) + '\r') < 0)
        return false;
    // Handed to the system now rather than at the next turn of the event loop: a bid must not
    // wait behind whatever else that turn handles first.
    ch->Sock->flush();
    return true;
}

void TProcsDm::LaneDataAvailable(LaneChannel& ch) {
    ReceiveLane(ch.Lane, ch.Sock->readAll());
}

void TProcsDm::ReceiveLane(int lane, const QByteArray& bytes) {
    LaneChannel* ch = LaneAt(lane);
    if (!ch)
        return;
    ch->receive.Append(bytes); // an overlong partial line is dropped with the buffer
    if (ProcessLane(lane)) {
        if (LaneChannel* again = LaneAt(lane); again == ch)
            ch->TmProcessing->start();
    }
}

void TProcsDm::TmProcessingTimer(int lane) {
    LaneChannel* ch = LaneAt(lane);
    if (!ch)
        return;
    ch->TmProcessing->stop();
    if (ProcessLane(lane)) {
        if (LaneAt(lane) == ch)
            ch->TmProcessing->start();
    }
}

void TProcsDm::KeepLanesAlive(qint64 nowMs) {
    for (int lane = 0; lane < static_cast<int>(m_lanes.size()); ++lane) {
        LaneChannel* ch = m_lanes[static_cast<size_t>(lane)];
        if ((ch->status == icsConnectedBD || ch->status == icsConnectedNB) &&
            nowMs - ch->lastSendMs > kLaneKeepAliveMs)
            SendOnLane(lane, QByteArrayLiteral("KA:"));
    }
}

void TProcsDm::CloseLaneChannelsDeferred() {
    for (LaneChannel* ch : m_lanes)
        ch->CloseDeferred();
}

void TProcsDm::StopLaneConnectTimers() {
    for (LaneChannel* ch : m_lanes)
        ch->TmConnecting->stop();
}

void TProcsDm::MarkLanesClosingByClient() {
    for (LaneChannel* ch : m_lanes)
        ch->closingByClient = true;
}

TRouterType TProcsDm::LaneRouterKind(int lane) const {
    const LaneChannel* ch = LaneAt(lane);
    return ch ? ch->routerKind : rcNone;
}

} // namespace qev
