#include "common/clock.h"
#include "common/pumpwait.h"
#include "session/procsdm.h"
#include "session/signinparser.h"

#include <QDateTime>
#include <QTcpSocket>
#include <cmath>

namespace qev {

namespace {

constexpr double kUnixEpochDay = 25569.0; // 1 January 1970 in days since 30 December 1899
constexpr double kMsPerDay = 86400000.0;

constexpr int kSignOutPauseMs = 500;

} // namespace

bool TProcsDm::HandleSignInMessage(const SignInLine& line) {
    const QByteArray& code = line.code;
    if (code == "TM")
        HandleServerTime(line.payload);
    else if (code == "ST")
        HandleStatus(line.payload);
    else if (code == "CI")
        HandleClientParams(line.payload);
    else if (code == "AN")
        return HandleAnnouncement(line.payload);
    else if (code == "AP")
        HandleAppearance(line.payload);
    else if (code == "SV")
        HandleServerInformation(line.payload);
    return true;
}

void TProcsDm::HandleServerTime(const QByteArray& payload) {
    const double days = ParseDayCount(payload).value_or(0.0);
    const qint64 serverWallMs = std::llround((days - kUnixEpochDay) * kMsPerDay);
    m_clockOffsetMs = serverWallMs - LocalWallMs(Clock::current().nowMs());
}

void TProcsDm::HandleStatus(const QByteArray& payload) {
    const StatusMessage status = ParseStatus(payload);
    const std::weak_ptr<int> life = m_life;
    switch (status.code) {
    case 0:
        if (m_state == ssSigningIn) {
            SendSignInLine(SignInLineText());
        } else if (m_state == ssSigningOut) {
            m_signOutSent = SendSignInLine(SignOutLineText());
            // Hand the line to the system before the linger-0 close can discard it.
            SockSI->flush();
            SetState(ssOffline);
            if (life.expired())
                return;
            FinishSignOut(life);
        }
        return;
    case 100:
        HandleSignedIn(payload);
        return;
    case 103:
        m_refusalText = status.refusalText;
        [[fallthrough]];
    default:
        Notice(-1, status.code);
        if (life.expired())
            return;
        CloseAll();
        return;
    }
}

void TProcsDm::FinishSignOut(const std::weak_ptr<int>& life) {
    // The pause lets the sign-out line reach the server before the close without linger can
    // discard it. Events keep running meanwhile (the window must not freeze), so whatever they
    // did decides afterwards: a close or a new sign-in meanwhile stands.
    const quint64 closes = m_sessionCloses;
    const auto settled = [&] {
        return life.expired() || m_state != ssOffline || SessionClosedSince(closes) ||
               SockSI->state() == QAbstractSocket::UnconnectedState;
    };
    m_signOutPause = true;
    PumpWait(settled, kSignOutPauseMs);
    if (life.expired())
        return;
    m_signOutPause = false;
    if (m_state != ssOffline || SessionClosedSince(closes))
        return;
    CloseAll();
}

void TProcsDm::HandleSignedIn(const QByteArray& payload) {
    m_signedInSeen = true;
    const StatusMessage status = ParseStatus(payload);
    m_siteInformation = SiteInformationLines(status.siteInfoText);
    m_memberClass = status.memberClass;
    m_sessionNumber = status.sessionNumber;
    SendSignInLine(QueryLineText());
    m_bidLotQuota = 40;
    m_watchLotQuota = 30;
    if (TSiteInfo* site = FindSite("QEV")) {
        site->SetSiteState(1);
        site->CarPhotoExtension = QByteArrayLiteral(".jpg");
        site->CardPhotoExtension = QByteArrayLiteral(".jpg");
        for (int lane = 0; lane < site->LaneCount(); ++lane) {
            const QByteArray suffix = QByteArray("0_" + QByteArray::number(lane));
            site->SetExhibitCount(
                lane,
                IntegerOr(SiteInformationValue(m_siteInformation, QByteArray("ExhibitCount" + suffix)), 0));
            site->SetOpeningTime(
                lane, LaneTime(SiteInformationValue(m_siteInformation, QByteArray("LaneTimeFrom" + suffix))));
            site->SetClosingTime(
                lane, LaneTime(SiteInformationValue(m_siteInformation, QByteArray("LaneTimeTo" + suffix))));
            site->SetCurrentExhibit(lane, 0);
            site->SetNextExhibit(lane, 0);
        }
    }
    m_detailDelayBase = 0;
    m_detailDelaySpread = 0;
    m_photoDelayBase = 0;
    m_photoDelaySpread = 200;
    m_carPhotoFolder = QByteArrayLiteral("carphoto");
    m_cardPhotoFolder = QByteArrayLiteral("exhibitcard");
}

void TProcsDm::HandleClientParams(const QByteArray& payload) {
    const ClientParams params = ParseClientParams(payload);
    m_priceJumpThreshold = params.jumpThreshold;
    m_everyPriceMode = params.jumpThreshold == 0;
    m_priceJumpLockMs = params.jumpLockMs;
    if (params.maxPriceDelayMs >= 0)
        m_maxPriceDelayMs = params.maxPriceDelayMs;
}

bool TProcsDm::HandleAnnouncement(const QByteArray& payload) {
    const SiteAnnouncement a = ParseSiteAnnouncement(payload);
    if (a.firstGroupEmpty)
        return false;
    if (a.creates()) {
        auto site = std::make_unique<TSiteInfo>(QByteArrayLiteral("QEV"), a.siteNumber);
        site->SetLaneCount(std::min(a.laneCount, TSiteInfo::kMaxLanes));
        m_sites.push_back(std::move(site));
    }
    return true;
}

void TProcsDm::HandleAppearance(const QByteArray& payload) {
    TSiteInfo* site = FindSite("QEV");
    if (!site)
        return;
    for (int state : ParseLaneAppearance(payload))
        site->SetLaneState(0, state);
}

void TProcsDm::HandleServerInformation(const QByteArray& payload) {
    const ServerInformation info = ParseServerInformation(payload);
    m_dataHost = info.dataHost;
    m_dataPort = info.dataPort;
    m_audioSampleRate = info.audioSampleRate;
    m_audio->SetServerSampleRate(info.audioSampleRate);
    m_audioHost = info.audioHost;
    m_audioPort = info.audioPort;
    if (TSiteInfo* site = FindSite("QEV")) {
        for (const LaneServers& lane : info.lanes) {
            site->SetBiddingRouter(lane.lane, lane.biddingRouter);
            site->SetWatchRouter(lane.lane, lane.watchRouter);
            site->SetDetailUrlBase(lane.lane, lane.detailUrlBase);
            site->SetPhotoUrlBase(lane.lane, lane.photoUrlBase);
            site->SetLaneCode(lane.lane, lane.laneCode);
        }
    }
    EnterSession();
}

} // namespace qev
