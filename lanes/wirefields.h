#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace qev {

// Field reading shared by the lot record and the lane status lines. Wire text is Shift-JIS
// bytes; nothing here splits a double-byte character.

// A strict decimal integer: optional sign, then digits only, within 32 bits; otherwise fallback.
int ReadDecimal(QByteArrayView text, int fallback);

// Removes leading and trailing bytes up to and including the blank (controls too).
QByteArray TrimBlanks(QByteArrayView text);

// Cuts the text before the first separator off text and returns it; without a separator the
// whole text is the head and text becomes empty.
QByteArray SplitHead(QByteArray& text, char separator);

// Replaces every full-width space (Shift-JIS 81 40) by two blanks, walking whole characters
// so that a trail byte followed by "@" is never taken for one.
QByteArray WidenFullWidthSpaces(QByteArrayView text);

} // namespace qev
