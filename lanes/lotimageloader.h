#pragma once

#include "lanes/jpegdecoder.h"
#include "lanes/photoslotpool.h"

#include <QString>

namespace qev {

// Turns downloaded pictures into photo slots: the car photo scaled to the main picture and
// the thumbnail, the exhibit card's top-left corner into the large picture.
class TLotImageLoader {
public:
    enum Kind { CarPhoto = 0, ExhibitCard = 1 };

    explicit TLotImageLoader(TPhotoSlotPool& pool)
        : m_pool(pool) {}

    // Loads the picture at path into the slot of (site, lot, lane) and returns that slot. A
    // missing file clears the picture; a file that does not decode leaves the slot as it was.
    TImageHolder& LoadLotImage(int lane, int kind, const QString& path, int lot, int site);

    // The steps on their own, for callers that hold the bytes already.
    static bool LoadCarPhoto(TImageHolder& slot, const QImage& decoded);
    static bool LoadExhibitCard(TImageHolder& slot, const QImage& decoded);

private:
    TPhotoSlotPool& m_pool;
    TJpegDecoder m_decoder;
};

} // namespace qev
