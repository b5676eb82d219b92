#pragma once

#include "tools/auction-house/lanes/auctionlot.h"
#include "tools/auction-house/lanes/enginepace.h"
#include "tools/auction-house/lanes/watchentry.h"

#include <QByteArray>
#include <QList>

namespace qev {

struct LaneEngineConfig {
    int lane = 0;
    int siteNumber = 0; // used for the lane-end lines; each lot carries its own
    QList<AuctionLot> lots;
    EnginePace pace = EnginePace::Live();
    quint32 seed = 1;     // the same seed plays the same auction
    int bidIncrement = 3; // thousands of yen per step
    int floorBidsMin = 0;
    int floorBidsMax = 12;
    int floorOutbidPercent = 30; // chance that the floor answers a member who took the lead
    int resetPercent = 4;        // chance per lot of one reset ("RB:") during bidding
    int refreshPercent = 10;     // chance per lot of a re-sent lot announcement and prefetch
    int openingTime = 0;         // hhmm announced before the first lot; 0 announces none
    QByteArray floorBidder = QByteArrayLiteral("0000");
    QList<WatchEntry> watches;
};

} // namespace qev
