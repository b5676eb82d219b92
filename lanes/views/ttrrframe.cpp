#include "lanes/views/ttrrframe.h"

#include "audio/device/sesform.h"
#include "common/clock.h"
#include "lanes/views/cardarea.h"
#include "lanes/views/laneviewhost.h"
#include "session/procsdm.h"
#include "session/sessiontypes.h"
#include "skin/qev2016resbutton.h"

namespace qev {

TTrrFrame::TTrrFrame(LaneViewHost& host, QWidget* parent)
    : QWidget(parent)
    , m_host(host) {
    // The view's own pieces cover it: never erase to the panel colour first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    resize(879, 714);
    m_timeBD.setInterval(kBidWindowMs);
    m_timeMessageBox.setInterval(kLaneOverMs);
    connect(&m_timeBD, &QTimer::timeout, this, [this] { TimeBDTimer(); });
    connect(&m_timeMessageBox, &QTimer::timeout, this, [this] { TimeMessageBoxTimer(); });
}

TTrrFrame::~TTrrFrame() = default;

void TTrrFrame::Attach(QWidget* panel, TProcsDm* session) {
    SetupView(panel, session);
}

void TTrrFrame::SetupView(QWidget* panel, TProcsDm* session) {
    SetupCommon(panel, session);
}

void TTrrFrame::SetupCommon(QWidget* panel, TProcsDm* session) {
    setParent(panel);
    m_session = session;
    hide();
    m_record = TLotRecord();
}

void TTrrFrame::Finalize() {
    m_timeBD.stop();
    m_timeMessageBox.stop();
    m_record = TLotRecord();
    m_card.reset();
}

void TTrrFrame::ResetLane() {
    m_record = TLotRecord();
    m_messageKind = mtInitialize;
    m_messageTexts.clear();
    m_price = -1;
    m_gauge = 0;
}

void TTrrFrame::ShowCurrentLot(const TLotRecord& record, bool, bool) {
    m_record = record;
}

void TTrrFrame::ShowMessage(TMessageType kind, const QStringList& texts) {
    m_messageKind = kind;
    m_messageTexts = texts;
    m_host.SetLaneMessageKind(Lane, kind);
    if (kind == mtSold && OnConfirmationRequest && m_session) {
        const ReportEvent hook = OnConfirmationRequest;
        hook(*this, Lane, m_session->LaneSiteNumber(Lane), m_session->LaneExhibit(Lane),
             m_session->LanePrice(Lane));
    }
}

void TTrrFrame::CaptureReport() {
    m_reportSite = m_session ? m_session->LaneSiteNumber(Lane) : 0;
    m_reportExhibit = m_session ? m_session->LaneExhibit(Lane) : 0;
    m_reportPrice = m_session ? m_session->LanePrice(Lane) : 0;
}

void TTrrFrame::BidClick() {
    TQEV2016ResButton* bid = BidButton();
    if (!bid || !bid->isEnabled())
        return;
    const qint64 now = Clock::current().nowMs();
    if (now < m_lastBidClickMs + kBidWindowMs)
        return; // a refused click does not move the window
    // Once the lot sells without reserve, a bid already placed or leading needs no other.
    if (!((m_priceStyle == 2 || m_priceStyle == 3) && m_host.IsNoReserve(Lane)))
        SendBidNow();
    m_lastBidClickMs = now;
}

void TTrrFrame::SendBidNow() {
    if (TSESForm* effects = m_host.LaneEffectsPlayer(Lane))
        effects->PlayPush();
    if (m_session)
        m_session->SendBid(Lane);
    SetPriceStyle(2);
    m_timeBD.stop();
    m_timeBD.start();
    m_host.ResetBidOffCountdown();
}

void TTrrFrame::TimeBDTimer() {
    m_timeBD.stop();
    if (m_priceStyle == 2)
        SetPriceStyle(1);
}

void TTrrFrame::TimeMessageBoxTimer() {
    m_timeMessageBox.stop();
    if (m_session && m_session->LaneState(Lane) == kLaneStateHeld)
        m_session->SetLaneState(Lane, kLaneStateEnded);
}

void TTrrFrame::ReportOkClick() {
    if (TSESForm* effects = m_host.LaneEffectsPlayer(Lane))
        effects->PlayClick();
    UpdateBidButton();
    if (OnConfirm) {
        const ReportEvent hook = OnConfirm;
        hook(*this, Lane, m_reportSite, m_reportExhibit, m_reportPrice);
    }
}

void TTrrFrame::CreateCardArea(QWidget* panel, int left, int top, int width, int height) {
    m_card = std::make_unique<TCardArea>(panel, QRect(left, top, width, height));
}

void TTrrFrame::SetCorrectionText(const QString& text) {
    if (m_card)
        m_card->SetCorrectionText(text);
}

void TTrrFrame::SetCardPicture(const QImage* card) {
    if (m_card)
        m_card->SetCardPicture(card);
}

void TTrrFrame::ClearCardArea() {
    if (m_card)
        m_card->Clear();
}

void TTrrFrame::paintEvent(QPaintEvent*) {
    // Nothing of the frame itself shows: its background picture covers it.
}

} // namespace qev
