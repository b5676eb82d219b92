#include "audio/core/caframe.h"

#include <charconv>

namespace qev {

namespace {

// Cuts the text before the next comma off rest; the whole rest when there is none.
QByteArrayView takeField(QByteArrayView& rest) {
    const qsizetype comma = rest.indexOf(',');
    if (comma < 0) {
        const QByteArrayView field = rest;
        rest = {};
        return field;
    }
    const QByteArrayView field = rest.first(comma);
    rest = rest.sliced(comma + 1);
    return field;
}

int fieldOr(QByteArrayView field, int fallback) {
    int v = 0;
    return CaFrame::parseInt(field, v) ? v : fallback;
}

} // namespace

bool CaFrame::parseInt(QByteArrayView field, int& value) {
    const char* first = field.data();
    const char* last = first + field.size();
    if (first != last && *first == '+')
        ++first;
    if (first == last)
        return false;
    int v = 0;
    const auto [end, ec] = std::from_chars(first, last, v, 10);
    if (ec != std::errc() || end != last)
        return false;
    value = v;
    return true;
}

CaFrame CaFrame::parse(QByteArrayView content) {
    CaFrame f;
    QByteArrayView rest = content;
    f.carriesAudio = takeField(rest) == QByteArrayView("1");
    f.codec = fieldOr(takeField(rest), Zlib);
    takeField(rest);
    takeField(rest);
    f.bits = fieldOr(takeField(rest), 0);
    f.rate = fieldOr(takeField(rest), 0);
    f.sequence = fieldOr(takeField(rest), 0);
    f.percentage = fieldOr(takeField(rest), 20);
    f.payload = rest.toByteArray();
    return f;
}

} // namespace qev
