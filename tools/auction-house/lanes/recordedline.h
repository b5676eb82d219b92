#pragma once

#include "tools/auction-house/lanes/bidrequest.h"
#include "tools/auction-house/lanes/routerkind.h"

#include <QByteArray>

namespace qev {

// A "BD:" or "CF:" line as a router received it, with what the router made of it.
struct RecordedLine {
    qint64 atMs = 0; // server clock
    int lane = 0;
    RouterKind router = RouterKind::Bidding;
    QByteArray code;                          // "BD" or "CF"
    QByteArray payload;                       // as received, after the ":"
    QByteArray member;                        // the member the connection identified as
    BidOutcome outcome = BidOutcome::Refused; // bids: what the lane did with it
    bool matchesWin = false;                  // confirmations: names a lot this member won
};

} // namespace qev
