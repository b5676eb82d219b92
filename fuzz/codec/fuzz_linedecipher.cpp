// Enciphered sign-in lines and values: deciphering any bytes is safe, and any bytes survive
// enciphering and deciphering.
#include "session/codec/linecodec.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QByteArray plain = qev::LineDecipher(text);
    if (!text.contains('%') && plain.size() > 3 * (text.size() / 4))
        std::abort();
    if (qev::LineDecipher(qev::LineCipher(text)) != text.toByteArray())
        std::abort();
    return 0;
}
