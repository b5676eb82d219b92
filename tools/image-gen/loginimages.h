#pragma once

#include "artwork.h"

namespace qev::art {

// The login screen's background, its save check box and its three button strips.
QList<Named> LoginImages();

} // namespace qev::art
