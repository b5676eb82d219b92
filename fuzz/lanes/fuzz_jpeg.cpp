// Car photos and exhibit cards are whatever the server sent: decode and place them as the
// main window does.
#include "lanes/jpegdecoder.h"
#include "lanes/lotimageloader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const qev::TJpegDecoder decoder;
    qev::TImageHolder slot;
    qev::TLotImageLoader::LoadCarPhoto(slot, decoder.Decode(bytes, {qev::TImageHolder::MainSize, {}}));
    qev::TLotImageLoader::LoadExhibitCard(slot, decoder.Decode(bytes, {{}, qev::TImageHolder::LargeSize}));
    return 0;
}
