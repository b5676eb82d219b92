// Information lines arrive on the data channel: one payload, lines separated by "|".
#include "lanes/lanestatusboard.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    qev::TLaneStatusBoard board;
    board.ApplyInformation(bytes);
    board.ApplyInformation(bytes);
    board.ApplyLaneLine(bytes, true);
    (void)board.IsLaneClosed(0);
    (void)board.IsLaneClosed(1);
    return 0;
}
