#pragma once

#include "lanes/views/tlaneview.h"

namespace qev {

// The two-lane view: its own lane at half the width of the one-lane view, both lanes side by
// side on one panel; nothing about the other lane.
class TWin1Of4 : public TLaneView {
    Q_OBJECT
public:
    TWin1Of4(LaneViewHost& host, const LaneViewImages& images, QWidget* parent = nullptr);
};

} // namespace qev
