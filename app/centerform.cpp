// The window's creation, layout, screens, launch sequence, closing and destruction.
#include "app/centerform.h"

#include "app/credentialstore.h"
#include "app/loginpanel.h"
#include "app/messagedialogs.h"
#include "app/web/webpane.h"
#include "audio/device/soundeffects.h"
#include "common/pumpwait.h"
#include "common/settingsstore.h"
#include "common/tempfolder.h"
#include "common/texthelpers.h"
#include "common/usersettings.h"
#include "common/versioninfo.h"
#include "lanes/views/tdumwin.h"
#include "lanes/views/twin1of2.h"
#include "lanes/views/twin1of4.h"
#include "lanes/views/viewstyle.h"
#include "session/clientfacts.h"
#include "session/sessiontweaks.h"
#include "skin/qev2016header.h"
#include "skin/qev2016jnulpanel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>

namespace qev {

namespace {
constexpr int kWindowColour = 13866016;
constexpr int kLaneBackground = 8947848;
constexpr int kAlarmBackground = 8355711;
constexpr int kLaunchWaitMs = 2000;

QWidget* MakePanel(QWidget* parent, const char* name, int colour) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setAutoFillBackground(true);
    QPalette p = panel->palette();
    p.setColor(QPalette::Window, LayoutColor(colour));
    panel->setPalette(p);
    panel->hide();
    return panel;
}
} // namespace

