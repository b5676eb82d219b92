#include "skin/resbutton.h"

#include "common/clock.h"
#include "common/pumpwait.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QSoundEffect>
#include <QTimer>

namespace qev {

namespace {

// A sound the caller waits for never blocks the window longer than this.
constexpr int kSoundWaitLimitMs = 10000;

// Copies the cell over the base, letting the base show where the cell has the key colour.
QImage Compose(const QImage& cell, const QImage& base, QRgb key) {
    QImage out = cell.convertToFormat(QImage::Format_RGB32);
    const QImage under = base.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        const bool baseRow = y < under.height();
        const auto* baseLine = baseRow ? reinterpret_cast<const QRgb*>(under.constScanLine(y)) : nullptr;
        for (int x = 0; x < out.width(); ++x) {
            if ((row[x] & 0xFFFFFF) == (key & 0xFFFFFF))
                row[x] = (baseLine && x < under.width()) ? baseLine[x] : row[x];
        }
    }
    return out;
}

} // namespace

TResButton::TResButton(QWidget* parent)
    : QWidget(parent) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(255, 0, 255));
    setPalette(pal);
}

TResButton::~TResButton() = default;

void TResButton::SetBitmap(const QImage& strip) {
    m_strip = strip;
    ApplyAutoCols();
    RecomputeGeometry();
    update();
}

void TResButton::SetClickSoundFile(const QString& file) {
    m_clickSoundFile = file;
}

void TResButton::SetClickSoundWait(bool wait) {
    m_clickSoundWait = wait;
}

void TResButton::SetTwoState(bool on) {
    m_twoState = on;
    update();
}

void TResButton::SetChecked(bool on) {
    m_checked = on;
    update();
}

void TResButton::SetButtonCols(int cols) {
    m_cols = cols;
    RecomputeGeometry();
    update();
}

void TResButton::SetButtonDisablity(bool on) {
    m_disablity = on;
    if (!on)
        m_couldBeDowned = false;
    RecomputeGeometry();
    update();
}

void TResButton::SetButtonCouldBeDowned(bool on) {
    // A down row only exists below the disabled row.
    m_couldBeDowned = on && m_disablity;
    RecomputeGeometry();
    update();
}

void TResButton::SetButtonIndex(int index) {
    m_index = index;
    update();
}

void TResButton::SetTransparent(bool on) {
    m_transparent = on;
    update();
}

void TResButton::SetTransparentColor(const QColor& color) {
    m_transparentColor = color;
    update();
}

void TResButton::SetTransparentBase(const QImage& base) {
    m_transparentBase = base;
    update();
}

void TResButton::SetTransparentBaseX(int x) {
    m_transparentBaseX = x;
    update();
}

void TResButton::SetTransparentBaseY(int y) {
    m_transparentBaseY = y;
    update();
}

void TResButton::SetAutoSize(bool on) {
    m_autoSize = on;
    ApplyAutoCols();
    RecomputeGeometry();
    update();
}

void TResButton::SetAutoClickInterval(int ms) {
    m_autoClickInterval = ms <= 0 ? 1 : ms;
    if (m_repeatTimer)
        m_repeatTimer->setInterval(m_autoClickInterval);
}

void TResButton::SetAutoClick(bool on) {
    if (on == m_autoClick)
        return;
    m_autoClick = on;
    if (on) {
        m_repeatTimer = std::make_unique<QTimer>();
        m_repeatTimer->setTimerType(Qt::PreciseTimer);
        m_repeatTimer->setSingleShot(true);
        m_repeatTimer->setInterval(m_autoClickInterval);
        connect(m_repeatTimer.get(), &QTimer::timeout, this, &TResButton::RepeatTimerTick);
    } else {
        m_repeatEnabled = false;
        m_repeatTimer.reset();
    }
}

void TResButton::SetDown(bool on) {
    m_down = on;
    update();
}

int TResButton::StateRows() const {
    return 2 + (m_disablity ? 1 : 0) + (m_couldBeDowned ? 1 : 0);
}

int TResButton::RowCount() const {
    return StateRows();
}

int TResButton::Row() const {
    if (m_down)
        return 3;
    if (m_disablity && !isEnabled())
        return 2;
    if (m_twoState)
        return m_checked ? 1 : 0;
    if (m_captured && m_inside)
        return 1;
    return 0;
}

void TResButton::ApplyAutoCols() {
    if (m_autoSize && !m_strip.isNull() && width() > 0)
        m_cols = m_strip.width() / width();
}

void TResButton::RecomputeGeometry() {
    if (m_strip.isNull()) {
        m_cellWidth = 0;
        m_cellHeight = 0;
        return;
    }
    m_cellWidth = m_cols > 0 ? m_strip.width() / m_cols : 0;
    m_cellHeight = m_strip.height() / StateRows();
    if (m_cellWidth > 0 && m_cellHeight > 0)
        resize(m_cellWidth, m_cellHeight);
}

void TResButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (m_strip.isNull()) {
        p.fillRect(rect(), palette().color(QPalette::Window));
        return;
    }
    const QRect cell(Column() * m_cellWidth, Row() * m_cellHeight, width(), height());
    if (m_transparent && !m_transparentBase.isNull()) {
        const QImage base =
            m_transparentBase.copy(QRect(QPoint(m_transparentBaseX, m_transparentBaseY), size()));
        p.drawImage(0, 0, Compose(m_strip.copy(cell), base, m_transparentColor.rgb()));
    } else {
        p.drawImage(QPoint(0, 0), m_strip, cell);
    }
}

void TResButton::BeginCapture() {
    m_captured = true;
    if (m_repeatTimer) {
        m_repeatEnabled = true;
        ScheduleRepeat(Clock::current().nowMs());
    }
}

void TResButton::EndCapture() {
    m_repeatEnabled = false;
    if (m_repeatTimer)
        m_repeatTimer->stop();
    m_captured = false;
}

void TResButton::SetPointerInside(bool inside) {
    if (inside == m_inside)
        return;
    m_inside = inside;
    repaint();
}

void TResButton::Press(QPoint) {
    if (m_down || m_captured || !isEnabled())
        return;
    BeginCapture();
    m_inside = true;
    repaint();
    if (m_autoClick)
        FireRepeat();
}

void TResButton::Move(QPoint pos) {
    if (m_captured)
        SetPointerInside(PointCounts(pos));
}

void TResButton::ReleaseAt(QPoint pos) {
    if (m_down || !m_captured)
        return;
    EndCapture();
    repaint();
    if (PointCounts(pos))
        Click();
}

void TResButton::CaptureLost() {
    if (!m_captured)
        return;
    EndCapture();
    update();
}

void TResButton::Click() {
    if (m_autoClick)
        return;
    PlayClickSound();
    QPointer<TResButton> self(this);
    repaint();
    if (self)
        FireClick();
}

bool TResButton::FireClick() {
    QPointer<TResButton> self(this);
    // A copy: the handler may reassign the event or destroy the button.
    const auto handler = OnClick;
    if (handler)
        handler(this);
    return !self.isNull();
}

void TResButton::ScheduleRepeat(qint64 nowMs) {
    m_nextRepeatMs = nowMs + m_autoClickInterval;
    m_repeatTimer->start(m_autoClickInterval);
}

void TResButton::RepeatTimerTick() {
    if (!m_repeatEnabled || !m_repeatTimer)
        return;
    const qint64 now = Clock::current().nowMs();
    if (now < m_nextRepeatMs) {
        // Early tick: wait for the rest of the interval.
        m_repeatTimer->start(static_cast<int>(m_nextRepeatMs - now));
        return;
    }
    m_nextRepeatMs += m_autoClickInterval;
    if (m_nextRepeatMs <= now)
        m_nextRepeatMs = now + m_autoClickInterval; // a stalled loop never catches up with a burst
    m_repeatTimer->start(static_cast<int>(m_nextRepeatMs - now));
    FireRepeat();
}

void TResButton::FireRepeat() {
    if (!m_inside)
        return;
    PlayClickSound();
    try {
        FireClick();
    } catch (...) {
        // A failing handler must not stop the repeat or reach the event loop.
    }
}

QUrl TResButton::ClickSoundSource(const QString& setting) {
    if (setting.size() >= 2 && setting.startsWith(QLatin1Char('\'')) && setting.endsWith(QLatin1Char('\''))) {
        const QString name = setting.mid(1, setting.size() - 2);
        return QUrl(QStringLiteral("qrc:/sounds/") + name + QStringLiteral(".wav"));
    }
    return QUrl::fromLocalFile(setting);
}

void TResButton::PlayClickSound() {
    if (!isEnabled() || !isVisible() || m_clickSoundFile.isEmpty())
        return;
    PlaySound(ClickSoundSource(m_clickSoundFile), m_clickSoundWait);
}

void TResButton::PlaySound(const QUrl& source, bool wait) {
    if (!m_sound)
        m_sound = std::make_unique<QSoundEffect>();
    if (m_sound->source() != source)
        m_sound->setSource(source);
    m_sound->play();
    if (wait) {
        QPointer<TResButton> self(this);
        PumpWait(
            [&] {
                return !self || m_sound->status() == QSoundEffect::Error ||
                       (m_sound->status() == QSoundEffect::Ready && !m_sound->isPlaying());
            },
            kSoundWaitLimitMs);
    }
}

void TResButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Press(event->position().toPoint());
    else
        QWidget::mousePressEvent(event);
}

void TResButton::mouseMoveEvent(QMouseEvent* event) {
    Move(event->position().toPoint());
}

void TResButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        ReleaseAt(event->position().toPoint());
    else
        QWidget::mouseReleaseEvent(event);
}

void TResButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled())
            CaptureLost();
        update();
    }
    QWidget::changeEvent(event);
}

void TResButton::hideEvent(QHideEvent* event) {
    CaptureLost();
    QWidget::hideEvent(event);
}

bool TResButton::event(QEvent* event) {
    if (event->type() == QEvent::UngrabMouse || event->type() == QEvent::WindowDeactivate)
        CaptureLost();
    return QWidget::event(event);
}

} // namespace qev
