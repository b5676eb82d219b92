#include "lanes/wirefields.h"

#include <limits>

namespace qev {

int ReadDecimal(QByteArrayView text, int fallback) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return fallback;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return fallback;
        value = value * 10 + (c - '0');
        if (value > qint64(std::numeric_limits<int>::max()) + 1)
            return fallback;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return fallback;
    return int(value);
}

QByteArray TrimBlanks(QByteArrayView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && quint8(text[begin]) <= 0x20)
        ++begin;
    while (end > begin && quint8(text[end - 1]) <= 0x20)
        --end;
    return text.sliced(begin, end - begin).toByteArray();
}

QByteArray SplitHead(QByteArray& text, char separator) {
    const qsizetype at = text.indexOf(separator);
    QByteArray head;
    if (at < 0) {
        head = text;
        text.clear();
    } else {
        head = text.left(at);
        text.remove(0, at + 1);
    }
    return head;
}

namespace {
bool IsLeadByte(quint8 b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
} // namespace

QByteArray WidenFullWidthSpaces(QByteArrayView text) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const quint8 b = quint8(text[i]);
        if (IsLeadByte(b) && i + 1 < text.size()) {
            if (b == 0x81 && quint8(text[i + 1]) == 0x40)
                out.append("  ", 2);
            else
                out.append(text.sliced(i, 2));
            ++i;
        } else {
            out.append(char(b));
        }
    }
    return out;
}

} // namespace qev
