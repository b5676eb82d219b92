#pragma once

#include "app/appconfig.h"
#include "app/lanesession.h"
#include "app/windowsize.h"
#include "audio/device/effectvoice.h"
#include "common/logfile.h"
#include "lanes/lanestatusboard.h"
#include "lanes/lotimageloader.h"
#include "lanes/photoslotpool.h"
#include "lanes/views/laneviewhost.h"
#include "lanes/views/laneviewimages.h"
#include "lanes/views/ttrrframe.h"
#include "session/procsdm.h"

#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace qev {

class AudioDevice;
class ClientFacts;
class SettingsStore;
class SoundEffects;
class TDumWin;
class TLoginPanel;
class TQEV2016Header;
class TTrrFrame;
class TWin1Of2;
class TWin1Of4;
class WebPane;

// The program's only window: the login screen, the one-lane and two-lane auction screens and
// the alarm settings page under one header, the owner of the session module and of the lane
// views, and the place where every session event becomes calls on both views of its lane.
class TCenterForm : public QWidget, public LaneViewHost {
    Q_OBJECT
public:
    enum TScreenKind : quint8 {
        scNone = 0,
        scLaunching = 1,
        scLogin = 2,
        scAuction = 3,
        scAlarmSettings = 4
    };
    enum TLaneMode : quint8 { lmNone = 0, lmOneLane = 1, lmTwoLane = 2 };

    struct Services {
        SettingsStore* settings = nullptr; // not owned; outlives the window
        std::function<std::unique_ptr<WebPane>(QWidget* parent)> makeWebPane;
        std::function<std::unique_ptr<AudioDevice>()> makeAudioDevice; // live audio; none when empty
        EffectVoiceFactory effectVoices;
        std::unique_ptr<ClientFacts> facts; // the host's own when null
        QSize screen;                       // the primary screen's size
        QString logPath;                    // the shutdown log; beside the executable when empty
        QString cacheFolder;                // lot files and pictures; the user's cache when empty
    };

    explicit TCenterForm(Services services, QWidget* parent = nullptr);
    ~TCenterForm() override;

    // Screens.
    void SetScreen(TScreenKind kind);
    TScreenKind Screen() const { return m_screen; }
    TLaneMode LaneMode() const { return m_laneMode; }
    void ArrangeLanePanels();
    void ShowOneLanePanel();
    bool OneLaneShowsLaneA() const { return m_oneLaneShowsA; }
    // Both views of a lane: the placeholder for a kind not in use in the lane mode.
    TTrrFrame& TwoLaneViewOf(int lane);
    TTrrFrame& OneLaneViewOf(int lane);

    // The launch sequence (posted once at creation) and the quiet close.
    void Launch();
    void PostQuietClose();
    bool Initialized() const { return m_initialized; }
    bool Closing() const { return m_closing; }
    // The header's exit button and the close button of the login screen.
    void RequestClose();

    // Session events on screen.
    void ShowLaneMessage(TMessageType kind, int lane, const QStringList& texts = {});
    void SetLotStateAll(int lane, int state);
    void ClearSession();
    void ShowDisconnectedAndQuit();
    void ResetLanes();
    // Back to watching when the lanes bid (alarm settings, the bid-off countdown).
    void SwitchBiddingOff();
    // The login of a lane button (tag 1 one lane, 2 two lanes).
    void Login(int laneModeTag);
    int FailedLogins() const { return m_failedLogins; }

    // Lot pages and photos.
    void FetchLotPages(int lane, int site, int e, int n, int f);
    void PrefetchLot(int lane, int site, int lot);
    void DetailArrived(int lane, const QString& path, int lot, int site);
    void LoadLotImage(int lane, int kind, const QString& path, int lot, int site);
    // Won-bid reports waiting for the user.
    void AnswerPendingConfirmations();
    int PendingConfirmations() const { return int(m_confirmations.size()); }

    // What the lane views ask.
    TSESForm* LaneEffectsPlayer(int lane) override;
    bool LaneActiveMark(int lane) override;
    const TLotRecord* CurrentLotRecord(int lane) override;
    bool IsLotShown(int lane) override;
    TMessageType LaneMessageKind(int lane) override;
    void SetLaneMessageKind(int lane, TMessageType kind) override;
    bool IsNoReserve(int lane) override;
    QByteArray CurrentExhibitorCode(int lane) override;
    void ResetBidOffCountdown() override;
    void PlayClickSound() override;

