// Form-url-encoded text: never longer than its input, and text without "%" or "+" passes
// unchanged.
#include "session/codec/linecodec.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QByteArray plain = qev::FormUrlDecode(text);
    if (plain.size() > text.size())
        std::abort();
    if (!text.contains('%') && !text.contains('+') && plain != text.toByteArray())
        std::abort();
    return 0;
}
