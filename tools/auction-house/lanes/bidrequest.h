#pragma once

#include <QByteArray>

namespace qev {

// A member's bid as the bidding router read it.
struct BidRequest {
    QByteArray member; // plain member number
    int siteNumber = 0;
    int exhibit = 0;
    int price = 0; // thousands of yen
};

enum class BidOutcome {
    Accepted,
    NotBidding,  // no lot on the block, bidding not open yet, or the lot is closed
    WrongLot,    // site or exhibit is not the lot on the block
    StalePrice,  // the price moved on before the bid arrived
    AlreadyTop,  // the member already holds the current price
    NotAnswered, // the feed plays a script and does not take bids
    Refused,     // watch router, unknown member or malformed line
};

const char* BidOutcomeName(BidOutcome outcome);

} // namespace qev
