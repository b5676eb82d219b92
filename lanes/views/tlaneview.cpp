#include "lanes/views/tlaneview.h"

#include "audio/device/sesform.h"
#include "common/imageholder.h"
#include "lanes/views/alarmrows.h"
#include "lanes/views/cardarea.h"
#include "lanes/views/laneviewhost.h"
#include "lanes/views/laneviewimages.h"
#include "lanes/views/picturebox.h"
#include "lanes/views/viewstyle.h"
#include "lanes/widgets/auctiongauge.h"
#include "lanes/widgets/qev2016pricepanel.h"
#include "session/procsdm.h"
#include "skin/qev2016grespanel.h"
#include "skin/qev2016jpanel.h"
#include "skin/qev2016panel.h"
#include "skin/qev2016resbutton.h"

namespace qev {

namespace {

constexpr int kBidRepeatMs = 3000;
constexpr int kReportOkRepeatMs = 500;
constexpr int kNoticeColour = 11954688;

template <typename Panel> void SetTextIfChanged(Panel& panel, const QString& text) {
    if (panel.Text() != text)
        panel.SetText(text);
}

template <typename Panel> Panel* MakeText(QWidget* parent, const TextPlace& place, const char* name) {
    auto* panel = new Panel(parent);
    panel->setObjectName(QString::fromLatin1(name));
    ApplyLook(*panel, place);
    return panel;
}

} // namespace

void ApplyLook(TQEV2016JPanel& panel, const TextPlace& place) {
    const TextLook& l = place.look;
    panel.setGeometry(place.rect);
    panel.setFont(LayoutFont(l.family, l.height, l.bold));
    panel.SetFontColor(LayoutColor(l.fontColor));
    panel.SetColor(LayoutColor(l.color));
    panel.SetAlignment(l.alignment);
    panel.SetTextTop(l.textTop);
    panel.SetCharExtra(l.charExtra);
}

void ApplyLook(TQEV2016Panel& panel, const TextPlace& place) {
    const TextLook& l = place.look;
    panel.setGeometry(place.rect);
    panel.setFont(LayoutFont(l.family, l.height, l.bold));
    panel.SetFontColor(LayoutColor(l.fontColor));
    panel.SetColor(LayoutColor(l.color));
    panel.SetCharExtra(l.charExtra);
}

TLaneView::TLaneView(LaneViewHost& host, const LaneViewImages& images, const LaneViewLayout& layout,
                     QWidget* parent)
    : TTrrFrame(host, parent)
    , m_images(images)
    , m_layout(layout) {
    BuildParts();
}

TLaneView::~TLaneView() = default;

void TLaneView::SetupView(QWidget* panel, TProcsDm* session) {
    SetupCommon(panel, session);
    move(m_layout.origin + QPoint(Lane * m_layout.laneStep, 0));
    resize(m_layout.size);
    m_base->SetSourceX(Lane * m_layout.size.width());
    const QRect& card = m_layout.cardArea;
    CreateCardArea(this, card.x(), card.y(), card.width(), card.height());
    SetupOwnParts();
    // The report stays above everything, the card area included.
    m_report->raise();
    ResetLane();
    show();
}

void TLaneView::BuildParts() {
    const LaneViewLayout& l = m_layout;
    const bool one = l.oneLane;
    resize(l.size);

    m_base = new TQEV2016GResPanel(this);
    m_base->setObjectName(QStringLiteral("WinBase"));
    m_base->setGeometry(0, 0, l.size.width(), l.size.height());
    m_base->SetImage(one ? m_images.oneLaneBase : m_images.twoLaneBase);

    m_exhibitNo = MakeText<TQEV2016JPanel>(this, l.exhibitNo, "LblItemExhibitNo");
    m_carInfo = MakeText<TQEV2016JPanel>(this, l.carInfo, "CarInfo");

    m_badge = new TQEV2016GResPanel(this);
    m_badge->setObjectName(QStringLiteral("PnlAlarm"));
    m_badge->setGeometry(l.alarmBadge);
    m_badge->SetImage(m_images.alarm);

    m_photo = new TPictureBox(this);
    m_photo->setObjectName(QStringLiteral("ImgCurrCar"));
    m_photo->setGeometry(l.photo);

    m_message = new TQEV2016GResPanel(this);
    m_message->setObjectName(QStringLiteral("PnlMessage"));
    m_message->setGeometry(l.message);
    m_message->SetImage(one ? m_images.oneLaneMessage : m_images.twoLaneMessage);

    m_gauge = new TAuctionGauge(this);
    m_gauge->setObjectName(QStringLiteral("GgBid"));
    m_gauge->setGeometry(l.gauge);
    m_gauge->SetBitmapOn(one ? m_images.oneLaneGaugeOn : m_images.twoLaneGaugeOn);
    m_gauge->SetBitmapOff(one ? m_images.oneLaneGaugeOff : m_images.twoLaneGaugeOff);

    // The designed rectangle first: the strip's columns follow from the button's width.
    m_bid = new TQEV2016ResButton(this);
    m_bid->setObjectName(QStringLiteral("Bid"));
    m_bid->setGeometry(l.bid);
    m_bid->setCursor(Qt::PointingHandCursor);
    m_bid->SetClickSoundWait(false);
    m_bid->SetTwoState(false);
    m_bid->SetChecked(false);
    m_bid->SetAutoSize(true);
    m_bid->SetButtonCols(1);
    m_bid->SetButtonDisablity(true);
    m_bid->SetButtonCouldBeDowned(false);
    m_bid->SetButtonIndex(0);
    m_bid->SetTransparent(false);
    m_bid->SetTransparentColor(QColor(255, 255, 255));
    m_bid->SetTransparentBaseX(0);
    m_bid->SetTransparentBaseY(0);
    m_bid->SetAutoClickInterval(kBidRepeatMs);
    m_bid->SetAutoClick(true);
    m_bid->SetBitmap(one ? m_images.oneLaneBid : m_images.twoLaneBid);
    m_bid->SetMask(one ? m_images.oneLaneBidMask : m_images.twoLaneBidMask);
    m_bid->OnClick = [this](TResButton*) { BidClick(); };

    m_price = new TQEV2016PricePanel(this);
    m_price->setObjectName(QStringLiteral("Price"));
    m_price->SetOneLane(one);
    m_price->move(l.price);

    m_overall = MakeText<TQEV2016JPanel>(this, l.ratingOverall, "PnlRatingSogo");
    m_exterior = MakeText<TQEV2016JPanel>(this, l.ratingExterior, "PnlRatingGaiso");
    m_interior = MakeText<TQEV2016JPanel>(this, l.ratingInterior, "PnlRatingNaiso");
    m_next = MakeText<TQEV2016JPanel>(this, l.nextCarLine, "LblNextShamei");
    m_alarmRow = MakeText<TQEV2016Panel>(this, l.alarmThisLane, "PnlAlarmThisLane");

    // Our own addition: a lane that waits, fetches or has ended says so instead of staying blank.
    m_notice = MakeText<TQEV2016JPanel>(this, l.carInfo, "PnlLaneNotice");
    m_notice->SetFontColor(LayoutColor(kNoticeColour));
    m_notice->hide();

    m_report = new TQEV2016JPanel(this);
    m_report->setObjectName(QStringLiteral("PnlReport"));
    m_report->setGeometry(l.report);
    m_report->SetBackImage(m_images.confirmBox);
    m_report->SetBackFromOrigin(true);
    m_report->hide();
    MakeText<TQEV2016JPanel>(m_report, l.reportExhibitCaption, "PnlRakusatsuExhibitNo")
        ->SetText(QStringLiteral("出品番号"));
    m_reportExhibit = MakeText<TQEV2016JPanel>(m_report, l.reportExhibit, "PnlNotifyRakusatsuExhibitNo");
    MakeText<TQEV2016JPanel>(m_report, l.reportPriceCaption, "PnlRakusatsuPrice")
        ->SetText(QStringLiteral("落札金額"));
    m_reportPrice = MakeText<TQEV2016JPanel>(m_report, l.reportPrice, "PnlNotifyRakusatsuPrice");
    MakeText<TQEV2016JPanel>(m_report, l.reportUnit, "PnlRakusatsuUnit")->SetText(QStringLiteral("万円"));

    m_reportOk = new TResButton(m_report);
    m_reportOk->setObjectName(QStringLiteral("ReportOk"));
    m_reportOk->setGeometry(l.reportOk);
    m_reportOk->setCursor(Qt::PointingHandCursor);
    m_reportOk->SetAutoSize(false);
    m_reportOk->SetButtonCols(1);
    m_reportOk->SetButtonDisablity(true);
    m_reportOk->SetAutoClickInterval(kReportOkRepeatMs);
    m_reportOk->SetAutoClick(false);
    m_reportOk->SetBitmap(m_images.confirmButton);
    m_reportOk->OnClick = [this](TResButton*) { ReportOkClick(); };
}

void TLaneView::Finalize() {
    m_thisLaneAlarms.clear();
    TTrrFrame::Finalize();
}

void TLaneView::ResetLane() {
    TTrrFrame::ResetLane();
    ClearCurrentLot();
    ClearNextLot();
    ClearPhoto();
    UpdateBidButton();
    if (m_badge->SourceY() != 0)
        m_badge->SetSourceY(0);
    m_currentExhibit = -1;
}

void TLaneView::RefreshLayout() {
    m_price->Refresh();
}

void TLaneView::RepaintPrice() {
    m_price->repaint();
}

void TLaneView::SetAutoBidInterval(int ms) {
    m_bid->SetAutoClickInterval(ms);
}

void TLaneView::ClearCurrentLot() {
    SetTextIfChanged(*m_exhibitNo, QString());
    m_gauge->SetValue(0);
    SetLotState(1);
    ShowGrades({}, {}, {});
    SetPrice(-1);
    SetPriceStyle(1);
    SetTextIfChanged(*m_carInfo, QString());
    SetCorrectionText(QString());
}

void TLaneView::ClearNextLot() {
    m_nextExhibit = 0;
    SetTextIfChanged(*m_next, QString());
    m_next->show();
}

void TLaneView::ClearPhoto() {
    m_photo->ClearPicture();
    ClearCardArea();
}

void TLaneView::ShowCurrentLot(const TLotRecord& record, bool newLot, bool started) {
    TTrrFrame::ShowCurrentLot(record, newLot, started);
    // A lot on show is no longer waited or fetched for.
    if (ShownMessage() == mtWait || ShownMessage() == mtFetching)
        m_notice->hide();
    SetPrice(record.StartPrice());
    // The correction goes straight in: clearing it first would draw the card area twice.
    ShowCorrection(record);
    m_currentExhibit = record.ExhibitNumber();
    SetTextIfChanged(*m_exhibitNo, WireText(record.ExhibitNumberText()));
    ShowGrades(record.Value("REAL_GAISO"), record.Value("REAL_NAISO"), record.Value("REAL_HYOKA"));
    SetTextIfChanged(*m_carInfo, WireText(record.CarLine()));
    if (newLot)
        ShowThisLaneAlarm(true);
}

void TLaneView::ShowThisLaneAlarm(bool playSound) {
    const ThisLaneAlarm row = ThisLaneAlarmRow(m_thisLaneAlarms, m_currentExhibit);
    const int badgeY = row.badge ? m_images.alarm.height() / 2 : 0;
    if (m_badge->SourceY() != badgeY)
        m_badge->SetSourceY(badgeY);
    SetTextIfChanged(*m_alarmRow, row.text);
    if (row.fiveAhead && playSound)
        if (TSESForm* effects = Host().LaneEffectsPlayer(Lane))
            effects->PlayAlarm();
}

bool TLaneView::AlarmBadgeOn() const {
    return m_badge->SourceY() != 0;
}

void TLaneView::ShowNextLot(int, const TLotRecord* record, bool, bool) {
    if (record) {
        const int next = record->ExhibitNumber();
        if (next > 0)
            m_nextExhibit = next;
        SetTextIfChanged(*m_next, WireText(record->CarLine()).trimmed());
    } else {
        SetTextIfChanged(*m_next, QString());
    }
    m_next->show();
}

int TLaneView::StripIndex(int state) {
    switch (state) {
    case 2:
    case 3:
        return 1; // スタート
    case 7:
        return 2; // 売りきり
    case 8:
    case 9:
        return 3; // 落札
    case 10:
        return 4; // 流れ
    case 5:
    case 6:
        return -1;
    default:
        return 0;
    }
}

void TLaneView::SetLotState(int state) {
    if (state == LotState())
        return;
    const int strip = StripIndex(state);
    if (strip >= 0 && m_message->SourceY() != strip * m_layout.stripHeight)
        m_message->SetSourceY(strip * m_layout.stripHeight);
    StoreLotState(quint8(state));
    UpdateBidButton();
}

void TLaneView::SetPriceStyle(int style) {
    if (style == PriceStyle())
        return;
    m_price->SetMark(style == 3);
    StorePriceStyle(quint8(style));
}

void TLaneView::SetPrice(int price) {
    TTrrFrame::SetPrice(price);
    if (m_price->Value() != price)
        m_price->SetValue(price);
}

void TLaneView::SetGauge(int value) {
    TTrrFrame::SetGauge(value);
    if (m_gauge->Value() != value)
        m_gauge->SetValue(value);
}

void TLaneView::ShowGrades(const QByteArray& exterior, const QByteArray& interior,
                           const QByteArray& overall) {
    SetTextIfChanged(*m_exterior, WireText(exterior));
    SetTextIfChanged(*m_interior, WireText(interior));
    SetTextIfChanged(*m_overall, WireText(overall));
}

void TLaneView::ShowCorrection(const TLotRecord& record) {
    SetCorrectionText(WireText(record.Correction()));
}

bool TLaneView::BidConditionsHold() {
    LaneViewHost& host = Host();
    TProcsDm* session = Session();
    const TConnectionStatus status = session ? session->LaneStatus(Lane) : nsDisconnected;
    const TLotRecord* record = host.CurrentLotRecord(Lane);
    const QByteArray member = session ? session->MemberNumber() : QByteArray();
    const int state = LotState();
    return host.IsLotShown(Lane) && host.LaneActiveMark(Lane) && host.LaneMessageKind(Lane) != mtSold &&
           status == icsConnectedBD && member != host.CurrentExhibitorCode(Lane) &&
           ShownMessage() != mtOver && !(record && record->BidLocked()) && !(state >= 8 && state <= 11) &&
           !(ChecksReportOpen() && ReportOpen());
}

void TLaneView::UpdateBidButton() {
    const bool enable = BidConditionsHold();
    if (enable == m_bid->isEnabled())
        return;
    m_bid->CaptureLost(); // a held button stops repeating
    m_bid->setEnabled(enable);
    m_bid->update();
}

void TLaneView::ShowMessage(TMessageType kind, const QStringList& texts) {
    TTrrFrame::ShowMessage(kind, texts);
    if (kind == ShownMessage())
        return;
    m_report->hide();
    if (kind == mtSold) {
        m_report->move((m_base->width() - m_report->width()) / 2,
                       (m_base->height() - m_report->height()) / 2);
        m_reportExhibit->SetText(texts.value(0));
        m_reportPrice->SetText(texts.value(1));
        m_report->show();
        m_report->raise();
        CaptureReport();
        m_report->update();
        SetReportOpen(true);
        UpdateBidButton();
    } else if (kind == mtOver) {
        TimeMessageBox().start(kLaneOverMs);
    }
    StoreShownMessage(kind);
    const QString notice = NoticeText(kind, texts);
    if (notice.isEmpty()) {
        m_notice->hide();
    } else {
        SetTextIfChanged(*m_notice, notice);
        m_notice->show();
        m_notice->raise();
    }
    UpdateBidButton();
}

QString TLaneView::NoticeText(TMessageType kind, const QStringList& texts) {
    switch (kind) {
    case mtWait:
        return texts.value(0);
    case mtFetching:
        return QStringLiteral("出品情報を取得しています");
    case mtOver:
        return QStringLiteral("このレーンのオークションは終了しました");
    default:
        return {};
    }
}

void TLaneView::CloseReport(int, int siteNumber, int exhibit, int price) {
    if (ShownMessage() == mtSold && siteNumber == ReportSiteNumber() && exhibit == ReportExhibit() &&
        price == ReportPrice())
        ShowMessage(mtNone, {});
    SetReportOpen(false);
    UpdateBidButton();
}

void TLaneView::UpdateAlarmList(int lane, const QList<AlarmItem>& list) {
    if (lane == Lane)
        m_thisLaneAlarms = list;
}

void TLaneView::ShowPhoto(int kind, const TImageHolder& slot) {
    if (!slot.HasKey(SiteNumber, ExhibitNo, Lane))
        return;
    if (kind == 0)
        m_photo->CopyFrom(m_layout.oneLane ? slot.Main() : slot.Thumbnail());
    else if (kind == 1)
        SetCardPicture(&slot.Large());
}

} // namespace qev
