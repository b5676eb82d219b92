#include "session/procsdm.h"

#include "common/versioninfo.h"
#include "session/channeltuning.h"
#include "session/hostclientfacts.h"

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
    SockSI->abort();
    SockDT->abort();
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

void TProcsDm::CloseAll() {
    TimeSingIn->stop();
    SockSI->disconnectFromHost();
    m_signInBuffer.Clear();
    const std::weak_ptr<int> life = m_life;
    SetState(ssOffline);
    if (life.expired())
        return;
    // Lane channels are closed here once they exist; their statuses already report it.
    for (int lane = 0; lane < static_cast<int>(m_laneStatus.size()); ++lane) {
        SetLaneStatus(lane, nsDisconnected);
        if (life.expired())
            return;
    }
    if (HasCurrentSite())
        m_currentSite->ResetLaneData();
}

void TProcsDm::EnterSession() {
    TimeSingIn->stop();
    // Lane channels left from an earlier session are closed here too, once they exist.
    SockSI->disconnectFromHost();
    m_signInBuffer.Clear();
    SetState(ssInSession);
}

void TProcsDm::SetLaneStatus(int lane, TConnectionStatus status) {
    if (lane < 0 || lane >= static_cast<int>(m_laneStatus.size()))
        return;
    const TConnectionStatus old = m_laneStatus[static_cast<size_t>(lane)];
    m_laneStatus[static_cast<size_t>(lane)] = status;
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

void TProcsDm::SelectSite(const QByteArray& name) {
    TSiteInfo* site = FindSite(name);
    m_currentSite = site ? site : m_placeholder.get();
    m_currentSiteName = site ? name : QByteArray();
    m_currentSiteNumber = site ? site->SiteNumber() : 0;
    // The lane channels are rebuilt here; until they connect, every lane is without a router.
    m_laneCount = m_currentSite->LaneCount();
    m_laneStatus.assign(static_cast<size_t>(m_laneCount), nsNone);
}

TConnectionStatus TProcsDm::LaneStatus(int lane) const {
    if (lane < 0 || lane >= static_cast<int>(m_laneStatus.size()))
        return nsDisconnected;
    return m_laneStatus[static_cast<size_t>(lane)];
}

TConnectionStatus TProcsDm::CombinedLaneStatus() const {
    if (m_laneStatus.empty())
        return nsNone;
    const TConnectionStatus first = m_laneStatus.front();
    const bool same = std::all_of(m_laneStatus.begin(), m_laneStatus.end(),
                                  [first](TConnectionStatus s) { return s == first; });
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
