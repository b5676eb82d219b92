#include "tools/auction-house/lanes/auctionlanes.h"

#include "tools/auction-house/lanes/laneengine.h"
#include "tools/auction-house/lanes/lanerouter.h"
#include "tools/auction-house/lanes/scriptedfeed.h"

namespace qev {

AuctionLanes::AuctionLanes(QObject* parent)
    : QObject(parent) {}

AuctionLanes::~AuctionLanes() {
    Close();
}

bool AuctionLanes::OpenRouters(Lane& lane, const QHostAddress& address) {
    lane.bidding = new LaneRouter(RouterKind::Bidding, *lane.feed, &m_recorder, this);
    lane.watch = new LaneRouter(RouterKind::Watch, *lane.feed, &m_recorder, this);
    return lane.bidding->Listen(address) && lane.watch->Listen(address);
}

bool AuctionLanes::OpenLive(const QList<LaneEngineConfig>& lanes, const QHostAddress& address) {
    Close();
    for (LaneEngineConfig config : lanes) {
        config.lane = LaneCount();
        Lane lane;
        lane.engine = new LaneEngine(config, this);
        lane.feed = lane.engine;
        m_lanes.push_back(lane);
        if (!OpenRouters(m_lanes.back(), address)) {
            Close();
            return false;
        }
    }
    return true;
}

bool AuctionLanes::OpenScripted(const Scenario& scenario, int laneCount, const QHostAddress& address) {
    Close();
    for (int i = 0; i < qBound(0, laneCount, Scenario::kMaxLanes); ++i) {
        Lane lane;
        lane.script = new ScriptedFeed(i, scenario, this);
        lane.feed = lane.script;
        m_lanes.push_back(lane);
        if (!OpenRouters(m_lanes.back(), address)) {
            Close();
            return false;
        }
    }
    return true;
}

void AuctionLanes::Run() {
    for (const Lane& lane : m_lanes) {
        if (lane.engine)
            lane.engine->Start();
        if (lane.script)
            lane.script->Start();
    }
}

void AuctionLanes::Close() {
    // Routers first: they listen to the feeds.
    for (Lane& lane : m_lanes) {
        delete lane.bidding;
        delete lane.watch;
    }
    for (Lane& lane : m_lanes)
        delete lane.feed;
    m_lanes.clear();
}

LaneFeed& AuctionLanes::Feed(int lane) const {
    return *m_lanes.at(static_cast<size_t>(lane)).feed;
}

LaneEngine* AuctionLanes::Engine(int lane) const {
    return m_lanes.at(static_cast<size_t>(lane)).engine;
}

ScriptedFeed* AuctionLanes::Script(int lane) const {
    return m_lanes.at(static_cast<size_t>(lane)).script;
}

LaneRouter& AuctionLanes::Router(int lane, RouterKind kind) const {
    const Lane& entry = m_lanes.at(static_cast<size_t>(lane));
    return kind == RouterKind::Bidding ? *entry.bidding : *entry.watch;
}

QByteArray AuctionLanes::RouterAddress(int lane, RouterKind kind) const {
    const LaneRouter& router = Router(lane, kind);
    return router.Address().toString().toLatin1() + ':' + QByteArray::number(router.Port());
}

} // namespace qev