TCenterForm::TCenterForm(Services services, QWidget* parent)
    : QWidget(parent)
    , m_services(std::move(services))
    , m_config(AppConfig::Read(m_services.settings->config()))
    , m_log(m_services.logPath.isEmpty() ? LogFile::defaultPath() : m_services.logPath, false)
    , m_size(WindowSizeFor(m_services.screen)) {
    if (m_services.cacheFolder.isEmpty())
        m_services.cacheFolder = TempFolder();
    setObjectName(QStringLiteral("CenterForm"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A fixed client that cannot be resized or maximized; closing asks first.
    setWindowFlags(m_size.captioned ? Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint
                                    : Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(m_size.client);
    const QString build = VersionPart(3);
    if (!build.isEmpty())
        setWindowTitle(ApplicationTitle() + QStringLiteral(" ver ") + VersionPart(0) + QLatin1Char('.') +
                       build);

    m_focusSink = new QWidget(this);
    m_focusSink->setObjectName(QStringLiteral("EdtFocus"));
    m_focusSink->setFocusPolicy(Qt::StrongFocus);
    m_focusSink->setGeometry(-20, -20, 10, 10);

    m_login = new TLoginPanel(this);
    m_login->hide();
    m_panelAuc = MakePanel(this, "PanelAuc", kLaneBackground);
    m_panelAuction = new TQEV2016JNulPanel(m_panelAuc);
    m_panelAuction->setObjectName(QStringLiteral("PanelAuction"));
    m_pnl2Ch = MakePanel(m_panelAuction, "Pnl2ChBase", kLaneBackground);
    m_pnl1ChA = MakePanel(m_panelAuction, "Pnl1ChABase", kLaneBackground);
    m_pnl1ChB = MakePanel(m_panelAuction, "Pnl1ChBBase", kLaneBackground);
    m_panelAlarm = MakePanel(this, "PanelAlarmSettings", kAlarmBackground);
    m_header = new TQEV2016Header(this);
    m_header->setObjectName(QStringLiteral("AuctionTitle"));
    InstallHeaderCommands();
    LayoutPanels();

    if (m_services.makeWebPane) {
        m_loginBrowser = m_services.makeWebPane(m_login);
        m_alarmBrowser = m_services.makeWebPane(m_panelAlarm);
    }
    if (m_loginBrowser) {
        m_login->PlaceNotice(m_loginBrowser->Widget());
        m_loginBrowser->SetScrollBarsVisible(false);
    }
    if (m_alarmBrowser) {
        QWidget* page = m_alarmBrowser->Widget();
        page->setObjectName(QStringLiteral("BrowserAlarm"));
        page->move(16, 16);
    }
    m_login->OnLogin = [this](TLoginPanel&, int tag) { Login(tag); };
    m_login->OnClose = [this](TLoginPanel&) { RequestClose(); };
    m_login->OnBoxPressed = [this](TLoginPanel&) { PlayClickSound(); };
    qApp->installEventFilter(this);

    m_effects = std::make_unique<SoundEffects>(m_services.effectVoices);
    m_images = LaneViewImages::Load();
    std::unique_ptr<AudioDevice> audio = m_services.makeAudioDevice ? m_services.makeAudioDevice() : nullptr;
    m_session = std::make_unique<TProcsDm>(std::move(m_services.facts), std::move(audio));
    LoadSessionTweaks(*m_session, m_services.settings->user());
    InstallSessionEvents();
    CreateViews();
    m_initialized = true;

    m_launchPending = true;
    QMetaObject::invokeMethod(
        this, [this] { Launch(); }, Qt::QueuedConnection);
}

void TCenterForm::CreateViews() {
    m_dummy = new TDumWin(*this);
    m_dummy->Attach(m_panelAuc, m_session.get());
    const auto hooks = [this](TTrrFrame& view) {
        view.SetAutoBidInterval(m_autoBidInterval);
        view.OnConfirmationRequest = [this](TTrrFrame&, int lane, int site, int exhibit, int price) {
            ConfirmationRequest(lane, site, exhibit, price);
        };
        view.OnConfirm = [this](TTrrFrame&, int lane, int site, int exhibit, int price) {
            Confirm(lane, site, exhibit, price);
        };
    };
    for (int lane = 0; lane < 2; ++lane) {
        auto* two = new TWin1Of4(*this, m_images);
        two->setObjectName(QStringLiteral("Win1Of4_%1").arg(lane));
        two->Lane = lane;
        two->Attach(m_pnl2Ch, m_session.get());
        hooks(*two);
        m_twoLane[size_t(lane)] = two;
        auto* one = new TWin1Of2(*this, m_images);
        one->setObjectName(QStringLiteral("Win1Of2_%1").arg(lane));
        one->Lane = lane;
        one->OnToOtherLane = [this](TTrrFrame&, int shown) {
            m_oneLaneShowsA = shown != 1;
            ShowOneLanePanel();
        };
        one->Attach(lane == 0 ? m_pnl1ChA : m_pnl1ChB, m_session.get());
        hooks(*one);
        m_oneLane[size_t(lane)] = one;
    }
}

void TCenterForm::LayoutPanels() {
    const int offset = m_size.horizontalOffset();
    const QSize client = m_size.client;
    const int below = client.height() - TQEV2016Header::kHeight;
    m_login->setGeometry(offset, 0, 1024, client.height());
    m_header->setGeometry(0, 0, client.width(), TQEV2016Header::kHeight);
    m_header->SetVolumeEnabled(true);
    m_header->SetAlarmSettingEnabled(true);
    m_header->SetAuctionEnabled(true);
    m_header->show();
    m_panelAuc->setGeometry(offset, TQEV2016Header::kHeight, qMax(client.width(), 1024), below);
    m_panelAuction->setGeometry(0, 0, m_panelAuc->width(), below);
    m_panelAuction->show();
    for (QWidget* p : {m_pnl2Ch, m_pnl1ChA, m_pnl1ChB})
        p->setGeometry(0, 0, m_panelAuc->width(), below);
    m_panelAlarm->setGeometry(offset, TQEV2016Header::kHeight, qMax(client.width(), 1024), below);
}

void TCenterForm::ShowScreenPanel(QWidget* front) {
    for (QWidget* p : {static_cast<QWidget*>(m_login), m_panelAuc, m_panelAlarm})
        p->setVisible(p == front);
    if (front) {
        front->raise();
        m_header->raise();
        front->repaint();
    }
}

void TCenterForm::SetScreen(TScreenKind kind) {
    if (kind == m_screen)
        return;
    switch (kind) {
    case scLaunching: {
        m_session->SetAudioWanted(false);
        QSettings& user = m_services.settings->user();
        m_volume = LoadVolume(user);
        Tweaks tweaks;
        LoadTweaks(user, tweaks);
        m_log.setEnabled(tweaks.systemLog);
        LoadSessionTweaks(*m_session, user);
        m_header->SetVolumeDisplay(m_volume);
        ApplyVolume();
        m_effects->MuteEffects();
        m_header->SetBidMode(false);
        ShowLaneMessage(mtNone, -1);
        m_login->ShowCover(true);
        ShowScreenPanel(m_login);
        break;
    }
    case scLogin: {
        m_effects->MuteEffects();
        m_session->SetAudioWanted(false);
        m_header->SetBidMode(false);
        ShowLaneMessage(mtNone, -1);
        m_login->ShowCover(false);
        const Credentials saved = LoadCredentials(m_services.settings->user());
        m_login->SetTicked(saved.ticked);
        m_login->EdtLoginID().setText(saved.id);
        m_login->EdtLoginPassword().setText(saved.password);
        m_login->ApplyEnablingRule();
        ShowScreenPanel(m_login);
        m_failedLogins = 0;
        m_login->EdtLoginID().setFocus();
        break;
    }
    case scAuction:
        EnterAuctionScreen();
        break;
    case scAlarmSettings:
        m_effects->MuteEffects();
        if (m_alarmBrowser)
            m_alarmBrowser->Widget()->resize(992, 657);
        ArrangeLanePanels();
        ShowScreenPanel(m_panelAlarm);
        m_header->SetBidModeVisible(false);
        m_header->SetAlarmSettingVisible(false);
        m_header->SetAuctionVisible(true);
        break;
    default:
        ShowScreenPanel(nullptr);
        break;
    }
    m_screen = kind;
}

QString TCenterForm::OpeningText(int opening) {
    // HHMMSS from the sign-in data; times before 10:00 have five digits and keep their hour.
    const QString t = QStringLiteral("%1").arg(opening, 6, 10, QLatin1Char('0'));
    return t.mid(0, 2) + QStringLiteral("時") + t.mid(2, 2) + QStringLiteral("分より開催いたします");
}

void TCenterForm::EnterAuctionScreen() {
    m_effects->RestoreEffectsVolume(m_volume);
    m_session->SetAudioWanted(true);
    m_header->SetUserCaption(m_userId);
    ArrangeLanePanels();
    ShowScreenPanel(m_panelAuc);
    m_focusSink->setFocus();
    const bool viaButton = m_viaAuctionButton;
    if (!viaButton)
        ShowLaneMessage(mtNone, -1);
    if (!m_session->HasCurrentSite() || m_session->AllLanesEnded()) {
        ShowLaneMessage(mtOver, -1);
    } else if (m_session->AnyLaneRunning() || !m_session->AllLanesWaiting()) {
        if (!viaButton)
            for (int lane = 0; lane < m_session->LaneCount(); ++lane)
                if (m_session->LaneState(lane) == 0)
                    ShowLaneMessage(mtFetching, lane);
    } else {
        ShowLaneMessage(mtWait, -1, {OpeningText(m_session->EarliestOpening())});
    }
    m_header->SetBidModeVisible(true);
    m_header->SetAlarmSettingVisible(true);
    m_header->SetAuctionVisible(false);
    m_viaAuctionButton = false;
}

void TCenterForm::ArrangeLanePanels() {
    if (m_laneMode == lmTwoLane) {
        m_pnl2Ch->show();
        m_pnl2Ch->raise();
        ShowOneLanePanel();
    } else {
        ShowOneLanePanel();
        m_pnl2Ch->hide();
    }
    for (int lane = 0; lane < 2; ++lane) {
        TwoLaneViewOf(lane).RefreshLayout();
        OneLaneViewOf(lane).RefreshLayout();
    }
    m_focusSink->setFocus();
}

void TCenterForm::ShowOneLanePanel() {
    QWidget* chosen = m_oneLaneShowsA ? m_pnl1ChA : m_pnl1ChB;
    QWidget* other = m_oneLaneShowsA ? m_pnl1ChB : m_pnl1ChA;
    chosen->setVisible(m_laneMode == lmOneLane);
    chosen->raise();
    other->hide();
    for (int lane = 0; lane < 2; ++lane)
        OneLaneViewOf(lane).RefreshLayout();
}

TTrrFrame& TCenterForm::TwoLaneViewOf(int lane) {
    if ((m_laneMode == lmNone || m_laneMode == lmTwoLane) && lane >= 0 && lane < 2 && m_twoLane[size_t(lane)])
        return *m_twoLane[size_t(lane)];
    return *m_dummy;
}

TTrrFrame& TCenterForm::OneLaneViewOf(int lane) {
    if ((m_laneMode == lmNone || m_laneMode == lmOneLane) && lane >= 0 && lane < 2 && m_oneLane[size_t(lane)])
        return *m_oneLane[size_t(lane)];
    return *m_dummy;
}

QWidget& TCenterForm::LanePanel(int which) {
    return *(which == 0 ? m_pnl2Ch : which == 1 ? m_pnl1ChA : m_pnl1ChB);
}

void TCenterForm::Launch() {
    if (!m_launchPending || m_closing)
        return;
    m_launchPending = false;
    LayoutPanels();
    SetScreen(scLaunching);
    if (m_loginBrowser) {
        m_loginBrowser->Navigate(QUrl(m_config.LoginNoticeUrl()), kNavigateFresh);
        PumpWait([this] { return m_closing || m_loginBrowser->NavigationComplete(); }, kLaunchWaitMs);
    }
    if (m_closing)
        return;
    SetScreen(scLogin);
}

void TCenterForm::PostQuietClose() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_quietClose = true;
            close();
        },
        Qt::QueuedConnection);
}

