#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace qev {

// Field n (from 1) of a ","-separated payload; empty when missing.
QByteArray WireField(QByteArrayView payload, int n);
// Field n read as a decimal integer, or fallback when empty or not a number.
int WireInt(QByteArrayView payload, int n, int fallback);
// A wall-clock time in ms since the epoch as a wire date-time: days since 30 December 1899.
QByteArray WireDateTime(qint64 epochMs);

} // namespace qev
