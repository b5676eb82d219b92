#pragma once

namespace qev {

// Bidding routers take bids and confirmations; watch routers only carry the lane.
enum class RouterKind { Bidding, Watch };

} // namespace qev
