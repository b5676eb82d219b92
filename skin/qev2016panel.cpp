#include "skin/qev2016panel.h"

#include "skin/textimage.h"

#include <QEvent>
#include <QPainter>

namespace qev {

namespace {

// Trailing blanks and control characters are never shown (server texts are often padded).
QString CutTrailing(const QString& text) {
    qsizetype n = text.size();
    while (n > 0 && text.at(n - 1).unicode() <= 0x20)
        --n;
    return text.left(n);
}

} // namespace

TQEV2016Panel::TQEV2016Panel(QWidget* parent)
    : QWidget(parent)
    , m_borderColor(palette().color(QPalette::Button)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_settingFont = true;
    setFont(WithSmoothing(font(), true));
    m_settingFont = false;
}

void TQEV2016Panel::SetText(const QString& text) {
    m_text = CutTrailing(text);
    setWindowTitle(m_text);
    Layout();
    repaint();
}

void TQEV2016Panel::SetCharExtra(int extra) {
    m_charExtra = extra;
    Layout();
    update();
}

void TQEV2016Panel::SetBorder(bool on) {
    m_border = on;
    update();
}

void TQEV2016Panel::SetBorderColor(const QColor& color) {
    m_borderColor = color;
    update();
}

void TQEV2016Panel::SetBorderWidth(int width) {
    if (width <= 0)
        return;
    m_borderWidth = width;
    update();
}

void TQEV2016Panel::SetTextOffset(int offset) {
    m_textOffset = offset;
    if (TextImage().width() > width())
        update();
}

void TQEV2016Panel::SetSeparator(const QString& separator) {
    m_separator = separator;
    Layout();
    update();
}

void TQEV2016Panel::SetColor(const QColor& color) {
    m_color = color;
    Invalidate();
}

void TQEV2016Panel::SetFontColor(const QColor& color) {
    m_fontColor = color;
    Invalidate();
}

const QImage& TQEV2016Panel::TextImage() {
    if (!m_laidOut)
        Layout();
    return m_textImage;
}

int TQEV2016Panel::TextTop() {
    if (!m_laidOut)
        Layout();
    return m_textTop;
}

void TQEV2016Panel::Layout() {
    m_textImage = BuildTextImage(m_text, font(), m_charExtra, m_fontColor, m_color);
    if (m_textImage.width() > width())
        m_textImage = BuildTextImage(m_text + m_separator, font(), m_charExtra, m_fontColor, m_color);
    m_textTop = (height() - SpaceHeight(font())) / 2;
    m_laidOut = true;
}

void TQEV2016Panel::Invalidate() {
    m_laidOut = false;
    update();
}

void TQEV2016Panel::paintEvent(QPaintEvent*) {
    if (!m_laidOut)
        Layout();
    QPainter p(this);
    p.fillRect(rect(), m_color);
    p.drawImage(m_textOffset, m_textTop, m_textImage);
    if (m_border) {
        const int h = m_borderWidth / 2;
        const int k = (m_borderWidth + 1) / 2;
        const int w = width();
        const int ht = height();
        QPen pen(m_borderColor, m_borderWidth);
        pen.setJoinStyle(Qt::MiterJoin);
        p.setPen(pen);
        const QPoint pts[] = {{h, h}, {w - k, h}, {w - k, ht - k}, {h, ht - k}};
        p.drawPolygon(pts, 4);
    }
}

void TQEV2016Panel::resizeEvent(QResizeEvent*) {
    m_laidOut = false;
}

void TQEV2016Panel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange && !m_settingFont) {
        // Every font the panel gets is drawn smooth.
        m_settingFont = true;
        setFont(WithSmoothing(font(), true));
        m_settingFont = false;
        Invalidate();
    }
    QWidget::changeEvent(event);
}

} // namespace qev
