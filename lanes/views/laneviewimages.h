#pragma once

#include <QImage>

namespace qev {

// The lane views' pictures, loaded once and shared by all four views (QImage shares the
// pixels; the one-lane frame alone is about 5 MB decoded).
struct LaneViewImages {
    QImage oneLaneBase;
    QImage twoLaneBase;
    QImage alarm;
    QImage oneLaneMessage;
    QImage twoLaneMessage;
    QImage oneLaneGaugeOn;
    QImage oneLaneGaugeOff;
    QImage twoLaneGaugeOn;
    QImage twoLaneGaugeOff;
    QImage oneLaneBid;
    QImage oneLaneBidMask;
    QImage twoLaneBid;
    QImage twoLaneBidMask;
    QImage toLaneA;
    QImage toLaneB;
    QImage confirmBox;
    QImage confirmButton;

    static LaneViewImages Load();
};

} // namespace qev
