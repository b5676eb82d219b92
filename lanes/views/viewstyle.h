#pragma once

#include <QByteArrayView>
#include <QColor>
#include <QFont>
#include <QString>

namespace qev {

// The layout's colour values: red in the low byte, then green, then blue (255 is red,
// 6684159 a light yellow).
QColor LayoutColor(int value);

// A face as the layout names it. A negative height is the character height in pixels; a
// positive one (never used by the views) is taken the same way.
QFont LayoutFont(const char* family, int height, bool bold);

// Shift-JIS bytes from the wire or a lot record as drawable text.
QString WireText(QByteArrayView sjis);

} // namespace qev
