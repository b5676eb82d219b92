#pragma once

#include "tools/auction-house/catalogue/cataloguelot.h"

#include <QImage>
#include <QSize>

namespace qev {

// Draws a lot's exhibit card (the inspection sheet): the lot's facts and grades, the notes
// and a top view of the car with the inspector's damage marks.
class ExhibitCardPainter {
public:
    static QImage Paint(const CatalogueLot& lot, QSize size = QSize(1024, 1024));
};

} // namespace qev
