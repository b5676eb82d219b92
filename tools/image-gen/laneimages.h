#pragma once

#include "artwork.h"

namespace qev::art {

// The lane views' pictures: frames, bid buttons and masks, message strips, gauges, the lane
// switch, the won-bid report and the alarm badge ("0_…", "1_…", "2_…").
QList<Named> LaneImages();

} // namespace qev::art
