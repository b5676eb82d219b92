#include "common/imageholder.h"

namespace qev {

TImageHolder::TImageHolder()
    : m_main(MainSize, QImage::Format_RGB888)
    , m_thumbnail(ThumbnailSize, QImage::Format_RGB888)
    , m_large(LargeSize, QImage::Format_RGB888) {
    ClearMain();
    ClearLarge();
}

void TImageHolder::ClearMain() {
    m_main.fill(ClearColour);
    m_thumbnail.fill(ClearColour);
    m_mainNeedsLoading = true;
}

void TImageHolder::ClearLarge() {
    m_large.fill(ClearColour);
    m_largeNeedsLoading = true;
}

void TImageHolder::SetKey(int site, int lot, int lane) {
    m_site = site;
    m_lot = lot;
    m_lane = lane;
}

} // namespace qev
