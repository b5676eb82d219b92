#include "tools/auction-house/announcedlanes.h"

#include "tools/auction-house/lanes/auctionlanes.h"

namespace qev {

void AnnounceLanes(HouseConfig& config, const AuctionLanes& lanes) {
    for (int lane = 0; lane < int(qMin(config.lanes.size(), qsizetype(lanes.LaneCount()))); ++lane) {
        config.lanes[lane].biddingRouter = lanes.RouterAddress(lane, RouterKind::Bidding);
        config.lanes[lane].watchRouter = lanes.RouterAddress(lane, RouterKind::Watch);
    }
}

} // namespace qev
