#pragma once

#include "tools/auction-house/houseconfig.h"

#include <QByteArray>
#include <QList>

namespace qev {

// What the data server tells every client about the lanes, in plain form (the server scrambles
// each line): alarm lists and information lines.
namespace HouseBulletins {

// Longest alarm list sent for a lane; keeps the line well under a client's line limit.
constexpr int kMaxAlarmEntries = 500;

struct AlarmLot {
    int exhibit = 0;
    QByteArray text; // Shift-JIS; bytes that separate entries are replaced
};

// "AM:lane,exhibit<SOH>text<SOH>member,member/..." with the lots still to come in running order,
// each naming the members who watch it. Lots beyond kMaxAlarmEntries are left out.
QByteArray AlarmList(int lane, const QList<AlarmLot>& lots, const QList<HouseWatch>& watches);

// One lane's state as the information line carries it.
struct LaneInformation {
    int siteNumber = 0;
    int lane = 0;
    int laneState = -3; // -1 ended, 0 a lot on the block, above 0 opening time hhmm
    QByteArray code;
    int exhibit = 0; // 0: no lot
    int price = 0;   // thousands of yen
    int lotFlags = 0;
    int bidderFlags = 0;
    int position = 0; // of the lot in the running order, from 1
    int lotsDone = 0; // lots that have ended
    int timeFrom = 0; // hhmmss
    int timeTo = 0;   // hhmmss
    int lotsSold = 0;
    int lotsLeft = 0; // after the lot on the block
};

// One lane's information line:
// "site,lane,state,code,exhibit,price,lotFlags,bidderFlags,position,lotsDone,from,to,sold,left".
QByteArray InformationLine(const LaneInformation& info);
// "NI:" with every lane's line, separated by "|".
QByteArray Information(const QList<LaneInformation>& lanes);

} // namespace HouseBulletins

} // namespace qev
