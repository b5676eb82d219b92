#include "skin/qev2016jpanel.h"

#include "skin/textimage.h"

#include <QEvent>
#include <QPainter>

namespace qev {

TQEV2016JPanel::TQEV2016JPanel(QWidget* parent)
    : QWidget(parent)
    , m_borderColor(palette().color(QPalette::Button)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    ApplySmoothing();
}

void TQEV2016JPanel::SetText(const QString& text) {
    m_text = text;
    setWindowTitle(m_text);
    repaint();
}

void TQEV2016JPanel::SetBackImage(const QImage& image) {
    m_backImage = image;
    update();
}

void TQEV2016JPanel::SetUseBackImage(bool on) {
    m_useBackImage = on;
    update();
}

void TQEV2016JPanel::SetBackFromOrigin(bool on) {
    m_backFromOrigin = on;
    update();
}

void TQEV2016JPanel::SetSmoothFont(bool on) {
    m_smoothFont = on;
    ApplySmoothing();
    update();
}

void TQEV2016JPanel::SetCharExtra(int extra) {
    m_charExtra = extra;
    update();
}

void TQEV2016JPanel::SetAlignment(int alignment) {
    m_alignment = alignment;
    update();
}

void TQEV2016JPanel::SetTextTop(int top) {
    m_textTop = top;
    update();
}

void TQEV2016JPanel::SetAutoSizeToText(bool on) {
    m_autoSize = on;
    if (on) {
        const QImage image = TextImage();
        resize(image.width(), image.height());
    }
    update();
}

void TQEV2016JPanel::SetBorderColor(const QColor& color) {
    m_borderColor = color;
    update();
}

void TQEV2016JPanel::SetColor(const QColor& color) {
    m_color = color;
    update();
}

void TQEV2016JPanel::SetFontColor(const QColor& color) {
    m_fontColor = color;
    update();
}

QImage TQEV2016JPanel::TextImage() const {
    return BuildTextImage(m_text, font(), m_charExtra, m_fontColor, m_color);
}

QPoint TQEV2016JPanel::TextPosition() const {
    const int imageWidth = TextImage().width();
    int x = 0;
    if (m_alignment == AlignRight)
        x = width() - imageWidth;
    else if (m_alignment == AlignCenter)
        x = (width() - imageWidth) / 2;
    int y = m_textTop;
    if (y == kCentreHigh || y == kCentreLow)
        y = (height() - SpaceHeight(font())) / 2;
    return {x, y};
}

void TQEV2016JPanel::paintEvent(QPaintEvent*) {
    // Qt's backing store is the off-screen buffer: nothing half-drawn reaches the screen.
    QPainter p(this);
    if (HasBackImage()) {
        const QPoint from = m_backFromOrigin ? QPoint(0, 0) : pos();
        p.fillRect(rect(), m_color);
        const QRect source = QRect(from, size()).intersected(m_backImage.rect());
        if (!source.isEmpty())
            p.drawImage(source.topLeft() - from, m_backImage, source);
    } else {
        p.fillRect(rect(), m_color);
    }
    p.drawImage(TextPosition(), TextImage());
}

void TQEV2016JPanel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange && !m_settingFont)
        ApplySmoothing();
    QWidget::changeEvent(event);
}

void TQEV2016JPanel::ApplySmoothing() {
    const QFont::StyleStrategy wanted = m_smoothFont ? QFont::PreferAntialias : QFont::PreferDefault;
    if (font().styleStrategy() == wanted)
        return;
    m_settingFont = true;
    setFont(WithSmoothing(font(), m_smoothFont));
    m_settingFont = false;
}

} // namespace qev
