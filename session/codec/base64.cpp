#include "session/codec/linecodec.h"

#include <array>

namespace qev {

namespace {

// Every byte maps to a 6-bit value; unknown characters (and "/") are 63 on purpose.
constexpr std::array<quint8, 256> makeDecodeTable() {
    std::array<quint8, 256> table{};
    for (auto& v : table)
        v = 63;
    for (int c = 'A'; c <= 'Z'; ++c)
        table[c] = static_cast<quint8>(c - 'A');
    for (int c = 'a'; c <= 'z'; ++c)
        table[c] = static_cast<quint8>(c - 'a' + 26);
    for (int c = '0'; c <= '9'; ++c)
        table[c] = static_cast<quint8>(c - '0' + 52);
    table['+'] = 62;
    return table;
}

constexpr std::array<quint8, 256> kDecode = makeDecodeTable();

inline quint32 value(const char* p, qsizetype i) {
    return kDecode[static_cast<quint8>(p[i])];
}

} // namespace

QByteArray Base64Encode(QByteArrayView bytes) {
    return bytes.toByteArray().toBase64();
}

bool TryBase64Decode(QByteArrayView text, QByteArray& out) {
    const qsizetype n = text.size();
    if (n % 4 != 0)
        return false;
    if (n == 0) {
        out.clear();
        return true;
    }
    const char* in = text.data();
    const qsizetype groups = n / 4;
    qsizetype lastBytes = 3;
    if (in[n - 2] == '=')
        lastBytes = 1;
    else if (in[n - 1] == '=')
        lastBytes = 2;

    QByteArray result(3 * (groups - 1) + lastBytes, Qt::Uninitialized);
    char* dst = result.data();
    for (qsizetype g = 0; g < groups - 1; ++g) {
        const char* p = in + 4 * g;
        const quint32 v = value(p, 0) << 18 | value(p, 1) << 12 | value(p, 2) << 6 | value(p, 3);
        *dst++ = static_cast<char>(v >> 16);
        *dst++ = static_cast<char>(v >> 8);
        *dst++ = static_cast<char>(v);
    }
    // In the last group "=" stands for zero bits; the byte count is already decided.
    const char* p = in + n - 4;
    const quint32 v = value(p, 0) << 18 | value(p, 1) << 12 | (lastBytes > 1 ? value(p, 2) << 6 : 0) |
                      (lastBytes > 2 ? value(p, 3) : 0);
    *dst++ = static_cast<char>(v >> 16);
    if (lastBytes > 1)
        *dst++ = static_cast<char>(v >> 8);
    if (lastBytes > 2)
        *dst++ = static_cast<char>(v);
    out = std::move(result);
    return true;
}

QByteArray Base64Decode(QByteArrayView text) {
    QByteArray out;
    if (!TryBase64Decode(text, out))
        throw Base64FormatError();
    return out;
}

QByteArray XorBytes(QByteArrayView bytes, quint8 key) {
    QByteArray out(bytes.size(), Qt::Uninitialized);
    const char* src = bytes.data();
    char* dst = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        dst[i] = static_cast<char>(static_cast<quint8>(src[i]) ^ key);
    return out;
}

} // namespace qev
