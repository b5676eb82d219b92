#include "session/procsdm.h"

#include "common/versioninfo.h"
#include "session/channeltuning.h"
#include "session/hostclientfacts.h"
#include "session/lanechannel.h"

#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <limits>

namespace qev {

namespace {
constexpr int kSignInRetryMs = 2000;
constexpr int kTickMs = 1000;
constexpr qsizetype kLineLimit = 65536;
constexpr int kKeepAliveIntervalMs = 1000;
} // namespace

TProcsDm::TProcsDm(std::unique_ptr<ClientFacts> facts, QObject* parent)
    : TProcsDm(std::move(facts), nullptr, parent) {}

TProcsDm::TProcsDm(std::unique_ptr<ClientFacts> facts, std::unique_ptr<AudioDevice> audioDevice,
                   QObject* parent)
    : QObject(parent)
    , m_facts(facts ? std::move(facts) : std::make_unique<HostClientFacts>())
    , SockSI(new QTcpSocket(this))
    , SockDT(new QTcpSocket(this))
    , TimeSingIn(new QTimer(this))
    , TimeTick(new QTimer(this))
    , m_signInBuffer(kLineLimit)
    , m_dataBuffer(kLineLimit)
    , m_versionText(FileVersion().toLatin1())
    , m_placeholder(std::make_unique<TSiteInfo>())
    , m_currentSite(m_placeholder.get())
    , m_sound(std::move(audioDevice))
    , m_audio(std::make_unique<AudioChannel>(m_sound)) {
    // The subscription names the current site and the code of its lane at the audio lane index.
    m_audio->SiteIdentifier = [this] { return QByteArray::number(m_currentSiteNumber); };
    m_audio->LaneCode = [this](int lane) -> std::optional<QByteArray> {
        if (lane < 0 || lane >= m_currentSite->LaneCount())
            return std::nullopt;
        return m_currentSite->LaneCode(lane);
    };
    m_clientDescription = m_facts->ClientDescription();
    TimeSingIn->setInterval(kSignInRetryMs);
    TimeTick->setInterval(kTickMs);
    connect(TimeSingIn, &QTimer::timeout, this, &TProcsDm::TimeSingInTimer);
    connect(TimeTick, &QTimer::timeout, this, &TProcsDm::TimeTickTimer);
    connect(SockSI, &QTcpSocket::readyRead, this, &TProcsDm::SockSIDataAvailable);
    connect(SockDT, &QTcpSocket::readyRead, this, &TProcsDm::SockDTDataAvailable);
    // Connection failures are not reported: the retry timer and the tick notice a closed channel.
    connect(SockSI, &QTcpSocket::connected, this, [this] { TuneChannel(*SockSI, kKeepAliveIntervalMs); });
    connect(SockDT, &QTcpSocket::connected, this, [this] { TuneChannel(*SockDT, kKeepAliveIntervalMs); });
}

TProcsDm::~TProcsDm() {
    // No event may reach a half-destroyed module.
    SockSI->disconnect(this);
    SockDT->disconnect(this);
    FlushReports();
    SockDT->flush();
    SockSI->abort();
    SockDT->abort();
    for (LaneChannel* ch : m_lanes)
        ch->Detach();
}

void TProcsDm::SetMemberNumber(const QByteArray& number) {
    m_memberNumber = number;
    bool ok = false;
    const int value = number.toInt(&ok, 10);
    m_memberNumberValue = ok ? value : -1;
}

void TProcsDm::SetState(TSessionState state) {
    const TSessionState old = m_state;
    m_state = state;
    if (state == ssInSession) {
        if (!TimeTick->isActive())
            TimeTickTimer();
    } else if (TimeTick->isActive()) {
        TimeTick->stop();
    }
    if (state == ssOffline) {
        m_lastDataReceiptMs = 0;
        // Reports already accepted go out before the channel closes.
        FlushReports();
        SockDT->flush();
        SockDT->abort();
        m_dataBuffer.Clear();
        m_audio->CloseAudioChannel();
    }
    Fire(OnSessionStateChanged, old, state);
}

void TProcsDm::Notice(int lane, int code) {
    if (!Fire(OnSessionNotice, lane, code))
        return;
    m_lastNoticeCode = code;
}

void TProcsDm::CloseSignInChannel() {
    // Qt ignores a graceful close while the socket is still connecting: against a host that drops
    // connection attempts the channel would stay busy, and every SignIn refused, until the system
    // gives up. Only a connected channel has lines worth flushing.
    if (SockSI->state() == QAbstractSocket::ConnectedState)
        SockSI->disconnectFromHost();
    else if (SockSI->state() != QAbstractSocket::ClosingState)
        SockSI->abort();
}

void TProcsDm::CloseAll() {
    ++m_sessionCloses;
    TimeSingIn->stop();
    CloseSignInChannel();
    m_signInBuffer.Clear();
    // Lines already read belong to the session that ends here.
    for (LaneChannel* ch : m_lanes)
        ch->DropReceived();
    const std::weak_ptr<int> life = m_life;
    SetState(ssOffline);
    if (life.expired())
        return;
    // Closed after the state is offline, so the closed handler does not reconnect them.
    CloseLaneChannelsDeferred();
    const quint64 generation = m_laneGeneration;
    for (int lane = 0; lane < static_cast<int>(m_lanes.size()); ++lane) {
        SetLaneStatus(lane, nsDisconnected);
        if (life.expired())
            return;
        if (generation != m_laneGeneration)
            break;
    }
    if (HasCurrentSite())
        m_currentSite->ResetLaneData();
}

void TProcsDm::EnterSession() {
    TimeSingIn->stop();
    CloseSignInChannel();
    // Lane channels left from an earlier session start afresh.
    CloseLaneChannelsDeferred();
    m_signInBuffer.Clear();
    SetState(ssInSession);
}

void TProcsDm::SetLaneStatus(int lane, TConnectionStatus status) {
    LaneChannel* ch = LaneAt(lane);
    if (!ch)
        return;
    const TConnectionStatus old = ch->status;
    ch->status = status;
    Fire(OnLaneStatusChanged, lane, old, status);
}

QByteArray TProcsDm::FirstSiteName() const {
    return m_sites.empty() ? QByteArray() : m_sites.front()->Name();
}

TSiteInfo* TProcsDm::FindSite(QByteArrayView name) const {
    for (const auto& site : m_sites) {
        if (site->Name() == name)
            return site.get();
    }
    return nullptr;
}

TConnectionStatus TProcsDm::LaneStatus(int lane) const {
    const LaneChannel* ch = LaneAt(lane);
    return ch ? ch->status : nsDisconnected;
}

TConnectionStatus TProcsDm::CombinedLaneStatus() const {
    if (m_lanes.empty())
        return nsNone;
    const TConnectionStatus first = m_lanes.front()->status;
    const bool same = std::all_of(m_lanes.begin(), m_lanes.end(),
                                  [first](const LaneChannel* ch) { return ch->status == first; });
    return same ? first : nsNotSame;
}

int TProcsDm::LaneState(int lane) const {
    return HasCurrentSite() ? m_currentSite->LaneState(lane) : kLaneStateEnded;
}

void TProcsDm::SetLaneState(int lane, int value) {
    if (!HasCurrentSite())
        return;
    TSiteInfo* site = m_currentSite;
    site->SetLaneState(lane, value);
    if (lane >= 0 && lane < site->LaneCount() && value != site->PreviousLaneState(lane)) {
        site->SetPreviousLaneState(lane, value);
        if (!Fire(OnLaneStateChanged))
            return;
    }
    // The handler may have ended the session and replaced the current site.
    if (m_currentSite != site)
        return;
    site->UpdateSiteState();
    Fire(OnSiteStateChanged, std::ref(*site));
}

bool TProcsDm::AnyLaneRunning() const {
    if (!HasCurrentSite())
        return false;
    for (int l = 0; l < m_currentSite->LaneCount(); ++l) {
        const int s = m_currentSite->LaneState(l);
        if (s == kLaneStateRunning || s == kLaneStateHeld)
            return true;
    }
    return false;
}

bool TProcsDm::AllLanesWaiting() const {
    for (int l = 0; HasCurrentSite() && l < m_currentSite->LaneCount(); ++l) {
        if (m_currentSite->LaneState(l) <= 0)
            return false;
    }
    return true;
}

bool TProcsDm::AllLanesEnded() const {
    for (int l = 0; HasCurrentSite() && l < m_currentSite->LaneCount(); ++l) {
        if (m_currentSite->LaneState(l) != kLaneStateEnded)
            return false;
    }
    return true;
}

int TProcsDm::EarliestOpening() const {
    if (!HasCurrentSite())
        return std::numeric_limits<int>::max();
    int earliest = std::numeric_limits<int>::max();
    for (int l = 0; l < m_currentSite->LaneCount(); ++l) {
        const int s = m_currentSite->LaneState(l);
        if (s <= 0)
            return -1;
        earliest = std::min(earliest, s);
    }
    return earliest;
}

} // namespace qev
