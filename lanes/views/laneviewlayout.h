#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace qev {

// How a text panel of a lane view looks: face, height and weight, the layout's colour values,
// alignment (left 0, right 1, centred 2), text top and extra spacing after each character.
struct TextLook {
    const char* family;
    int height;
    bool bold;
    int fontColor;
    int color;
    int alignment = 0;
    int textTop = 0;
    int charExtra = 0;
};

struct TextPlace {
    QRect rect;
    TextLook look;
};

// Where everything of one view kind goes, in pixels of the view; the two kinds share all code
// and differ only here.
struct LaneViewLayout {
    bool oneLane;
    QSize size;
    QPoint origin; // the view's place in its panel for lane A
    int laneStep;  // added to the left per lane index
    QRect cardArea;
    TextPlace exhibitNo;
    TextPlace carInfo;
    QRect alarmBadge;
    QRect photo;
    QRect message;
    int stripHeight;
    QRect gauge;
    QRect bid;
    QPoint price;
    TextPlace ratingOverall;
    TextPlace ratingExterior;
    TextPlace ratingInterior;
    TextPlace nextCarLine;
    TextPlace alarmThisLane;
    QRect report;
    TextPlace reportExhibitCaption;
    TextPlace reportExhibit;
    TextPlace reportPriceCaption;
    TextPlace reportPrice;
    TextPlace reportUnit;
    QRect reportOk;
};

extern const LaneViewLayout kOneLaneLayout;
extern const LaneViewLayout kTwoLaneLayout;

// The one-lane view's parts about the other lane.
struct OtherLaneLayout {
    TextPlace exhibitNo;
    TextPlace carLine;
    QRect toOtherLane;
    TextPlace alarmOtherLane;
};
extern const OtherLaneLayout kOtherLaneLayout;

} // namespace qev
