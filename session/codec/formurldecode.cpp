#include "session/codec/linecodec.h"

namespace qev {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

// QByteArray::fromPercentEncoding keeps a bad escape as it is and leaves "+" alone; the servers'
// form encoding needs both the other way, so this stays a small loop.
QByteArray FormUrlDecode(QByteArrayView text) {
    QByteArray out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = text[i];
        if (c == '%') {
            if (n - i < 3) {
                out.append('\0');
                break;
            }
            const int hi = hexValue(text[i + 1]);
            const int lo = hexValue(text[i + 2]);
            out.append(hi < 0 || lo < 0 ? '\0' : static_cast<char>(hi * 16 + lo));
            i += 2;
        } else if (c == '+') {
            out.append(' ');
        } else {
            out.append(c);
        }
    }
    return out;
}

} // namespace qev
