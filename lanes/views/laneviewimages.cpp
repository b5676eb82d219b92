#include "lanes/views/laneviewimages.h"

#include "skin/skinimages.h"

namespace qev {

LaneViewImages LaneViewImages::Load() {
    const auto load = [](const char* name) { return LoadSkinImage(QString::fromLatin1(name)); };
    LaneViewImages i;
    i.oneLaneBase = load("1_BASE");
    i.twoLaneBase = load("2_BASE");
    i.alarm = load("0_ALARM");
    i.oneLaneMessage = load("1_MESSAGE");
    i.twoLaneMessage = load("2_MESSAGE");
    i.oneLaneGaugeOn = load("1_GAUGE_ON");
    i.oneLaneGaugeOff = load("1_GAUGE_OFF");
    i.twoLaneGaugeOn = load("2_GAUGE_ON");
    i.twoLaneGaugeOff = load("2_GAUGE_OFF");
    i.oneLaneBid = load("1_BIDBUTTON");
    i.oneLaneBidMask = load("1_BIDBUTTON_MASK");
    i.twoLaneBid = load("2_BIDBUTTON");
    i.twoLaneBidMask = load("2_BIDBUTTON_MASK");
    i.toLaneA = load("1_BUTTON_ALANE");
    i.toLaneB = load("1_BUTTON_BLANE");
    i.confirmBox = load("0_CONFIRM_BOX");
    i.confirmButton = load("0_CONFIRM_BUTTON");
    return i;
}

} // namespace qev
