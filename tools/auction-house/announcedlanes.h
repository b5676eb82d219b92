#pragma once

#include "tools/auction-house/houseconfig.h"

namespace qev {

class AuctionLanes;

// Makes the house announce lanes that run on their own (scripted lanes of tests and benchmarks):
// each lane's bidding and watch router addresses go into the configuration, so the sign-in server
// names them to the client.
void AnnounceLanes(HouseConfig& config, const AuctionLanes& lanes);

} // namespace qev
