#pragma once

#include "audio/core/soundform.h"
#include "session/audio/audiochannel.h"
#include "session/clientfacts.h"
#include "session/laneparser.h"
#include "session/linebuffer.h"
#include "session/sessiontypes.h"
#include "session/siteinfo.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

class QTcpSocket;
class QTimer;

namespace qev {

class LaneChannel;

struct SignInLine;

// The session module: owns the client's channels to the auction house and runs the session state
// machine (signing in, in session, signing out). Everything runs on the GUI thread's event loop;
// the timer handlers are plain methods so tests move the injectable clock and call them.
class TProcsDm : public QObject {
    Q_OBJECT

public:
    // facts: the identifying values of this machine; the host's own when null.
    explicit TProcsDm(std::unique_ptr<ClientFacts> facts = nullptr, QObject* parent = nullptr);
    // audioDevice: where the live audio plays; without one the output counts as a device that
    // failed to open (the channel still runs, nothing sounds).
    TProcsDm(std::unique_ptr<ClientFacts> facts, std::unique_ptr<AudioDevice> audioDevice,
             QObject* parent = nullptr);
    ~TProcsDm() override;

    // Events, sender first; an unassigned one is skipped. A handler may call back into the module.
    std::function<void(TProcsDm&, int lane, TConnectionStatus oldStatus, TConnectionStatus newStatus)>
        OnLaneStatusChanged;
    std::function<void(TProcsDm&, TSessionState oldState, TSessionState newState)> OnSessionStateChanged;
    std::function<void(TProcsDm&, int lane, int code)> OnSessionNotice;
    std::function<void(TProcsDm&)> OnLaneStateChanged;
    std::function<void(TProcsDm&, TSiteInfo& site)> OnSiteStateChanged;
    // Lot announcements: lane, then the eight fields (site number, exhibit, next, the one after it, ...).
    using LotEvent = std::function<void(TProcsDm&, int lane, int site, int exhibit, int next, int after,
                                        int f5, int f6, int f7, int f8)>;
    LotEvent OnLotEntered;
    LotEvent OnLotRefreshed;
    std::function<void(TProcsDm&, int lane, int site, int exhibit)> OnLotPrefetch;
    std::function<void(TProcsDm&, int lane, int site, int exhibit)> OnLotPrefetchRefreshed;
    std::function<void(TProcsDm&, int lane, int site, int exhibit, int price, int lotFlags, int bidderFlags,
                       const QByteArray& topBidder, const QByteArray& winner)>
        OnPriceChanged;
    std::function<void(TProcsDm&, int lane, bool active)> OnLaneActiveChanged;
    std::function<void(TProcsDm&, int lane, int status)> OnAuctionStatus;
    std::function<void(TProcsDm&, int lane, int cue)> OnVoiceCue;
    std::function<void(TProcsDm&, int lane, int site, int field2, int flags)> OnMemberFlags;
    std::function<void(TProcsDm&, int lane, int site, int field2)> OnMemberCalled;
    std::function<void(TProcsDm&, int laneCount)> OnLaneCountChanged;
    std::function<void(TProcsDm&, int lane)> OnLotReset;
    std::function<void(TProcsDm&, const QByteArray& text)> OnInformation;
    std::function<void(TProcsDm&, int lane, const QList<AlarmItem>& alarms)> OnAlarmList;
    std::function<void(TProcsDm&)> OnExhibitList;

    // Sign-in and sign-out.
    void SetMemberNumber(const QByteArray& number);
    const QByteArray& MemberNumber() const { return m_memberNumber; }
    int MemberNumberValue() const { return m_memberNumberValue; }
    bool SignIn(QByteArrayView hostPort, const QByteArray& cipheredId, const QByteArray& cipheredPassword);
    bool SignOut();
    void Shutdown();
    void CloseAll();
    // While the program closes, a passed sign-in deadline ends quietly (no notice).
    void SetProgramClosing(bool closing) { m_programClosing = closing; }
    // The last sign-out's "LO:" line was handed to the connected sign-in channel; false while a
    // sign-out is under way and after one that timed out.
    bool SignOutSent() const { return m_signOutSent; }

