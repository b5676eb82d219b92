#pragma once

#include "artwork.h"

namespace qev::art {

// "QEV2016_PRICEPANEL_…": digit strips (0-9 and 万円), points and the 権利 mark, both sizes.
QList<Named> PriceImages();

} // namespace qev::art
