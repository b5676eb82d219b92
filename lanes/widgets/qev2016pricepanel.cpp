#include "lanes/widgets/qev2016pricepanel.h"

#include "skin/skinimages.h"

#include <QPainter>

namespace qev {

namespace {

constexpr int kTextLength = 5;
constexpr int kPointAfter = 4;
constexpr int kUnitCell = 10;
// Room kept between the mark and a long price, and at the right edge.
constexpr int kMargin = 2;

} // namespace

const TQEV2016PricePanel::DigitSet TQEV2016PricePanel::kOneLaneSet = {"QEV2016_PRICEPANEL_1CH_NUMBERS",
                                                                      "QEV2016_PRICEPANEL_1CH_PERIOD",
                                                                      "QEV2016_PRICEPANEL_1CH_RIGHT",
                                                                      31,
                                                                      QSize(291, 66),
                                                                      QPoint(72, 11),
                                                                      QPoint(5, 5)};

const TQEV2016PricePanel::DigitSet TQEV2016PricePanel::kTwoLaneSet = {"QEV2016_PRICEPANEL_2CH_NUMBERS",
                                                                      "QEV2016_PRICEPANEL_2CH_PERIOD",
                                                                      "QEV2016_PRICEPANEL_2CH_RIGHT",
                                                                      24,
                                                                      QSize(215, 52),
                                                                      QPoint(48, 9),
                                                                      QPoint(2, 2)};

TQEV2016PricePanel::TQEV2016PricePanel(QWidget* parent)
    : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    SelectSet(true);
    Draw(m_value);
}

QString TQEV2016PricePanel::PriceText(int v) {
    if (v < 0)
        return QString(kTextLength, QLatin1Char(' '));
    if (v >= 1 && v <= 9)
        return QStringLiteral("   0") + QString::number(v);
    return QString::number(v).rightJustified(kTextLength, QLatin1Char(' '));
}

void TQEV2016PricePanel::SetValue(int v) {
    m_value = v;
    Draw(v);
}

void TQEV2016PricePanel::Refresh() {
    Draw(m_value);
}

void TQEV2016PricePanel::SetOneLane(bool oneLane) {
    SelectSet(oneLane);
    Refresh();
}

void TQEV2016PricePanel::SetMark(bool on) {
    m_mark = on;
    Refresh();
}

void TQEV2016PricePanel::SelectSet(bool oneLane) {
    m_oneLane = oneLane;
    const DigitSet& set = Set();
    m_numbers = LoadSkinImage(QLatin1String(set.numbers));
    m_period = LoadSkinImage(QLatin1String(set.period));
    m_markImage = LoadSkinImage(QLatin1String(set.mark));
    setFixedSize(set.panelSize);
    m_buffer = QImage(set.panelSize, QImage::Format_RGB32);
}

int TQEV2016PricePanel::DrawDigits(QImage& target, const QString& text, int x, int top, bool point) const {
    const DigitSet& set = Set();
    const int cellHeight = m_numbers.height();
    // The point goes before the last character, so there is always exactly one decimal.
    const qsizetype pointAfter = qMax<qsizetype>(text.size() - 1, kPointAfter);
    QPainter p(&target);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char(' ')) {
            const int cell = (c.unicode() - 48) % 10;
            p.drawImage(QPoint(x, top), m_numbers, QRect(cell * set.cellWidth, 0, set.cellWidth, cellHeight));
        }
        x += set.cellWidth;
        if (i + 1 == pointAfter) {
            if (point)
                p.drawImage(x, top, m_period);
            x += m_period.width();
        }
    }
    return x;
}

void TQEV2016PricePanel::Draw(int v) {
    if (m_buffer.width() == 0)
        return;
    m_buffer.fill(Qt::white);
    if (v < 0) {
        m_mark = false;
        m_value = -1;
    }
    const QString text = PriceText(v);
    const DigitSet& set = Set();
    if (m_mark) {
        QPainter p(&m_buffer);
        p.drawImage(set.markAt, m_markImage);
    }
    const QRect unitCell(kUnitCell * set.cellWidth, 0, set.cellWidth, m_numbers.height());
    if (text.size() <= kTextLength) {
        const int x = DrawDigits(m_buffer, text, set.digits.x(), set.digits.y(), v > 0);
        if (v >= 0) {
            QPainter p(&m_buffer);
            p.drawImage(QPoint(x, set.digits.y()), m_numbers, unitCell);
        }
    } else {
        // Six digits and up: all digits and one decimal, right-aligned between the mark and the
        // edge, shrunk evenly when even that is too narrow, so nothing runs past the panel.
        const int rowWidth = static_cast<int>(text.size()) * set.cellWidth + m_period.width() + set.cellWidth;
        const int rowHeight = qMax(m_numbers.height(), m_period.height());
        QImage row(rowWidth, qMax(rowHeight, 1), QImage::Format_RGB32);
        row.fill(Qt::white);
        const int x = DrawDigits(row, text, 0, 0, true);
        {
            QPainter p(&row);
            p.drawImage(QPoint(x, 0), m_numbers, unitCell);
        }
        const int left = set.markAt.x() + m_markImage.width() + kMargin;
        const int right = set.panelSize.width() - kMargin;
        const double scale = qMin(1.0, double(right - left) / rowWidth);
        const int w = qRound(rowWidth * scale);
        const int h = qRound(row.height() * scale);
        const int top = set.digits.y() + (row.height() - h) / 2;
        QPainter p(&m_buffer);
        p.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p.drawImage(QRect(right - w, top, w, h), row);
    }
    m_lastText = text;
    update();
}

void TQEV2016PricePanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (m_buffer.width() == 0)
        p.fillRect(rect(), QColor(128, 0, 0));
    else
        p.drawImage(0, 0, m_buffer);
}

void TQEV2016PricePanel::showEvent(QShowEvent* event) {
    Draw(m_value);
    QWidget::showEvent(event);
}

} // namespace qev