    // Live audio.
    void SetAudioWanted(bool wanted) { m_audio->SetAudioWanted(wanted); }
    void SetAudioVolume(int attenuation) { m_audio->SetAudioVolume(attenuation); }
    // The "DisableAudio" tweak: the audio channel is never opened while it is set.
    void SetAudioDisabled(bool disabled) { m_audioDisabled = disabled; }
    bool AudioDisabled() const { return m_audioDisabled; }
    AudioChannel& Audio() { return *m_audio; }
    TSoundForm& AudioOutput() { return m_sound; }

    TSessionState State() const { return m_state; }
    int LastNoticeCode() const { return m_lastNoticeCode; }

    // Timer handlers.
    void ConnectSignIn();
    void TimeSingInTimer() { ConnectSignIn(); }
    void TimeTickTimer();

    // Byte entry points of the two line channels (what their sockets deliver).
    void ReceiveSignIn(const QByteArray& bytes);
    void ReceiveData(const QByteArray& bytes);

    // Sites.
    const std::vector<std::unique_ptr<TSiteInfo>>& Sites() const { return m_sites; }
    QByteArray FirstSiteName() const;
    void SelectSite(const QByteArray& name);
    TSiteInfo& CurrentSite() { return *m_currentSite; }
    bool HasCurrentSite() const { return m_currentSite != m_placeholder.get(); }
    int CurrentSiteNumber() const { return m_currentSiteNumber; }
    int LaneCount() const { return m_laneCount; }

    // Lane channels: connect every lane to one router kind, send, receive.
    bool ConnectLanes(TRouterType kind);
    TRouterType CurrentRouterKind() const { return m_routerKind; }
    TRouterType LaneRouterKind(int lane) const;
    bool SendOnLane(int lane, const QByteArray& line);
    // Byte entry point of a lane channel (what its socket delivers).
    void ReceiveLane(int lane, const QByteArray& bytes);
    void TmConnectingTimer(int lane) { ConnectLaneAttempt(lane); }
    void TmProcessingTimer(int lane);
    // Lane connections give up after this many seconds (tests shorten nothing: they move the clock).
    int LaneDeadlineSeconds() const { return m_laneDeadlineSeconds; }

    // Per-lane values; a lane beyond the lane count reads 0 and ignores setters.
    int LaneSiteNumber(int lane) const;
    int LaneExhibit(int lane) const;
    int LaneNextExhibit(int lane) const;
    int LanePrice(int lane) const;
    void SetLaneSiteNumber(int lane, int value);
    void SetLaneExhibit(int lane, int value);
    void SetLaneNextExhibit(int lane, int value);
    bool LaneMark(int lane) const;
    void SetLaneMark(int lane, bool mark);
    void ClearLaneMarks();
    bool LaneLate(int lane) const;
    qint64 LaneJumpLockUntilMs(int lane) const;
    QList<AlarmItem> LaneAlarms(int lane) const;
    int MaxDelayMs() const;
    int LaneDelayMs(int lane) const;
    int MaxPriceBacklog() const { return m_maxPriceBacklog; }

    // Lines the client sends on the lanes and the data channel.
    bool SendBid(int lane);
    bool SendConfirmation(int lane, int siteNumber, int exhibit, int price, const QByteArray& answer);
    bool SendReport(int lane, int outcome, const QByteArray& text);
    bool SendOnData(const QByteArray& line);
    QByteArray LaneGreetingText() const;
    QByteArray BidLineText(int lane) const;

    // Lanes of the current site.
    TConnectionStatus LaneStatus(int lane) const;
    TConnectionStatus CombinedLaneStatus() const;
    int LaneState(int lane) const;
    void SetLaneState(int lane, int value);
    bool AnyLaneRunning() const;
    bool AllLanesWaiting() const;
    bool AllLanesEnded() const;
    int EarliestOpening() const;

