#pragma once

#include "tools/auction-house/catalogue/cataloguelot.h"

#include <QImage>
#include <QSize>

namespace qev {

// Draws a lot's car photo: the car from the side on the house's yard, in the lot's body
// shape and colour, with the exhibit number on a board.
class CarPhotoPainter {
public:
    static QImage Paint(const CatalogueLot& lot, QSize size = QSize(640, 480));
};

} // namespace qev
