#pragma once

#include "common/clock.h"
#include "session/procsdm.h"
#include "tools/auction-house/auctionhouse.h"
#include "tools/auction-house/lanes/auctionlanes.h"

#include <memory>

namespace qev {

// A session signed in as member 1001 to scripted lanes of the local auction house, on a manual
// clock, both lanes on their bidding routers; lane 0 has lot 105 of site 12 on the block at 100.0.
class SignedInSession {
public:
    SignedInSession();
    ~SignedInSession();

    ManualClock clock;
    ScopedClock scoped{clock};
    AuctionLanes lanes;
    std::unique_ptr<AuctionHouse> house;
    std::unique_ptr<TProcsDm> dm;

    bool Start();
    // Moves both lanes to the router kind and waits until they are there.
    bool Route(TRouterType kind);
    // A price line on lane 0 (both routers) that the session has taken in.
    bool Price(int price);
    int BidsAtRouter();

private:
    QByteArray ServerDay() const;
};

} // namespace qev