void TCenterForm::RequestClose() {
    close();
}

bool TCenterForm::ConfirmClose() {
    WriteLog("Begin CloseQuery");
    if (!m_initialized)
        return true;
    if (!m_quietClose) {
        PlayClickSound();
        if (!AskMessageDialog(this, QStringLiteral("終了しますか？")))
            return false;
    }
    AnswerPendingConfirmations();
    m_closing = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString temp = m_services.cacheFolder;
    DeleteFolderContents(temp);
    QDir().rmdir(temp);
    QApplication::restoreOverrideCursor();
    WriteLog("End CloseQuery");
    return true;
}

void TCenterForm::closeEvent(QCloseEvent* event) {
    if (m_closing || ConfirmClose())
        event->accept();
    else
        event->ignore();
}

void TCenterForm::paintEvent(QPaintEvent*) {
    // The panels cover the client area; only the colour behind a narrower panel shows.
    QPainter(this).fillRect(rect(), LayoutColor(kWindowColour));
}

bool TCenterForm::eventFilter(QObject* watched, QEvent* event) {
    // Typed spaces never reach a control: no field holds one and no key bids.
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->text() == QStringLiteral(" ")) {
        const auto* w = qobject_cast<QWidget*>(watched);
        if (w && w->window() == this)
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TCenterForm::WriteLog(const char* line) const {
    m_log.WriteLog(QString::fromLatin1(line));
}

void TCenterForm::ApplyVolume() {
    m_session->SetAudioVolume(VolumeToAttenuation(m_volume));
    m_effects->ApplyClickVolume(m_volume);
    if (m_screen == scAuction)
        m_effects->RestoreEffectsVolume(m_volume);
}

void TCenterForm::RefreshCountdown() {
    m_header->SetBidOffCountdown(m_session->CurrentRouterKind() == rcBD ? m_bidOffCountdown : 0);
}

void TCenterForm::PlayClickSound() {
    m_effects->PlayClickSound();
}

TCenterForm::~TCenterForm() {
    qApp->removeEventFilter(this);
    WriteLog("Begin Destroy");
    m_shuttingDown = true;
    if (m_initialized) {
        WriteLog("Program Initialized");
        WriteLog("End Frees");
        m_session->SetProgramClosing(true);
        m_session->Shutdown();
        // Nothing the module does from now on may reach views that are about to go.
        DetachSessionEvents();
        WriteLog("End Finalize Core");
        m_confirmations.clear();
        for (LaneSession& l : m_lanes)
            if (l.fetch)
                l.fetch->CancelAll();
        for (LaneSession& l : m_lanes)
            l.fetch.reset();
        WriteLog("Free Retrieves");
        m_effects->CreateLaneEffects(0, 0);
        WriteLog("Free Voices");
        for (int n = 0; n < 2; ++n) {
            const QString index = QString::number(n);
            m_oneLane[size_t(n)]->Finalize();
            m_log.WriteLog(QString::fromLatin1("Finalize 1/2 ") + index);
            delete m_oneLane[size_t(n)];
            m_oneLane[size_t(n)] = nullptr;
            m_log.WriteLog(QString::fromLatin1("Free 1/2 ") + index);
            m_twoLane[size_t(n)]->Finalize();
            m_log.WriteLog(QString::fromLatin1("Finalize 1/4 ") + index);
            delete m_twoLane[size_t(n)];
            m_twoLane[size_t(n)] = nullptr;
            m_log.WriteLog(QString::fromLatin1("Free 1/4 ") + index);
        }
        m_dummy->Finalize();
        WriteLog("Finalize Dummy");
        delete m_dummy;
        m_dummy = nullptr;
        WriteLog("Free Dummy");
        WriteLog("Free LInfos");
        m_lanes.clear();
        WriteLog("Free Params");
        m_session.reset();
        WriteLog("Free Core");
    }
    WriteLog("End Destroy");
}

} // namespace qev
