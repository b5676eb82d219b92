#include "app/loginpanel.h"

#include "lanes/views/viewstyle.h"
#include "skin/qev2016grespanel.h"
#include "skin/resbutton.h"
#include "skin/skinimages.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace qev {

namespace {
constexpr int kCoverColour = 13866016;
constexpr int kBoxTicked = 74;
constexpr int kButtonTop = 612;
constexpr int kMaxFieldChars = 18;
} // namespace

TLoginPanel::TLoginPanel(QWidget* parent)
    : TQEV2016JPanel(parent)
    , m_id(MakeEdit(263, 102, false))
    , m_password(MakeEdit(263, 160, true))
    , m_box(new TQEV2016GResPanel(this))
    , m_boxLabel(new QWidget(this))
    , m_oneLane(MakeButton("BUTTON_LOGIN4ONELANEMODE", 78, 308, kOneLaneTag))
    , m_twoLane(MakeButton("BUTTON_LOGIN4TWOLANEMODE", 411, 308, kTwoLaneTag))
    , m_close(MakeButton("BUTTON_LOGIN_CLOSE", 743, 201, 0))
    , m_cover(new QWidget(this)) {
    setObjectName(QStringLiteral("PanelLogin"));
    SetBackImage(LoadSkinImage(QStringLiteral("LOGIN")));
    SetBackFromOrigin(true);
    SetColor(Qt::white);
    resize(1024, 730);

    m_box->setObjectName(QStringLiteral("PnlLoginRegisterIDPW"));
    m_box->setGeometry(636, 154, 37, 37);
    m_box->SetImage(LoadSkinImage(QStringLiteral("LOGIN_CHECKBOX")));
    m_box->setCursor(Qt::PointingHandCursor);
    m_box->installEventFilter(this);
    m_boxLabel->setObjectName(QStringLiteral("LblLoginRegisterIDPW"));
    m_boxLabel->setGeometry(673, 154, 228, 37);
    m_boxLabel->setCursor(Qt::PointingHandCursor);
    m_boxLabel->installEventFilter(this);

    m_close->OnClick = [this](TResButton*) {
        if (OnClose)
            OnClose(*this);
    };

    m_cover->setObjectName(QStringLiteral("PnlLoginMekakushi"));
    m_cover->setGeometry(0, 38, 1024, 692);
    m_cover->setAutoFillBackground(true);
    QPalette coverColour = m_cover->palette();
    coverColour.setColor(QPalette::Window, LayoutColor(kCoverColour));
    m_cover->setPalette(coverColour);
    auto* launching = new QLabel(QStringLiteral("しばらくお待ちください"), m_cover);
    launching->setObjectName(QStringLiteral("LblLaunching"));
    launching->setFont(LayoutFont("ＭＳ ゴシック", -21, true));
    launching->setStyleSheet(QStringLiteral("color: white"));
    launching->setAlignment(Qt::AlignCenter);
    launching->adjustSize();
    launching->move((1024 - launching->width()) / 2, (m_cover->height() - launching->height()) / 2);
    m_cover->hide();

    connect(m_id, &QLineEdit::textChanged, this, [this] { ApplyEnablingRule(); });
    connect(m_password, &QLineEdit::textChanged, this, [this] { ApplyEnablingRule(); });
    ApplyEnablingRule();
}

QLineEdit* TLoginPanel::MakeEdit(int left, int top, bool password) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(password ? QStringLiteral("EdtLoginPassword") : QStringLiteral("EdtLoginID"));
    edit->setGeometry(left, top, 336, 25);
    edit->setFrame(false);
    edit->setFont(LayoutFont("ＭＳ ゴシック", -25, true));
    edit->setMaxLength(kMaxFieldChars);
    edit->setStyleSheet(QStringLiteral("background: white; border: none"));
    edit->setContextMenuPolicy(Qt::NoContextMenu);
    if (password)
        edit->setEchoMode(QLineEdit::Password);
    edit->installEventFilter(this);
    return edit;
}

TResButton* TLoginPanel::MakeButton(const char* strip, int left, int width, int tag) {
    // The designed width before the strip: the columns follow from it.
    auto* button = new TResButton(this);
    button->setGeometry(left, kButtonTop, width, 98);
    button->setCursor(Qt::PointingHandCursor);
    button->SetButtonCols(1);
    button->SetButtonDisablity(true);
    button->SetBitmap(LoadSkinImage(QString::fromLatin1(strip)));
    button->ParamA = tag;
    if (tag != 0) {
        button->setObjectName(tag == kOneLaneTag ? QStringLiteral("BtnLogin4OneLaneMode")
                                                 : QStringLiteral("BtnLogin4TwoLaneMode"));
        button->OnClick = [this, tag](TResButton*) {
            if (OnLogin)
                OnLogin(*this, tag);
        };
    } else {
        button->setObjectName(QStringLiteral("BtnLoginClose"));
    }
    return button;
}

void TLoginPanel::PlaceNotice(QWidget* notice) {
    m_notice = notice;
    notice->setParent(this);
    notice->setObjectName(QStringLiteral("BrowserLogin"));
    notice->setGeometry(85, 257, 852, 330);
    m_cover->raise();
}

void TLoginPanel::ShowCover(bool on) {
    m_cover->setVisible(on);
    for (QWidget* w :
         {static_cast<QWidget*>(m_id), static_cast<QWidget*>(m_password), static_cast<QWidget*>(m_oneLane),
          static_cast<QWidget*>(m_twoLane), static_cast<QWidget*>(m_box), m_boxLabel})
        w->setVisible(!on);
    if (m_notice)
        m_notice->setVisible(!on);
    if (on)
        m_cover->raise();
}

bool TLoginPanel::CoverShown() const {
    return m_cover->isVisibleTo(this);
}

void TLoginPanel::SetControlsEnabled(bool on) {
    for (QWidget* w : {static_cast<QWidget*>(m_id), static_cast<QWidget*>(m_password),
                       static_cast<QWidget*>(m_box), m_boxLabel, static_cast<QWidget*>(m_close)})
        w->setEnabled(on);
    m_busy = !on;
    if (on) {
        ApplyEnablingRule();
    } else {
        m_oneLane->setEnabled(false);
        m_twoLane->setEnabled(false);
    }
}

void TLoginPanel::ApplyEnablingRule() {
    if (m_busy)
        return; // a login under way keeps every control off
    const bool enable = !m_id->text().isEmpty() && !m_password->text().isEmpty();
    if (m_oneLane->isEnabled() == enable)
        return;
    m_oneLane->setEnabled(enable);
    m_twoLane->setEnabled(enable);
}

void TLoginPanel::SetTicked(bool ticked) {
    m_ticked = ticked;
    m_box->SetSourceY(ticked ? kBoxTicked : 0);
}

void TLoginPanel::PressBox() {
    if (OnBoxPressed)
        OnBoxPressed(*this);
    SetTicked(!m_ticked);
    m_id->setFocus();
}

bool TLoginPanel::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == m_box || watched == m_boxLabel) && event->type() == QEvent::MouseButtonPress) {
        if (static_cast<QWidget*>(watched)->isEnabled())
            PressBox();
        return true;
    }
    if ((watched == m_id || watched == m_password) && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Enter never logs in; a typed space never reaches a field.
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->text() == QStringLiteral(" "))
            return true;
    }
    return TQEV2016JPanel::eventFilter(watched, event);
}

void TLoginPanel::mousePressEvent(QMouseEvent* event) {
    m_id->setFocus();
    TQEV2016JPanel::mousePressEvent(event);
}

} // namespace qev