    // Session values learnt at sign-in.
    const QByteArrayList& SiteInformation() const { return m_siteInformation; }
    qint64 ClockOffsetMs() const { return m_clockOffsetMs; }
    const QByteArray& MemberClass() const { return m_memberClass; }
    int SessionNumber() const { return m_sessionNumber; }
    const QByteArray& RefusalText() const { return m_refusalText; }
    int BidLotQuota() const { return m_bidLotQuota; }
    int WatchLotQuota() const { return m_watchLotQuota; }
    int DetailDelayBase() const { return m_detailDelayBase; }
    int DetailDelaySpread() const { return m_detailDelaySpread; }
    int PhotoDelayBase() const { return m_photoDelayBase; }
    int PhotoDelaySpread() const { return m_photoDelaySpread; }
    const QByteArray& CarPhotoFolder() const { return m_carPhotoFolder; }
    const QByteArray& CardPhotoFolder() const { return m_cardPhotoFolder; }
    int PriceJumpThreshold() const { return m_priceJumpThreshold; }
    bool EveryPriceMode() const { return m_everyPriceMode; }
    int PriceJumpLockMs() const { return m_priceJumpLockMs; }
    int MaxPriceDelayMs() const { return m_maxPriceDelayMs; }
    const QByteArray& DataHost() const { return m_dataHost; }
    const QByteArray& DataPort() const { return m_dataPort; }
    const QByteArray& AudioHost() const { return m_audioHost; }
    const QByteArray& AudioPort() const { return m_audioPort; }
    int AudioSampleRate() const { return m_audioSampleRate; }
    const QByteArray& VersionText() const { return m_versionText; }

    // The sign-in lines as they are sent (before enciphering).
    QByteArray SignInLineText() const;
    QByteArray QueryLineText() const;
    QByteArray SignOutLineText() const;
    QByteArray QueryReport() const;

private:
    void SetState(TSessionState state);
    void Notice(int lane, int code);
    void EnterSession();
    bool SendSignInLine(const QByteArray& line);
    void CloseSignInChannel();
    void FinishSignOut(const std::weak_ptr<int>& life);
    // The session closed since the read that handed in `closes` began (its rest is dropped).
    bool SessionClosedSince(quint64 closes) const { return closes != m_sessionCloses; }
    void SetLaneStatus(int lane, TConnectionStatus status);

    // Lane channels.
    LaneChannel* LaneAt(int lane) const;
    void BuildLaneChannels(int n);
    void FreeLaneChannels();
    bool ConnectLane(int lane, TRouterType kind);
    void ConnectLaneAttempt(int lane);
    void LaneClosed(int lane);
    void LaneOverrun(LaneChannel& ch);
    void RestartLane(int lane);
    void LaneDataAvailable(LaneChannel& ch);
    void KeepLanesAlive(qint64 nowMs);
    void CloseLaneChannelsDeferred();
    void StopLaneConnectTimers();
    void MarkLanesClosingByClient();

    // Lane messages; false ends the pass (the lanes were rebuilt, the module is gone, or a price
    // named another site).
    bool ProcessLane(int lane);
    bool HandleLaneMessage(LaneChannel& ch, const LaneLine& line, int& prices);
    bool HandleLotEntered(LaneChannel& ch, const QByteArray& payload);
    bool HandleLotRefreshed(LaneChannel& ch, const QByteArray& payload);
    // Takes the lot fields of "EN:" / "LE:" into the lane and the current site.
    LotAnnouncement ReadLotAnnouncement(LaneChannel& ch, const QByteArray& payload);
    bool HandlePrice(LaneChannel& ch, const QByteArray& payload, int& prices);
    bool NewerPriceWaiting(const LaneChannel& ch, const PriceRecord& price) const;
    bool HandleAlarmList(const QByteArray& payload);
    bool LaneStillThere(quint64 generation) const { return generation == m_laneGeneration; }

    // Sign-in channel messages; false stops reading the rest of the piece.
    bool HandleSignInMessage(const SignInLine& line);
    void HandleServerTime(const QByteArray& payload);
    void HandleStatus(const QByteArray& payload);
    void HandleSignedIn(const QByteArray& payload);
    void HandleClientParams(const QByteArray& payload);
    bool HandleAnnouncement(const QByteArray& payload);
    void HandleAppearance(const QByteArray& payload);
    void HandleServerInformation(const QByteArray& payload);
    TSiteInfo* FindSite(QByteArrayView name) const;

