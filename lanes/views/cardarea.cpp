#include "lanes/views/cardarea.h"

#include "lanes/views/picturebox.h"
#include "lanes/views/viewstyle.h"
#include "skin/qev2016panel.h"

#include <QPainter>

namespace qev {

namespace {
constexpr int kOutlineGrey = 8947848;
constexpr int kRed = 255;
constexpr int kBandColour = 6684159;
constexpr int kRedPen = 3;
} // namespace

TCardArea::TCardArea(QWidget* panel, const QRect& area)
    : m_area(area)
    , m_image(new TPictureBox(panel))
    , m_band(new TQEV2016Panel(panel)) {
    m_image->setObjectName(QStringLiteral("ImgExhibitCard"));
    m_image->setGeometry(area);
    m_image->Picture() = QImage(area.size(), QImage::Format_RGB32);
    m_band->setObjectName(QStringLiteral("PnlTeisei"));
    m_band->SetBorder(true);
    m_band->SetBorderColor(LayoutColor(kRed));
    m_band->SetBorderWidth(1);
    m_band->SetTextOffset(2);
    m_band->SetColor(LayoutColor(kBandColour));
    m_band->SetFontColor(Qt::black);
    m_band->setFont(LayoutFont("ＭＳ Ｐゴシック", -15, false));
    m_band->setGeometry(area.left(), area.top() + area.height() - kBandHeight, area.width(), kBandHeight);
    Draw();
}

void TCardArea::SetCorrectionText(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed == m_correction && m_band->Text() == trimmed)
        return; // nothing on screen would change
    m_correction = trimmed;
    m_band->SetText(m_correction);
    Draw();
}

void TCardArea::SetCardPicture(const QImage* card) {
    m_cardPresent = card && !card->isNull();
    m_card = m_cardPresent ? card->copy() : QImage();
    m_stretched = QImage();
    Draw();
}

void TCardArea::Clear() {
    SetCorrectionText(QString());
    SetCardPicture(nullptr);
}

QRect TCardArea::CardSquare(int w, int h, bool correction) {
    const int a = correction ? h + 1 - kBandHeight : h;
    const int s = qMin(w, a) - 4;
    return {(w - s) / 2, (a - s) / 2, s, s};
}

void TCardArea::Draw() {
    const int w = m_area.width();
    const int h = m_area.height();
    const bool correction = !m_correction.isEmpty();
    const int a = correction ? h + 1 - kBandHeight : h;
    QImage& bitmap = m_image->Picture();
    if (bitmap.size() != m_area.size())
        bitmap = QImage(m_area.size(), QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    QPainter p(&bitmap);
    const QColor grey = LayoutColor(kOutlineGrey);
    p.fillRect(0, 0, w, 1, grey);
    p.fillRect(0, a - 1, w, 1, grey);
    p.fillRect(0, 0, 1, a, grey);
    p.fillRect(w - 1, 0, 1, a, grey);
    const QRect sq = CardSquare(w, h, correction);
    if (m_cardPresent && sq.width() > 0) {
        if (m_card.size() == sq.size()) {
            p.drawImage(sq.topLeft(), m_card);
        } else {
            if (m_stretched.size() != sq.size())
                m_stretched = m_card.scaled(sq.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            p.drawImage(sq.topLeft(), m_stretched);
        }
        if (correction) {
            // A 3-pixel pen with square ends through the square's inner corners.
            const QColor red = LayoutColor(kRed);
            p.fillRect(sq.x(), sq.y(), sq.width(), kRedPen, red);
            p.fillRect(sq.x(), sq.bottom() - kRedPen + 1, sq.width(), kRedPen, red);
            p.fillRect(sq.x(), sq.y(), kRedPen, sq.height(), red);
            p.fillRect(sq.right() - kRedPen + 1, sq.y(), kRedPen, sq.height(), red);
        }
    }
    p.end();
    m_band->setVisible(correction);
    m_image->show();
    m_image->update();
}

} // namespace qev
