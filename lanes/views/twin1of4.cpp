#include "lanes/views/twin1of4.h"

namespace qev {

TWin1Of4::TWin1Of4(LaneViewHost& host, const LaneViewImages& images, QWidget* parent)
    : TLaneView(host, images, kTwoLaneLayout, parent) {}

} // namespace qev
