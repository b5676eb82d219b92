// The content of an audio frame: its eight fields and the payload decoded by any codec.
#include "audio/core/cadecoder.h"
#include "audio/core/caframe.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qev;
    const QByteArrayView content(reinterpret_cast<const char*>(data), qsizetype(size));
    CaFrame frame = CaFrame::parse(content);
    CaDecoder decoder;
    QByteArrayView pcm;
    for (int codec : {frame.codec, 0, 1, 2}) {
        frame.codec = codec;
        if (decoder.decode(frame, pcm) && pcm.size() > 2 * CaDecoder::kMaxInflated)
            __builtin_trap();
    }
    return 0;
}
