#include "lanes/views/viewstyle.h"

#include <QStringDecoder>
#include <cstdlib>

namespace qev {

QColor LayoutColor(int value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

QFont LayoutFont(const char* family, int height, bool bold) {
    QFont font(QString::fromUtf8(family));
    font.setPixelSize(qMax(1, std::abs(height)));
    font.setBold(bold);
    return font;
}

QString WireText(QByteArrayView sjis) {
    if (sjis.isEmpty())
        return {};
    QStringDecoder decode("windows-31j");
    return decode(sjis);
}

} // namespace qev
