#include "skin/qev2016orgresbutton.h"

namespace qev {

TQEV2016OrgResButton::TQEV2016OrgResButton(QWidget* parent)
    : TResButton(parent) {}

} // namespace qev
