#pragma once

#include "skin/resbutton.h"

namespace qev {

// The strip button configured from code; it behaves exactly as TResButton.
class TQEV2016OrgResButton : public TResButton {
    Q_OBJECT
public:
    explicit TQEV2016OrgResButton(QWidget* parent = nullptr);
};

} // namespace qev
