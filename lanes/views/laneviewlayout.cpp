#include "lanes/views/laneviewlayout.h"

namespace qev {

namespace {

constexpr const char* kGothic = "ＭＳ ゴシック";
constexpr const char* kPGothic = "ＭＳ Ｐゴシック";
constexpr int kBlue = 11954688; // (0, 106, 182)
constexpr int kWhite = 16777215;
constexpr int kBlack = 0;
constexpr int kPaleBlue = 16117467; // (219, 238, 245)
constexpr int kYellow = 6684159;    // (255, 253, 101)
constexpr int kCream = 12713727;    // (255, 254, 193)
constexpr int kLeft = 0;
constexpr int kRight = 1;
constexpr int kCentre = 2;

constexpr TextLook kAlarmRow{kPGothic, -20, true, kBlack, kYellow};
constexpr TextLook kReportCaption{kPGothic, -22, false, kBlack, kCream};
constexpr TextLook kReportValue{kPGothic, -24, true, kBlack, kCream, kRight, -1, 3};
constexpr TextLook kReportUnit{kPGothic, -20, true, kBlack, kCream, kLeft, 2, 3};

} // namespace

const LaneViewLayout kOneLaneLayout{
    .oneLane = true,
    .size = {990, 670},
    .origin = {17, 8},
    .laneStep = 0,
    .cardArea = {462, 58, 512, 512},
    .exhibitNo = {{74, 11, 79, 37}, {kGothic, -30, true, kBlue, kWhite, kCentre, 3}},
    .carInfo = {{153, 11, 740, 37}, {kPGothic, -30, false, kBlack, kWhite, kLeft, 2}},
    .alarmBadge = {901, 11, 73, 37},
    .photo = {16, 204, 430, 322},
    .message = {16, 59, 140, 36},
    .stripHeight = 36,
    .gauge = {156, 59, 150, 36},
    .bid = {307, 59, 109, 103},
    .price = {16, 96},
    .ratingOverall = {{132, 165, 169, 38}, {kPGothic, -35, true, kBlue, kPaleBlue, kCentre, 0, 3}},
    .ratingExterior = {{308, 181, 68, 22}, {kPGothic, -25, true, kBlue, kWhite, kCentre, -2}},
    .ratingInterior = {{380, 181, 66, 22}, {kPGothic, -25, true, kBlue, kWhite, kCentre, -2}},
    .nextCarLine = {{96, 538, 345, 27}, {kPGothic, -20, false, kBlack, kWhite}},
    .alarmThisLane = {{82, 634, 400, 35}, kAlarmRow},
    .report = {517, 130, 391, 345},
    .reportExhibitCaption = {{85, 122, 96, 23}, kReportCaption},
    .reportExhibit = {{189, 122, 120, 22}, kReportValue},
    .reportPriceCaption = {{85, 154, 96, 23}, {kPGothic, -22, false, kBlack, kCream, kLeft, 0, 3}},
    .reportPrice = {{189, 154, 76, 22}, {kPGothic, -24, true, kBlack, kCream, kRight}},
    .reportUnit = {{265, 154, 44, 22}, kReportUnit},
    .reportOk = {70, 248, 250, 60},
};

const LaneViewLayout kTwoLaneLayout{
    .oneLane = false,
    .size = {490, 670},
    .origin = {17, 8},
    .laneStep = 504,
    .cardArea = {7, 179, 476, 393},
    .exhibitNo = {{78, 8, 59, 43}, {kGothic, -26, true, kBlue, kWhite, kLeft, 9, 3}},
    .carInfo = {{140, 8, 268, 43}, {kPGothic, -19, false, kBlack, kWhite, kLeft, 12}},
    .alarmBadge = {410, 11, 73, 38},
    .photo = {8, 59, 160, 120},
    .message = {169, 59, 103, 33},
    .stripHeight = 33,
    .gauge = {273, 59, 111, 33},
    .bid = {385, 59, 97, 86},
    .price = {169, 93},
    .ratingOverall = {{237, 146, 147, 33}, {kPGothic, -25, true, kBlue, kPaleBlue, kCentre, 4, 3}},
    .ratingExterior = {{389, 160, 44, 19}, {kPGothic, -20, true, kBlue, kWhite, kCentre, 0, 3}},
    .ratingInterior = {{438, 160, 44, 19}, {kPGothic, -20, true, kBlue, kWhite, kCentre, 0, 3}},
    .nextCarLine = {{82, 589, 400, 34}, {kPGothic, -20, false, kBlack, kWhite, kLeft, 7}},
    .alarmThisLane = {{82, 634, 400, 35}, kAlarmRow},
    .report = {57, 206, 391, 345},
    .reportExhibitCaption = {{85, 122, 96, 23}, {kPGothic, -22, false, kBlack, kCream, kLeft, 0, 3}},
    .reportExhibit = {{189, 122, 120, 22}, kReportValue},
    .reportPriceCaption = {{85, 154, 96, 23}, {kPGothic, -22, false, kBlack, kCream, kLeft, 0, 3}},
    .reportPrice = {{189, 154, 76, 22}, kReportValue},
    .reportUnit = {{265, 154, 44, 22}, kReportUnit},
    .reportOk = {70, 244, 250, 60},
};

const OtherLaneLayout kOtherLaneLayout{
    .exhibitNo = {{82, 589, 59, 34}, {kGothic, -26, true, kBlue, kWhite}},
    .carLine = {{144, 589, 661, 34}, {kPGothic, -20, true, kBlack, kWhite}},
    .toOtherLane = {810, 589, 175, 33},
    .alarmOtherLane = {{582, 634, 400, 35}, kAlarmRow},
};

} // namespace qev
