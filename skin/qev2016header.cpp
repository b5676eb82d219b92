#include "skin/qev2016header.h"

#include "common/clock.h"
#include "skin/qev2016jpanel.h"
#include "skin/qev2016jresbutton.h"
#include "skin/qev2016orgresbutton.h"
#include "skin/skinimages.h"

#include <QEvent>
#include <QPainter>

namespace qev {

namespace {

constexpr int kUserCaptionLength = 6;

QFont HeaderFont() {
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(20);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

template <typename Button>
Button* MakeButton(QWidget* parent, const QRect& place, const QImage& strip, int cols, bool disablity) {
    auto* b = new Button(parent);
    b->setGeometry(place);
    b->SetButtonCols(cols);
    b->SetButtonDisablity(disablity);
    b->SetBitmap(strip);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

} // namespace

TQEV2016Header::TQEV2016Header(QWidget* parent)
    : QWidget(parent)
    , m_base(LoadSkinImage(QStringLiteral("QEV2016_HEADER_BASE")))
    , m_bidModeStrip(LoadSkinImage(QStringLiteral("QEV2016_HEADER_BIDMODE")))
    , m_volumeStrip(LoadSkinImage(QStringLiteral("QEV2016_HEADER_VOLUME")))
    , m_alarmSettingStrip(LoadSkinImage(QStringLiteral("QEV2016_HEADER_ALARMSETTING")))
    , m_auctionStrip(LoadSkinImage(QStringLiteral("QEV2016_HEADER_AUCTION")))
    , m_exitStrip(LoadSkinImage(QStringLiteral("QEV2016_HEADER_EXIT"))) {
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (parent)
        CreateChildren();
}

TQEV2016Header::~TQEV2016Header() = default;

QString TQEV2016Header::CountdownTextFor(int lots) {
    return QStringLiteral("あと%1台で応札offになります").arg(lots);
}

bool TQEV2016Header::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange && parentWidget())
        CreateChildren();
    return QWidget::event(event);
}

void TQEV2016Header::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (m_base.isNull())
        p.fillRect(rect(), QColor(32, 149, 211));
    else
        p.drawImage(0, 0, m_base);
}

void TQEV2016Header::CreateChildren() {
    setFixedSize(kWidth, kHeight);
    if (HasChildren())
        return;
    const QFont font = HeaderFont();

    m_userBox = new TQEV2016JPanel(this);
    // 51 pixels wide in the original layout, where six characters of the Windows Gothic fit; the
    // substitute face needs up to 78 for six digits or letters, so the box takes the room up to
    // the bid buttons and the "ID" label moves left.
    m_userBox->setGeometry(163, 11, 86, 20);
    m_userBox->setFont(font);
    m_userBox->SetFontColor(QColor(69, 105, 122));
    m_userBox->SetColor(QColor(254, 254, 254));
    m_userBox->SetAlignment(TQEV2016JPanel::AlignCenter);
    m_userBox->SetTextTop(0);
    m_userBox->SetText(m_userCaption);

    m_countdownText = new TQEV2016JPanel(this);
    m_countdownText->setGeometry(466, 13, 245, 16);
    m_countdownText->setFont(font);
    m_countdownText->SetFontColor(Qt::white);
    m_countdownText->SetColor(QColor(32, 160, 211));
    m_countdownText->SetAlignment(TQEV2016JPanel::AlignCenter);
    m_countdownText->SetTextTop(-3);
    m_countdownText->SetText(CountdownTextFor(m_countdown));

    m_bidOff = MakeButton<TQEV2016OrgResButton>(this, {251, 3, 102, 35}, m_bidModeStrip, 2, true);
    m_bidOff->SetButtonIndex(0);
    m_bidOff->SetTwoState(true);
    m_bidOff->setProperty("tag", 0);
    m_bidOn = MakeButton<TQEV2016OrgResButton>(this, {351, 3, 102, 35}, m_bidModeStrip, 2, true);
    m_bidOn->SetButtonIndex(1);
    m_bidOn->SetTwoState(true);
    m_bidOn->setProperty("tag", 1);

    m_volume = MakeButton<TQEV2016JResButton>(this, {720, 3, 41, 35}, m_volumeStrip, 4, false);
    m_volume->SetButtonCols(4);
    m_volume->SetValue(m_volumeLevel);

    m_auction = MakeButton<TQEV2016OrgResButton>(this, {767, 3, 154, 35}, m_auctionStrip, 1, true);
    m_alarmSetting = MakeButton<TQEV2016OrgResButton>(this, {767, 3, 154, 35}, m_alarmSettingStrip, 1, true);
    m_exit = MakeButton<TQEV2016OrgResButton>(this, {928, 3, 82, 35}, m_exitStrip, 1, true);

    m_bidOff->OnClick = [this](TResButton* b) { BidModeButtonClick(b); };
    m_bidOn->OnClick = [this](TResButton* b) { BidModeButtonClick(b); };
    m_volume->OnClick = [this](TResButton*) {
        m_volumeLevel = m_volume->Value();
        const auto handler = OnVolumeChange;
        if (handler)
            handler(this, m_volumeLevel);
    };
    m_alarmSetting->OnClick = [this](TResButton*) { Fire(OnAlarmSettingClick); };
    m_auction->OnClick = [this](TResButton*) { Fire(OnAuctionClick); };
    m_exit->OnClick = [this](TResButton*) { Fire(OnExitClick); };

    ApplyFlags();
}

