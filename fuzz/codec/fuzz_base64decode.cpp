// Base64 text from the network: decoding never fails except on length, and its output size
// follows from the text alone.
#include "session/codec/linecodec.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QByteArray bytes;
    try {
        bytes = qev::Base64Decode(text);
    } catch (const qev::Base64FormatError&) {
        if (text.size() % 4 == 0)
            std::abort();
        return 0;
    }
    if (text.size() % 4 != 0)
        std::abort();
    if (!text.isEmpty()) {
        const qsizetype full = 3 * (text.size() / 4);
        if (bytes.size() > full || bytes.size() < full - 2)
            std::abort();
    }
    // What we decode, we encode and decode back unchanged.
    if (qev::Base64Decode(qev::Base64Encode(bytes)) != bytes)
        std::abort();
    return 0;
}
