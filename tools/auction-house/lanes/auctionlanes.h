#pragma once

#include "tools/auction-house/lanes/bidrecorder.h"
#include "tools/auction-house/lanes/laneengineconfig.h"
#include "tools/auction-house/lanes/routerkind.h"
#include "tools/auction-house/lanes/scenario.h"

#include <QHostAddress>
#include <QObject>
#include <vector>

namespace qev {

class LaneEngine;
class LaneFeed;
class LaneRouter;
class ScriptedFeed;

// The lanes of an auction house: per lane a feed (live engine or script), a bidding router and
// a watch router on ephemeral ports, and one recorder of bids and confirmations for all.
class AuctionLanes final : public QObject {
    Q_OBJECT
public:
    explicit AuctionLanes(QObject* parent = nullptr);
    ~AuctionLanes() override;

    // Builds live lanes and opens their routers; false (and nothing open) when a router cannot listen.
    bool OpenLive(const QList<LaneEngineConfig>& lanes,
                  const QHostAddress& address = QHostAddress(QHostAddress::LocalHost));
    // Builds laneCount scripted lanes playing the scenario.
    bool OpenScripted(const Scenario& scenario, int laneCount,
                      const QHostAddress& address = QHostAddress(QHostAddress::LocalHost));
    // Starts the feeds (the auction begins).
    void Run();
    void Close();

    int LaneCount() const { return static_cast<int>(m_lanes.size()); }
    LaneFeed& Feed(int lane) const;
    LaneEngine* Engine(int lane) const;   // null for scripted lanes
    ScriptedFeed* Script(int lane) const; // null for live lanes
    LaneRouter& Router(int lane, RouterKind kind) const;
    // "host:port" of a router, as the sign-in server announces it.
    QByteArray RouterAddress(int lane, RouterKind kind) const;
    BidRecorder& Recorder() { return m_recorder; }

private:
    struct Lane {
        LaneFeed* feed = nullptr; // children of this
        LaneEngine* engine = nullptr;
        ScriptedFeed* script = nullptr;
        LaneRouter* bidding = nullptr;
        LaneRouter* watch = nullptr;
    };
    bool OpenRouters(Lane& lane, const QHostAddress& address);

    std::vector<Lane> m_lanes;
    BidRecorder m_recorder;
};

} // namespace qev
