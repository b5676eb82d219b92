#include "skin/textimage.h"

#include <QFontMetrics>
#include <QPainter>

namespace qev {

namespace {

// Keeps the text image bounded whatever text a server sends.
constexpr int kMaxTextImageWidth = 16384;

QFont Scaled(const QFont& font, int factor, int charExtra) {
    QFont f(font);
    if (font.pixelSize() > 0)
        f.setPixelSize(font.pixelSize() * factor);
    else
        f.setPointSizeF(font.pointSizeF() * factor);
    f.setLetterSpacing(QFont::AbsoluteSpacing, charExtra * factor);
    return f;
}

} // namespace

QFont WithSmoothing(const QFont& font, bool smooth) {
    QFont f(font);
    f.setStyleStrategy(smooth ? QFont::PreferAntialias : QFont::PreferDefault);
    return f;
}

int SpaceHeight(const QFont& font) {
    return QFontMetrics(font).height();
}

QImage BuildTextImage(const QString& text, const QFont& font, int charExtra, const QColor& textColor,
                      const QColor& background) {
    const QFontMetrics big(Scaled(font, 4, charExtra));
    const int width = qMin(big.horizontalAdvance(text) / 4 + 1, kMaxTextImageWidth);
    const int height = big.height() / 4 + 1;
    QImage image(qMax(width, 1), qMax(height, 1), QImage::Format_RGB32);
    image.fill(background);
    if (text.isEmpty())
        return image;
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const QFont small = Scaled(font, 1, charExtra);
    p.setFont(small);
    p.setPen(textColor);
    p.drawText(0, QFontMetrics(small).ascent(), text);
    return image;
}

} // namespace qev
