#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace qev {

// Cuts the text before the first sep off s and returns it; s keeps what follows the separator.
// Without a separator (or with an empty one) the whole of s is the head and s becomes empty,
// so reading past the last field gives empty fields.
QByteArray SplitHead(QByteArray& s, QByteArrayView sep);

// Volume level 0..3 to hundredths of a decibel; anything else is silent.
int VolumeToAttenuation(int level);

// base + floor(r * count) with r uniform in [0, 1).
int RandomInRange(int base, int count);

// Lot numbers as shown: at least four digits; empty for anything below 1 or not a number.
QByteArray FormatLotNumber(QByteArrayView text);

QByteArray IncludeTrailingSlash(const QByteArray& text);
QString IncludeTrailingSlash(const QString& text);

} // namespace qev
