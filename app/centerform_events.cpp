// Session events on screen: the per-lane state and both views of each lane.
#include "app/centerform.h"
#include "app/messagedialogs.h"
#include "audio/device/soundeffects.h"
#include "common/settingsstore.h"
#include "common/tempfolder.h"
#include "lanes/views/tdumwin.h"
#include "skin/qev2016header.h"

namespace qev {

namespace {
constexpr int kBitWon = 1;       // lot flag: sold; bidder flag: not sold
constexpr int kBitStarted = 2;   // lot flag: bidding started; bidder flag: this member leads
constexpr int kBitNoReserve = 8; // lot flag: sold without reserve
constexpr int kBitCorrection = 16;
constexpr int kBitCorrection2 = 128;
} // namespace

LaneSession* TCenterForm::Lane(int lane) {
    return lane >= 0 && lane < int(m_lanes.size()) ? &m_lanes[size_t(lane)] : nullptr;
}

void TCenterForm::InstallSessionEvents() {
    TProcsDm& dm = *m_session;
    dm.OnLaneStatusChanged = [this](TProcsDm&, int lane, TConnectionStatus, TConnectionStatus now) {
        LaneStatusChanged(lane, now);
    };
    dm.OnSessionStateChanged = [this](TProcsDm&, TSessionState, TSessionState now) {
        if (now == ssInSession)
            SetScreen(scLogin);
    };
    dm.OnSessionNotice = [this](TProcsDm&, int, int) { SessionNotice(); };
    dm.OnLotEntered = [this](TProcsDm&, int lane, int site, int e, int n, int f, int, int, int, int) {
        LotEntered(lane, site, e, n, f);
    };
    dm.OnLotPrefetch = [this](TProcsDm&, int lane, int site, int lot) { PrefetchLot(lane, site, lot); };
    dm.OnLotRefreshed = [this](TProcsDm&, int lane, int site, int e, int n, int f, int, int, int, int) {
        LotRefreshed(lane, site, e, n, f);
    };
    dm.OnLotPrefetchRefreshed = dm.OnLotPrefetch;
    dm.OnPriceChanged = [this](TProcsDm&, int lane, int site, int e, int price, int lotFlags, int bidderFlags,
                               const QByteArray& top, const QByteArray& winner) {
        PriceChanged(lane, site, e, price, lotFlags, bidderFlags, top, winner);
    };
    dm.OnLaneActiveChanged = [this](TProcsDm&, int lane, bool) {
        BothViews(lane, [](TTrrFrame& v) { v.UpdateBidButton(); });
    };
    dm.OnVoiceCue = [this](TProcsDm&, int lane, int cue) { VoiceCue(lane, cue); };
    dm.OnMemberFlags = [this](TProcsDm&, int, int, int, int) { m_effects->globalAlarm().PlayAlarm(); };
    dm.OnMemberCalled = [this](TProcsDm&, int, int, int) { m_effects->globalAlarm().PlayAlarm(); };
    dm.OnLaneCountChanged = [this](TProcsDm&, int n) { LaneCountChanged(n); };
    dm.OnLotReset = [this](TProcsDm&, int lane) { LotReset(lane); };
    dm.OnSiteStateChanged = [this](TProcsDm&, TSiteInfo&) { SiteStateChanged(); };
    dm.OnInformation = [this](TProcsDm&, const QByteArray& text) { m_laneInfo.ApplyInformation(text); };
    dm.OnAlarmList = [this](TProcsDm&, int lane, const QList<AlarmItem>& list) { AlarmList(lane, list); };
}

void TCenterForm::DetachSessionEvents() {
    TProcsDm& dm = *m_session;
    dm.OnLaneStatusChanged = nullptr;
    dm.OnSessionStateChanged = nullptr;
    dm.OnSessionNotice = nullptr;
    dm.OnLotEntered = nullptr;
    dm.OnLotPrefetch = nullptr;
    dm.OnLotRefreshed = nullptr;
    dm.OnLotPrefetchRefreshed = nullptr;
    dm.OnPriceChanged = nullptr;
    dm.OnLaneActiveChanged = nullptr;
    dm.OnVoiceCue = nullptr;
    dm.OnMemberFlags = nullptr;
    dm.OnMemberCalled = nullptr;
    dm.OnLaneCountChanged = nullptr;
    dm.OnLotReset = nullptr;
    dm.OnSiteStateChanged = nullptr;
    dm.OnInformation = nullptr;
    dm.OnAlarmList = nullptr;
}

void TCenterForm::ShowLaneMessage(TMessageType kind, int lane, const QStringList& texts) {
    if (lane >= 0) {
        m_windowMessage = mtNone;
        BothViews(lane, [kind, &texts](TTrrFrame& v) { v.ShowMessage(kind, texts); });
        return;
    }
    if (kind == mtNone) {
        m_panelAuc->setEnabled(true);
        m_windowMessage = mtNone;
        EveryView([](TTrrFrame& v) {
            v.ShowMessage(mtNone, {});
            v.update();
        });
        update();
        return;
    }
    if (kind == m_windowMessage)
        return;
    m_panelAuc->setEnabled(true);
    m_windowMessage = kind;
    // The views show the waiting and ended lines themselves, so a dealer sees why a lane is quiet.
    EveryView([kind, &texts](TTrrFrame& v) { v.ShowMessage(kind, texts); });
    update();
}

void TCenterForm::SetLotStateAll(int lane, int state) {
    BothViews(lane, [state](TTrrFrame& v) { v.SetLotState(state); });
}

void TCenterForm::ClearSession() {
    m_session->SignOut();
    for (LaneSession& l : m_lanes)
        if (l.fetch)
            l.fetch->CancelAll();
    DeleteFolderContents(m_services.cacheFolder);
}

void TCenterForm::ShowDisconnectedAndQuit() {
    if (!m_shuttingDown && !m_closing)
        ShowMessageDialog(this, QStringLiteral("切断されました\r終了します"), DialogKind::Information);
    PostQuietClose();
}

void TCenterForm::ResetLanes() {
    const QByteArray memberClass = m_session->MemberClass();
    const bool watchOnly =
        memberClass == "3" || memberClass == "4" || memberClass.compare("Z", Qt::CaseInsensitive) == 0;
    m_header->SetBidModeEnabled(!watchOnly);
    int interval = -1;
    for (const QByteArray& line : m_session->SiteInformation())
        if (line.startsWith("AUTO_BID_INTERVAL="))
            interval = line.mid(18).trimmed().toInt();
    m_autoBidInterval = interval > 99 ? interval : 700;
    for (int lane = 0; lane < 2; ++lane)
        TwoLaneViewOf(lane).SetAutoBidInterval(m_autoBidInterval);
    EveryView([](TTrrFrame& v) {
        v.ResetLane();
        v.UpdateBidButton();
        v.ShowMessage(mtNone, {});
    });
    m_header->SetBidMode(false);
    for (LaneSession& l : m_lanes) {
        l.lotShown = false;
        l.lotActive = false;
        l.exhibitorCode.clear();
    }
    m_session->ClearLaneMarks();
    for (int lane = 0; lane < m_laneCount; ++lane) {
        m_session->SetLaneSiteNumber(lane, 0);
        m_session->SetLaneExhibit(lane, 0);
        m_session->SetLaneNextExhibit(lane, 0);
    }
    EveryView([](TTrrFrame& v) {
        v.ForgetLotStateAndStyle();
        v.UpdateBidButton();
    });
    RefreshCountdown();
    ShowLaneMessage(mtNone, -1);
    for (int lane = 0; lane < m_laneCount; ++lane) {
        if (m_laneInfo.IsLaneClosed(lane) || m_session->LaneState(lane) == -1)
            ShowLaneMessage(mtOver, lane);
        else if (m_session->LaneState(lane) >= 0)
            ShowLaneMessage(mtFetching, lane);
    }
}

void TCenterForm::LaneStatusChanged(int lane, TConnectionStatus status) {
    BothViews(lane, [](TTrrFrame& v) { v.UpdateBidButton(); });
    if (status == nsDisconnected && m_screen == scAuction) {
        ClearSession();
        ShowDisconnectedAndQuit();
    } else if (status == icsConnectedBD) {
        m_bidOffCountdown = m_session->BidLotQuota();
        RefreshCountdown();
    } else if (status == icsConnectedNB) {
        m_watchCountdown = m_session->WatchLotQuota();
        RefreshCountdown();
    }
}

void TCenterForm::SessionNotice() {
    ClearSession();
    SetScreen(scLogin);
}

// The bid-off countdown and the watch limit for a newly shown lot; false when the watch limit
// ran out and the program ends.
bool TCenterForm::CountLot(int lane, int exhibit) {
    LaneSession& l = *Lane(lane);
    const TConnectionStatus status = m_session->LaneStatus(lane);
    if (status == icsConnectedBD && l.lastCountedLot != exhibit) {
        l.lastCountedLot = exhibit;
        --m_bidOffCountdown;
        RefreshCountdown();
        if (m_bidOffCountdown <= 0)
            QMetaObject::invokeMethod(
                this, [this] { SwitchBiddingOff(); }, Qt::QueuedConnection);
    }
    if (status == icsConnectedNB && m_session->MemberClass().contains("34")) {
        --m_watchCountdown;
        RefreshCountdown();
        if (m_watchCountdown <= 0) {
            ClearSession();
            ShowDisconnectedAndQuit();
            return false;
        }
    }
    return true;
}

void TCenterForm::ShowCurrentRecord(int lane, bool newLot) {
    LaneSession& l = *Lane(lane);
    for (int j = 0; j < 2; ++j) {
        if (j == lane)
            BothViews(j, [&l, newLot](TTrrFrame& v) { v.ShowCurrentLot(l.current, newLot, l.bidStarted); });
        else
            BothViews(j, [&l, lane](TTrrFrame& v) { v.ShowOtherLaneLot(lane, &l.current); });
    }
}

void TCenterForm::PointViewsAt(int lane, int site, int exhibit) {
    BothViews(lane, [site, exhibit](TTrrFrame& v) {
        v.SiteNumber = site;
        v.ExhibitNo = exhibit;
    });
}

// A lot starting over: not open to bids until its first price, no strip, plain price, gauge off.
void TCenterForm::ResetLotDisplay(int lane) {
    m_session->SetLaneMark(lane, false);
    BothViews(lane, [](TTrrFrame& v) { v.UpdateBidButton(); });
    SetLotStateAll(lane, 1);
    BothViews(lane, [](TTrrFrame& v) {
        v.SetPriceStyle(1);
        v.SetGauge(0);
    });
}

void TCenterForm::LotEntered(int lane, int site, int e, int n, int f) {
    LaneSession* l = Lane(lane);
    if (!l)
        return;
    PointViewsAt(lane, site, e);
    l->bidStarted = l->noReserve = l->sold = l->unsold = false;
    if (e != 0 && !l->lotShown && l->fetch && l->fetch->IsDetailCached(site, e, 0)) {
        l->lotShown = true;
        l->lotActive = true;
        if (l->messageKind == mtWait)
            ShowLaneMessage(mtNone, lane);
    }
    if (l->lotShown) {
        if (l->messageKind != mtSold)
            ShowLaneMessage(mtNone, lane);
        if (!CountLot(lane, e))
            return;
        ResetLotDisplay(lane);
        const QString detail = l->fetch ? l->fetch->DetailFileName(site, e, 0) : QString();
        l->current = detail.isEmpty() ? TLotRecord() : TLotRecord::FromFile(detail);
        l->exhibitorCode = l->current.ExhibitorCode();
        ShowCurrentRecord(lane, true);
        const QString nextFile = l->fetch ? l->fetch->DetailFileName(site, n, 0) : QString();
        l->next = (l->fetch && l->fetch->IsDetailCached(site, n, 0)) ? TLotRecord::FromFile(nextFile)
                                                                     : TLotRecord();
        if (e != 0) {
            const bool notCached = !(
                l->fetch && l->fetch->IsPhotoCached(
                                site, n, QString::fromLatin1(m_session->CurrentSite().CarPhotoExtension), 1));
            BothViews(lane, [l, lane, notCached](TTrrFrame& v) {
                v.ShowNextLot(lane, &l->next, notCached, false);
            });
        } else {
            ShowLaneMessage(mtIgnore, lane);
            BothViews(lane, [lane](TTrrFrame& v) {
                v.ClearCurrentLot();
                v.ClearPhoto();
                v.ShowNextLot(lane, nullptr, true, false);
            });
            l->lotShown = false;
            l->lotActive = false;
        }
        if (l->fetch) {
            const TSiteInfo& s = m_session->CurrentSite();
            LoadLotImage(lane, 1,
                         l->fetch->PhotoFileName(site, e, QString::fromLatin1(s.CardPhotoExtension), 1), e,
                         site);
            LoadLotImage(lane, 0,
                         l->fetch->PhotoFileName(site, e, QString::fromLatin1(s.CarPhotoExtension), 0), e,
                         site);
        }
    } else if (e == 0) {
        ShowLaneMessage(mtIgnore, lane);
        BothViews(lane, [lane](TTrrFrame& v) {
            v.ClearCurrentLot();
            v.ClearPhoto();
            v.ShowNextLot(lane, nullptr, true, false);
        });
    }
    BothViews(lane, [](TTrrFrame& v) { v.UpdateBidButton(); });
    FetchLotPages(lane, site, e, n, f);
}

void TCenterForm::LotRefreshed(int lane, int site, int e, int n, int f) {
    LaneSession* l = Lane(lane);
    if (!l)
        return;
    PointViewsAt(lane, site, e);
    if (m_session->HasCurrentSite() && l->fetch && l->fetch->IsDetailCached(site, e, 0))
        DetailArrived(lane, l->fetch->DetailFileName(site, e, 0), e, site);
    FetchLotPages(lane, site, e, n, f);
}

void TCenterForm::LotReset(int lane) {
    LaneSession* l = Lane(lane);
    if (!l)
        return;
    l->bidStarted = l->noReserve = l->sold = l->unsold = false;
    if (l->lotShown) {
        ShowLaneMessage(mtNone, lane);
        ResetLotDisplay(lane);
    }
    BothViews(lane, [](TTrrFrame& v) { v.UpdateBidButton(); });
}

void TCenterForm::PriceChanged(int lane, int site, int e, int price, int lotFlags, int bidderFlags,
                               const QByteArray& top, const QByteArray& winner) {
    LaneSession* l = Lane(lane);
    if (!l || !m_session->HasCurrentSite() || site != m_session->CurrentSiteNumber() ||
        e != m_session->LaneExhibit(lane))
        return;
    if (!l->lotActive) {
        l->lotActive = true;
        if (l->lotShown && l->messageKind != mtSold)
            ShowLaneMessage(mtNone, lane);
    }
    BothViews(lane, [](TTrrFrame& v) { v.UpdateBidButton(); });
    const QByteArray user = m_userId.toUtf8();
    const int style = (top == user && (bidderFlags & kBitStarted)) ? 3 : 1;
    BothViews(lane, [style](TTrrFrame& v) { v.SetPriceStyle(style); });
    const int gauge = (bidderFlags & 16) ? 3 : (bidderFlags & 8) ? 2 : (bidderFlags & 4) ? 1 : 0;
    BothViews(lane, [gauge](TTrrFrame& v) { v.SetGauge(gauge); });
    if ((lotFlags & kBitWon) && !l->sold) {
        l->sold = true;
        if (winner == user && (bidderFlags & kBitStarted)) {
            SetLotStateAll(lane, 9);
            TTrrFrame& two = TwoLaneViewOf(lane);
            TTrrFrame& shown = &two != static_cast<TTrrFrame*>(m_dummy) ? two : OneLaneViewOf(lane);
            const QString exhibit = QStringLiteral("%1").arg(shown.ExhibitNo, 4, 10, QLatin1Char('0'));
            const QString amount = QString::number(price / 10.0, 'f', 1);
            ShowLaneMessage(mtSold, lane, {exhibit, amount});
        } else {
            SetLotStateAll(lane, 8);
        }
        BothViews(lane, [](TTrrFrame& v) { v.SetPriceStyle(1); });
    }
    if ((bidderFlags & kBitWon) && !l->unsold) {
        l->unsold = true;
        SetLotStateAll(lane, 10);
        BothViews(lane, [](TTrrFrame& v) { v.SetPriceStyle(1); });
    }
    if ((lotFlags & kBitStarted) && !l->bidStarted) {
        l->bidStarted = true;
        if (lotFlags & (kBitCorrection | kBitCorrection2)) {
            BothViews(lane, [l](TTrrFrame& v) { v.ShowCorrection(l->current); });
            SetLotStateAll(lane, 3);
        } else {
            SetLotStateAll(lane, 2);
        }
    }
    if ((lotFlags & kBitNoReserve) && l->bidStarted && !l->noReserve) {
        l->noReserve = true;
        BothViews(lane, [style](TTrrFrame& v) { v.SetPriceStyle(style); });
        SetLotStateAll(lane, 7);
    }
    BothViews(lane, [price](TTrrFrame& v) { v.SetPrice(price); });
}

void TCenterForm::VoiceCue(int lane, int cue) {
    LaneSession* l = Lane(lane);
    if (!l || !l->lotShown)
        return;
    const bool running = l->bidStarted && !l->sold && !l->unsold && !l->noReserve;
    if ((cue == 1 || cue == 2) && running)
        SetLotStateAll(lane, 5);
    else if ((cue == 5 || cue == 6) && running)
        SetLotStateAll(lane, 6);
    else if (cue == 3 || cue == 4)
        SetLotStateAll(lane, 11);
}

void TCenterForm::LaneCountChanged(int n) {
    for (LaneSession& l : m_lanes)
        if (l.fetch)
            l.fetch->CancelAll();
    m_lanes.clear();
    m_lanes.resize(size_t(qMax(0, n)));
    for (int lane = 0; lane < n; ++lane) {
        auto fetch = std::make_unique<TFetchDm>(m_services.cacheFolder);
        fetch->SetLaneIndex(lane);
        fetch->OnDetailDone = [this](TFetchDm*, int l, int, int site, int exhibit, int status,
                                     const QString& path) { DetailDone(l, site, exhibit, status, path); };
        fetch->OnPhotoDone = [this](TFetchDm*, int l, int kind, int site, int exhibit, int,
                                    const QString& path) { PhotoDone(l, kind, site, exhibit, path); };
        m_lanes[size_t(lane)].fetch = std::move(fetch);
    }
    m_effects->CreateLaneEffects(n, m_screen == scAuction ? m_volume : 0);
    m_laneCount = n;
}

void TCenterForm::SiteStateChanged() {
    for (int lane = 0; lane < m_session->LaneCount(); ++lane) {
        if (m_session->LaneState(lane) != -1)
            continue;
        const LaneSession* l = Lane(lane);
        BothViews(lane, [l](TTrrFrame& v) {
            if (!l || l->messageKind != mtSold)
                v.ShowMessage(mtOver, {});
            v.ClearCurrentLot();
        });
    }
}

void TCenterForm::AlarmList(int lane, const QList<AlarmItem>& list) {
    EveryView([lane, &list](TTrrFrame& v) { v.UpdateAlarmList(lane, list); });
}

TSESForm* TCenterForm::LaneEffectsPlayer(int lane) {
    return m_effects->lane(lane);
}

bool TCenterForm::LaneActiveMark(int lane) {
    return lane < m_session->LaneCount() && m_session->LaneMark(lane);
}

const TLotRecord* TCenterForm::CurrentLotRecord(int lane) {
    const LaneSession* l = Lane(lane);
    return l ? &l->current : nullptr;
}

bool TCenterForm::IsLotShown(int lane) {
    const LaneSession* l = Lane(lane);
    return l && l->lotShown;
}

TMessageType TCenterForm::LaneMessageKind(int lane) {
    const LaneSession* l = Lane(lane);
    return l ? l->messageKind : mtNone;
}

void TCenterForm::SetLaneMessageKind(int lane, TMessageType kind) {
    if (LaneSession* l = Lane(lane))
        l->messageKind = kind;
}

bool TCenterForm::IsNoReserve(int lane) {
    const LaneSession* l = Lane(lane);
    return l && l->noReserve;
}

QByteArray TCenterForm::CurrentExhibitorCode(int lane) {
    const LaneSession* l = Lane(lane);
    return l ? l->exhibitorCode : QByteArray();
}

void TCenterForm::ResetBidOffCountdown() {
    m_bidOffCountdown = m_session->BidLotQuota();
    RefreshCountdown();
}

} // namespace qev
