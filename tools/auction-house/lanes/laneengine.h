#pragma once

#include "tools/auction-house/lanes/laneengineconfig.h"
#include "tools/auction-house/lanes/lanefeed.h"
#include "tools/auction-house/lanes/lotresult.h"

#include <QRandomGenerator>
#include <QTimer>

namespace qev {

// The live auction of one lane: lots one after another, floor bidders, member bids, results.
//
// Lines it produces (plain, before scrambling), per lot:
//   "EN:site,exhibit,next,after,start,correction,noReserveLot,position"  lot on the block
//   "GR:site,next"                       details of the next lot may be fetched
//   "FP:site,next,NNNN..."               members (4-char groups) whose watched lot is next
//   "FC:site,exhibit,ANNNN..."           member flags ("A"/"B" + number) for the lot on the block
//   "LE:<as EN>", "LG:site,next"         occasional re-sent announcement and prefetch
//   "PR:site,exhibit,price,lotFlags,bidderFlags,top,winner,serverTime"
//        lot flags: 2 bidding, 8 sold without reserve from here on, 16 correction, 1 sold
//        bidder flags: 2 someone leads (top), 4/8/16 gauge, 1 not sold
//   "RV:n"  voice cues: 1, 2 gauge rising, 5 reserve met, 6 last call, 3 sold, 4 not sold
//   "RB:"   the lot restarts from its start price
// before the first lot "AP:hhmm" (opening time) when configured; at the end
// "EN:site,0,0,0,0,0,0,0" then "AS:9".
class LaneEngine final : public LaneFeed {
    Q_OBJECT
public:
    enum class Phase { Idle, Waiting, Announced, Opening, Bidding, Result, Ended };

    explicit LaneEngine(LaneEngineConfig config, QObject* parent = nullptr);

    // Runs the lane on its timer at the configured pace.
    void Start();
    void Stop();
    // One step of the lane, without the timer; returns the ms until the next step, -1 at the end.
    int Step();
    // Timer handler.
    void OnTimer();

    Phase CurrentPhase() const { return m_phase; }
    int CurrentExhibit() const;
    int CurrentPrice() const { return m_price; }
    QByteArray TopBidder() const { return m_top; }
    int GaugeFlags() const { return m_gauge; }
    // Exhibits still to come after the lot on the block, in order.
    QList<int> UpcomingExhibits() const;
    // 0 for the lot on the block, 1 for the next one ...; -1 when passed or not in this lane.
    int PlacesUntil(int exhibit) const;
    // Watched lots that are on the block or at most `places` lots away.
    QList<WatchEntry> WatchesWithin(int places) const;
    const QList<LotResult>& Results() const { return m_results; }
    const LaneEngineConfig& Config() const { return m_config; }

    int Lane() const override { return m_config.lane; }
    QList<QByteArray> Snapshot() const override;
    BidOutcome SubmitBid(const BidRequest& bid) override;
    bool IsWin(const QByteArray& member, int siteNumber, int exhibit, int price) const override;
    void CurrentLot(int& siteNumber, int& exhibit, int& price) const override;

signals:
    void lotEntered(int lane, int exhibit);
    void lotClosed(int lane, const qev::LotResult& result);
    void laneEnded(int lane);

private:
    const AuctionLot& Lot() const { return m_config.lots.at(m_index); }
    int ExhibitAt(int index) const;
    int Announce();
    void Open();
    int BidStep();
    int KnockDown();
    void EndLane();
    void FloorBid();
    void TakeLead(const QByteArray& bidder);
    void SendPrice(int lotFlags, int bidderFlags, const QByteArray& winner);
    void SendBiddingPrice();
    void SendCalls();
    void Emit(const QByteArray& line);
    int Chance(int percent);

    LaneEngineConfig m_config;
    QTimer m_timer;
    QRandomGenerator m_rng;
    Phase m_phase = Phase::Idle;
    int m_index = -1;
    int m_price = 0;
    QByteArray m_top;
    int m_gauge = 0;
    int m_floorLeft = 0;
    int m_bidsThisLot = 0;
    int m_resetAfterBids = -1; // a planned reset, after that many bids; -1 none
    bool m_reserveMet = false;
    QByteArray m_lastAnnouncement;
    QByteArray m_lastPrice;
    QList<LotResult> m_results;
};

} // namespace qev
