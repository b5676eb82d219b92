#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <stdexcept>

namespace qev {

// Wire text is bytes (Shift-JIS passes through unchanged). Every function here is pure except
// LineScramble (one random byte) and MachineToken (today's date from the injectable clock).
// None keeps state between calls. Size limits belong to the callers (line cutting), which
// never hand over more than one line.

class Base64FormatError : public std::runtime_error {
public:
    Base64FormatError()
        : std::runtime_error("Base64: Incorrect string format") {}
};

// Standard alphabet with "=" padding.
QByteArray Base64Encode(QByteArrayView bytes);
// Lenient decoding as the servers expect it: any character outside A-Z a-z 0-9 + counts as 63,
// "=" only ends the last group (third or fourth place).
// Throws Base64FormatError when the length is not a multiple of 4.
QByteArray Base64Decode(QByteArrayView text);
// The same without throwing; false (and out untouched) when the length is not a multiple of 4.
bool TryBase64Decode(QByteArrayView text, QByteArray& out);

QByteArray XorBytes(QByteArrayView bytes, quint8 key);

// XOR with a random byte that travels as the last byte, then Base64.
QByteArray LineScramble(QByteArrayView text);
// The same with a chosen key byte (known-answer tests, benchmarks).
QByteArray LineScramble(QByteArrayView text, quint8 key);
// Empty when the input is not a valid scrambled text.
QByteArray LineUnscramble(QByteArrayView text);

// CAST-128 CFB-8 under the fixed line key, every call from the same initial vector, then Base64.
QByteArray LineCipher(QByteArrayView text);
// Accepts form-url-encoded input; empty on any failure.
QByteArray LineDecipher(QByteArrayView text);

// "%XX" gives one byte (0 when XX is not hexadecimal), "+" gives a space. A "%" with fewer than
// two characters after it gives 0 and ends the text.
QByteArray FormUrlDecode(QByteArrayView text);

// Scrambled "DD" + serial right-aligned in 8 characters + "MM" of today's local date.
QByteArray MachineToken(QByteArrayView serial);

} // namespace qev
