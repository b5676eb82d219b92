#pragma once

#include "artwork.h"

namespace qev::art {

// "QEV2016_HEADER_…": the bar's background and its button strips.
QList<Named> HeaderImages();

} // namespace qev::art
