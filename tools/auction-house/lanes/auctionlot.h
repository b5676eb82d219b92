#pragma once

#include <QByteArray>

namespace qev {

// One lot as the engine runs it; the house fills these from its catalogue.
struct AuctionLot {
    int siteNumber = 0;
    int exhibit = 0;
    int startPrice = 0;      // thousands of yen
    int reservePrice = 0;    // thousands of yen; 0 sells without reserve
    bool correction = false; // the inspection sheet carries a correction notice
    int floorBids = -1;      // floor bids this lot draws; -1 draws a number from the config's range
};

} // namespace qev