void TQEV2016Header::ApplyFlags() {
    if (!HasChildren())
        return;
    m_bidOff->SetChecked(!m_bidMode);
    m_bidOn->SetChecked(m_bidMode);
    m_bidOff->setVisible(m_bidModeVisible);
    m_bidOn->setVisible(m_bidModeVisible);
    m_bidOff->setEnabled(m_bidModeEnabled);
    m_bidOn->setEnabled(m_bidModeEnabled);
    m_volume->setVisible(m_volumeVisible);
    m_volume->setEnabled(m_volumeEnabled);
    m_alarmSetting->setVisible(m_alarmSettingVisible);
    m_alarmSetting->setEnabled(m_alarmSettingEnabled);
    m_auction->setVisible(m_auctionVisible);
    m_auction->setEnabled(m_auctionEnabled);
    m_exit->setVisible(m_exitVisible);
    m_exit->setEnabled(m_exitEnabled);
    m_countdownText->setVisible(m_countdown > 0);
}

void TQEV2016Header::Fire(const std::function<void(TQEV2016Header*)>& event) {
    const auto handler = event;
    if (handler)
        handler(this);
}

void TQEV2016Header::BidModeButtonClick(TResButton* button) {
    if (button->Checked())
        return;
    // The guard is for the user's quick changes; what the program sets always shows.
    const qint64 now = Clock::current().nowMs();
    if (!(m_lastBidModeChangeMs && now - *m_lastBidModeChangeMs < kBidModeGuardMs)) {
        SetBidMode(button->property("tag").toInt() == 1);
        m_lastBidModeChangeMs = now;
    }
    // Also when the guard refused the change: the event then carries the unchanged mode.
    const auto handler = OnBidModeChange;
    if (handler)
        handler(this, m_bidMode);
}

void TQEV2016Header::SetUserCaption(const QString& caption) {
    m_userCaption = caption.left(kUserCaptionLength);
    if (m_userBox)
        m_userBox->SetText(m_userCaption);
}

void TQEV2016Header::SetBidMode(bool on) {
    m_bidMode = on;
    if (HasChildren()) {
        m_bidOff->SetChecked(!on);
        m_bidOn->SetChecked(on);
    }
}

void TQEV2016Header::SetBidModeEnabled(bool on) {
    if (on == m_bidModeEnabled)
        return;
    m_bidModeEnabled = on;
    if (HasChildren()) {
        m_bidOff->setEnabled(on);
        m_bidOn->setEnabled(on);
    }
}

void TQEV2016Header::SetBidModeVisible(bool on) {
    if (on == m_bidModeVisible)
        return;
    m_bidModeVisible = on;
    if (HasChildren()) {
        m_bidOff->setVisible(on);
        m_bidOn->setVisible(on);
    }
}

void TQEV2016Header::SetVolumeDisplay(int level) {
    if (level < 0 || level >= 4)
        return;
    m_volumeLevel = level;
    if (!m_volume)
        return;
    // The header reports volume only from clicks, so showing a level fires nothing of its own.
    m_volume->SetValue(level);
}

void TQEV2016Header::SetVolumeEnabled(bool on) {
    if (on == m_volumeEnabled)
        return;
    m_volumeEnabled = on;
    if (m_volume)
        m_volume->setEnabled(on);
}

void TQEV2016Header::SetAlarmSettingVisible(bool on) {
    if (on == m_alarmSettingVisible)
        return;
    m_alarmSettingVisible = on;
    if (m_alarmSetting)
        m_alarmSetting->setVisible(on);
}

void TQEV2016Header::SetAlarmSettingEnabled(bool on) {
    if (on == m_alarmSettingEnabled)
        return;
    m_alarmSettingEnabled = on;
    if (m_alarmSetting)
        m_alarmSetting->setEnabled(on);
}

void TQEV2016Header::SetAuctionVisible(bool on) {
    if (on == m_auctionVisible)
        return;
    m_auctionVisible = on;
    if (m_auction)
        m_auction->setVisible(on);
}

void TQEV2016Header::SetAuctionEnabled(bool on) {
    if (on == m_auctionEnabled)
        return;
    m_auctionEnabled = on;
    if (m_auction)
        m_auction->setEnabled(on);
}

void TQEV2016Header::SetBidOffCountdown(int lots) {
    m_countdown = lots;
    if (!m_countdownText)
        return;
    m_countdownText->SetText(CountdownTextFor(lots));
    m_countdownText->setVisible(lots > 0);
}

} // namespace qev
