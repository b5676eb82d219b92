// Scrambled lane and data lines: any bytes unscramble to one byte less than they decode to,
// or to nothing, and scrambling gives them back.
#include "session/codec/linecodec.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QByteArray plain = qev::LineUnscramble(text);
    QByteArray decoded;
    if (!qev::TryBase64Decode(text, decoded) || decoded.size() <= 1) {
        if (!plain.isEmpty())
            std::abort();
    } else if (plain.size() != decoded.size() - 1) {
        std::abort();
    }
    // The input read as a plain line survives the round trip.
    if (qev::LineUnscramble(qev::LineScramble(text)) != text.toByteArray())
        std::abort();
    return 0;
}
