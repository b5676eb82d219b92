#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <stdexcept>

namespace qev {

// Wire text is bytes (Shift-JIS passes through unchanged). Every function here is pure except
// LineScramble (one random byte) and MachineToken (today's date from the injectable clock).

class Base64FormatError : public std::runtime_error {
public:
    Base64FormatError() : std::runtime_error("Base64: Incorrect string format") {}
};

QByteArray Base64Encode(QByteArrayView bytes);
// Throws Base64FormatError when the length is not a multiple of 4.
QByteArray Base64Decode(QByteArrayView text);
// The same without throwing; false (and out untouched) when the length is not a multiple of 4.
bool TryBase64Decode(QByteArrayView text, QByteArray& out);

QByteArray XorBytes(QByteArrayView bytes, quint8 key);

QByteArray LineScramble(QByteArrayView text);
QByteArray LineUnscramble(QByteArrayView text);

QByteArray LineCipher(QByteArrayView text);
QByteArray LineDecipher(QByteArrayView text);

QByteArray FormUrlDecode(QByteArrayView text);

QByteArray MachineToken(QByteArrayView serial);

} // namespace qev
