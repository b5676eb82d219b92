#include "session/codec/linecodec.h"

#include <QRandomGenerator>

namespace qev {

QByteArray LineScramble(QByteArrayView text) {
    return LineScramble(text, static_cast<quint8>(QRandomGenerator::global()->bounded(256)));
}

QByteArray LineScramble(QByteArrayView text, quint8 key) {
    QByteArray bytes = XorBytes(text, key);
    bytes.append(static_cast<char>(key));
    return Base64Encode(bytes);
}

QByteArray LineUnscramble(QByteArrayView text) {
    QByteArray bytes;
    if (text.isEmpty() || !TryBase64Decode(text, bytes) || bytes.size() <= 1)
        return {};
    const auto key = static_cast<quint8>(bytes.back());
    return XorBytes(QByteArrayView(bytes).first(bytes.size() - 1), key);
}

} // namespace qev