    TProcsDm& Session() { return *m_session; }
    TLoginPanel& LoginPanel() { return *m_login; }
    TQEV2016Header& Header() { return *m_header; }
    WebPane& LoginBrowser() { return *m_loginBrowser; }
    WebPane& AlarmBrowser() { return *m_alarmBrowser; }
    QWidget& PanelAuc() { return *m_panelAuc; }
    QWidget& LanePanel(int which); // 0 two-lane, 1 lane A, 2 lane B
    const AppConfig& Config() const { return m_config; }
    int LaneCount() const { return m_laneCount; }
    const QString& UserId() const { return m_userId; }
    int BidOffCountdown() const { return m_bidOffCountdown; }
    int WatchCountdown() const { return m_watchCountdown; }
    int AutoBidInterval() const { return m_autoBidInterval; }
    static QString OpeningText(int opening);

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateViews();
    void InstallSessionEvents();
    void InstallHeaderCommands();
    void BidModeChange(bool bid);
    void VolumeChange(int level);
    void DetachSessionEvents();
    void LayoutPanels();
    void ShowScreenPanel(QWidget* front);
    void EnterAuctionScreen();
    void ApplyVolume();
    void RefreshCountdown();
    void WriteLog(const char* line) const;
    bool ConfirmClose();
    LaneSession* Lane(int lane);
    template <typename Fn> void BothViews(int lane, Fn fn) {
        fn(TwoLaneViewOf(lane));
        fn(OneLaneViewOf(lane));
    }
    template <typename Fn> void EveryView(Fn fn) {
        for (int lane = 0; lane < qMax(2, m_laneCount); ++lane)
            BothViews(lane, fn);
    }

    // Login steps.
    void ShowSignInOutcome(int code);
    void FinishLogin();

    // Session event handlers.
    void LaneStatusChanged(int lane, TConnectionStatus status);
    void SessionNotice();
    void LotEntered(int lane, int site, int e, int n, int f);
    void LotRefreshed(int lane, int site, int e, int n, int f);
    void LotReset(int lane);
    void PriceChanged(int lane, int site, int e, int price, int lotFlags, int bidderFlags,
                      const QByteArray& top, const QByteArray& winner);
    void VoiceCue(int lane, int cue);
    void LaneCountChanged(int n);
    void SiteStateChanged();
    void AlarmList(int lane, const QList<AlarmItem>& list);
    bool CountLot(int lane, int exhibit);
    void PointViewsAt(int lane, int site, int exhibit);
    void ResetLotDisplay(int lane);
    void ShowCurrentRecord(int lane, bool newLot);

    // Downloads.
    void DetailDone(int lane, int site, int exhibit, int status, const QString& path);
    void PhotoDone(int lane, int kind, int site, int exhibit, const QString& path);
    QUrl DetailUrl(int lane, int site, int exhibit) const;
    QUrl ImageUrl(int lane, int site, const QByteArray& folder, int exhibit, const QByteArray& ext) const;
    void ConfirmationRequest(int lane, int site, int exhibit, int price);
    void Confirm(int lane, int site, int exhibit, int price);

    Services m_services;
    AppConfig m_config;
    LogFile m_log;
    WindowSize m_size;
    TScreenKind m_screen = scNone;
    TLaneMode m_laneMode = lmNone;
    bool m_oneLaneShowsA = true;
    bool m_initialized = false;
    bool m_quietClose = false;
    bool m_closing = false;
    bool m_shuttingDown = false;
    bool m_launchPending = false;
    bool m_viaAuctionButton = false;
    bool m_loginBusy = false;
    int m_failedLogins = 0;
    int m_laneCount = 0;
    int m_volume = 3;
    int m_autoBidInterval = 700;
    int m_bidOffCountdown = 0;
    int m_watchCountdown = 0;
    TMessageType m_windowMessage = mtInitialize;
    QString m_userId;

    // Children (Qt owns them).
    TQEV2016Header* m_header = nullptr;
    TLoginPanel* m_login = nullptr;
    QWidget* m_panelAuc = nullptr;
    QWidget* m_panelAuction = nullptr;
    QWidget* m_pnl2Ch = nullptr;
    QWidget* m_pnl1ChA = nullptr;
    QWidget* m_pnl1ChB = nullptr;
    QWidget* m_panelAlarm = nullptr;
    QWidget* m_focusSink = nullptr;
    TDumWin* m_dummy = nullptr;
    std::array<TWin1Of4*, 2> m_twoLane{};
    std::array<TWin1Of2*, 2> m_oneLane{};

    LaneViewImages m_images;
    std::unique_ptr<SoundEffects> m_effects;
    std::unique_ptr<WebPane> m_loginBrowser;
    std::unique_ptr<WebPane> m_alarmBrowser;
    TPhotoSlotPool m_photos;
    TLotImageLoader m_imageLoader{m_photos};
    TLaneStatusBoard m_laneInfo;
    std::vector<std::array<int, 4>> m_confirmations;
    std::vector<LaneSession> m_lanes;
    std::unique_ptr<TProcsDm> m_session;
};

} // namespace qev