    // Data channel: lines other than the keep-alive go to the data messages.
    void HandleDataLine(const QByteArray& line);
    void HandleDataMessage(const QByteArray& line);

    void SockSIDataAvailable();
    void SockDTDataAvailable();
    void OpenDataChannel();
    // Writes the reports queued by SendReport.
    void FlushReports();

    // Fires an event; false when its handler destroyed the module (the caller must return at once).
    template <typename Event, typename... Args> bool Fire(const Event& event, Args... args);

    std::unique_ptr<ClientFacts> m_facts;
    std::shared_ptr<int> m_life = std::make_shared<int>(0);

    TSessionState m_state = ssOffline;
    quint64 m_sessionCloses = 0; // counts CloseAll; a read in progress stops when it moves
    bool m_signOutSent = false;
    bool m_signOutPause = false; // between the sign-out line and the close
    bool m_programClosing = false;
    int m_lastNoticeCode = 0;

    QTcpSocket* SockSI;
    QTcpSocket* SockDT;
    QTimer* TimeSingIn;
    QTimer* TimeTick;
    LineBuffer m_signInBuffer;
    LineBuffer m_dataBuffer;

    QByteArray m_signInHost;
    QByteArray m_signInPort;
    qint64 m_deadlineMs = 0;
    int m_deadlineSeconds = 15;
    QByteArray m_cipheredId;
    QByteArray m_cipheredPassword;
    QByteArray m_memberNumber;
    int m_memberNumberValue = -1;
    QByteArray m_versionText;
    QByteArray m_clientDescription;

    qint64 m_lastDataReceiptMs = 0;
    // Reports wait for the next turn of the event loop, so the bid line they tell of is on its
    // way first; they are written before the data channel closes.
    QByteArrayList m_pendingReports;
    qint64 m_nextDataKeepAliveMs = 0;

    std::vector<std::unique_ptr<TSiteInfo>> m_sites;
    std::unique_ptr<TSiteInfo> m_placeholder;
    TSiteInfo* m_currentSite;
    QByteArray m_currentSiteName;
    int m_currentSiteNumber = 0;
    int m_laneCount = -1;
    std::vector<LaneChannel*> m_lanes; // children of this
    quint64 m_laneGeneration = 0;
    TRouterType m_routerKind = rcNone;
    int m_laneDeadlineSeconds = 15;
    int m_maxPriceBacklog = 0;
    double m_maxDelayMs = 0;
    bool m_signedInSeen = false; // at least one "ST:100" since the program started

    QByteArrayList m_siteInformation;
    qint64 m_clockOffsetMs = 0;
    QByteArray m_memberClass;
    int m_sessionNumber = 0;
    QByteArray m_refusalText;
    int m_bidLotQuota = 40;
    int m_watchLotQuota = 30;
    int m_detailDelayBase = 0;
    int m_detailDelaySpread = 0;
    int m_photoDelayBase = 0;
    int m_photoDelaySpread = 200;
    QByteArray m_carPhotoFolder = QByteArrayLiteral("carphoto");
    QByteArray m_cardPhotoFolder = QByteArrayLiteral("exhibitcard");
    int m_priceJumpThreshold = 0;
    bool m_everyPriceMode = false;
    int m_priceJumpLockMs = 0;
    int m_maxPriceDelayMs = 0;
    int m_priceBacklogThreshold = 50;
    QByteArray m_dataHost;
    QByteArray m_dataPort;
    QByteArray m_audioHost;
    QByteArray m_audioPort;
    int m_audioSampleRate = 0;
    bool m_audioDisabled = false;

    // The output outlives the channel that feeds it.
    TSoundForm m_sound;
    std::unique_ptr<AudioChannel> m_audio;
};

template <typename Event, typename... Args> bool TProcsDm::Fire(const Event& event, Args... args) {
    if (!event)
        return true;
    const std::weak_ptr<int> life = m_life;
    const Event handler = event; // the handler may reassign the event while it runs
    handler(*this, args...);
    return !life.expired();
}

} // namespace qev
