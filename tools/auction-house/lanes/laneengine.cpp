#include "tools/auction-house/lanes/laneengine.h"

#include "common/clock.h"
#include "tools/auction-house/lanes/wirefields.h"

namespace qev {

namespace {
constexpr int kLotBidding = 2;
constexpr int kLotSold = 1;
constexpr int kLotNoReserve = 8;
constexpr int kLotCorrection = 16;
constexpr int kBidderLeads = 2;
constexpr int kBidderUnsold = 1;
constexpr int kGaugeMask = 4 | 8 | 16;
// A lot never draws more floor bids than this, whatever the config says.
constexpr int kMaxFloorBids = 1000;

QByteArray Num(int value) {
    return QByteArray::number(value);
}
} // namespace

const char* BidOutcomeName(BidOutcome outcome) {
    switch (outcome) {
    case BidOutcome::Accepted:
        return "accepted";
    case BidOutcome::NotBidding:
        return "not-bidding";
    case BidOutcome::WrongLot:
        return "wrong-lot";
    case BidOutcome::StalePrice:
        return "stale-price";
    case BidOutcome::AlreadyTop:
        return "already-top";
    case BidOutcome::NotAnswered:
        return "not-answered";
    case BidOutcome::Refused:
        return "refused";
    }
    return "?";
}

LaneEngine::LaneEngine(LaneEngineConfig config, QObject* parent)
    : LaneFeed(parent)
    , m_config(std::move(config))
    , m_rng(m_config.seed) {
    m_config.floorBidsMin = qBound(0, m_config.floorBidsMin, kMaxFloorBids);
    m_config.floorBidsMax = qBound(m_config.floorBidsMin, m_config.floorBidsMax, kMaxFloorBids);
    m_config.bidIncrement = qMax(1, m_config.bidIncrement);
    // Exhibit 0 on the wire means "no lot" and would clear the lane on every client.
    m_config.lots.removeIf([](const AuctionLot& lot) { return lot.exhibit <= 0 || lot.startPrice < 0; });
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &LaneEngine::OnTimer);
}

void LaneEngine::Start() {
    if (m_phase != Phase::Ended && !m_timer.isActive())
        m_timer.start(0);
}

void LaneEngine::Stop() {
    m_timer.stop();
}

void LaneEngine::OnTimer() {
    const int next = Step();
    if (next >= 0)
        m_timer.start(next);
}

int LaneEngine::Step() {
    switch (m_phase) {
    case Phase::Idle:
        m_phase = Phase::Waiting;
        if (m_config.openingTime > 0)
            Emit("AP:" + Num(m_config.openingTime));
        return m_config.pace.resultMs;
    case Phase::Waiting:
    case Phase::Result:
        return Announce();
    case Phase::Announced:
        Open();
        return m_config.pace.openingMs;
    case Phase::Opening:
        m_phase = Phase::Bidding;
        // A lot without reserve is for sale from its first bid on.
        m_reserveMet = Lot().reservePrice == 0;
        SendBiddingPrice();
        return m_config.pace.bidStepMs;
    case Phase::Bidding:
        return BidStep();
    case Phase::Ended:
        break;
    }
    return -1;
}

int LaneEngine::ExhibitAt(int index) const {
    return index >= 0 && index < m_config.lots.size() ? m_config.lots.at(index).exhibit : 0;
}

int LaneEngine::CurrentExhibit() const {
    switch (m_phase) {
    case Phase::Announced:
    case Phase::Opening:
    case Phase::Bidding:
    case Phase::Result:
        return ExhibitAt(m_index);
    default:
        return 0;
    }
}

QList<int> LaneEngine::UpcomingExhibits() const {
    QList<int> out;
    if (m_phase == Phase::Ended)
        return out;
    for (int i = qMax(0, m_index + 1); i < m_config.lots.size(); ++i)
        out.append(m_config.lots.at(i).exhibit);
    return out;
}

int LaneEngine::PlacesUntil(int exhibit) const {
    if (m_phase == Phase::Ended)
        return -1;
    const int current = CurrentExhibit() != 0 ? m_index : m_index + 1;
    const int offset = CurrentExhibit() != 0 ? 0 : 1;
    for (int i = qMax(0, current); i < m_config.lots.size(); ++i) {
        if (m_config.lots.at(i).exhibit == exhibit)
            return i - current + offset;
    }
    return -1;
}

QList<WatchEntry> LaneEngine::WatchesWithin(int places) const {
    QList<WatchEntry> out;
    for (const WatchEntry& watch : m_config.watches) {
        const int until = PlacesUntil(watch.exhibit);
        if (until >= 0 && until <= places)
            out.append(watch);
    }
    return out;
}

int LaneEngine::Announce() {
    ++m_index;
    if (m_index >= m_config.lots.size()) {
        EndLane();
        return -1;
    }
    const AuctionLot& lot = Lot();
    m_phase = Phase::Announced;
    m_price = 0;
    m_top.clear();
    m_gauge = 0;
    m_bidsThisLot = 0;
    m_reserveMet = false;
    m_lastPrice.clear();
    m_floorLeft = lot.floorBids >= 0
                      ? qMin(lot.floorBids, kMaxFloorBids)
                      : m_config.floorBidsMin + static_cast<int>(m_rng.bounded(static_cast<quint32>(
                                                    m_config.floorBidsMax - m_config.floorBidsMin + 1)));
    m_resetAfterBids = Chance(m_config.resetPercent) ? 1 + static_cast<int>(m_rng.bounded(3u)) : -1;

    const int next = ExhibitAt(m_index + 1);
    m_lastAnnouncement = Num(lot.siteNumber) + ',' + Num(lot.exhibit) + ',' + Num(next) + ',' +
                         Num(ExhibitAt(m_index + 2)) + ',' + Num(lot.startPrice) + ',' +
                         Num(lot.correction ? 1 : 0) + ',' + Num(lot.reservePrice == 0 ? 1 : 0) + ',' +
                         Num(m_index + 1);
    Emit("EN:" + m_lastAnnouncement);
    if (next != 0)
        Emit("GR:" + Num(lot.siteNumber) + ',' + Num(next));
    SendCalls();
    emit lotEntered(m_config.lane, lot.exhibit);
    return m_config.pace.announceMs;
}

void LaneEngine::SendCalls() {
    const AuctionLot& lot = Lot();
    const int next = ExhibitAt(m_index + 1);
    QByteArray flags;
    QByteArray called;
    for (const WatchEntry& watch : m_config.watches) {
        if (watch.member.size() != 4)
            continue;
        if (watch.exhibit == lot.exhibit && (watch.flag == 'A' || watch.flag == 'B'))
            flags += watch.flag + watch.member;
        if (next != 0 && watch.exhibit == next)
            called += watch.member;
    }
    if (!flags.isEmpty())
        Emit("FC:" + Num(lot.siteNumber) + ',' + Num(lot.exhibit) + ',' + flags);
    if (!called.isEmpty())
        Emit("FP:" + Num(lot.siteNumber) + ',' + Num(next) + ',' + called);
}

void LaneEngine::Open() {
    const AuctionLot& lot = Lot();
    m_phase = Phase::Opening;
    m_price = lot.startPrice;
    m_top.clear();
    m_gauge = 0;
    if (Chance(m_config.refreshPercent)) {
        Emit("LE:" + m_lastAnnouncement);
        const int next = ExhibitAt(m_index + 1);
        if (next != 0)
            Emit("LG:" + Num(lot.siteNumber) + ',' + Num(next));
    }
    SendPrice(lot.correction ? kLotCorrection : 0, 0, {});
}

int LaneEngine::BidStep() {
    const AuctionLot& lot = Lot();
    if (m_resetAfterBids >= 0 && m_bidsThisLot >= m_resetAfterBids) {
        // The auctioneer restarts the lot, e.g. after a disputed bid.
        m_resetAfterBids = -1;
        Emit(QByteArrayLiteral("RB:"));
        m_phase = Phase::Opening;
        m_price = lot.startPrice;
        m_top.clear();
        m_gauge = 0;
        m_reserveMet = false;
        SendPrice(lot.correction ? kLotCorrection : 0, 0, {});
        return m_config.pace.openingMs;
    }
    if (m_floorLeft > 0) {
        --m_floorLeft;
        FloorBid();
        return m_config.pace.bidStepMs;
    }
    switch (m_gauge) {
    case 0:
        m_gauge = 4;
        Emit(QByteArrayLiteral("RV:1"));
        break;
    case 4:
        m_gauge = 8;
        Emit(QByteArrayLiteral("RV:2"));
        break;
    case 8:
        m_gauge = 16;
        Emit(QByteArrayLiteral("RV:6"));
        break;
    default:
        return KnockDown();
    }
    SendBiddingPrice();
    return m_config.pace.gaugeStepMs;
}

void LaneEngine::FloorBid() {
    TakeLead(m_config.floorBidder);
}

void LaneEngine::TakeLead(const QByteArray& bidder) {
    // The top bidder holds the price shown; a new bidder takes the next step.
    if (!m_top.isEmpty())
        m_price += m_config.bidIncrement;
    m_top = bidder;
    m_gauge = 0;
    ++m_bidsThisLot;
    const AuctionLot& lot = Lot();
    if (!m_reserveMet && m_price >= lot.reservePrice) {
        m_reserveMet = true;
        Emit(QByteArrayLiteral("RV:5"));
    }
    SendBiddingPrice();
}

int LaneEngine::KnockDown() {
    const AuctionLot& lot = Lot();
    LotResult result{lot.siteNumber, lot.exhibit, m_price, {}, false};
    m_phase = Phase::Result;
    m_gauge = 0;
    if (!m_top.isEmpty() && m_reserveMet) {
        result.sold = true;
        result.winner = m_top;
        Emit(QByteArrayLiteral("RV:3"));
        SendPrice(kLotSold, kBidderLeads, m_top);
    } else {
        Emit(QByteArrayLiteral("RV:4"));
        SendPrice(0, kBidderUnsold, {});
    }
    m_results.append(result);
    emit lotClosed(m_config.lane, result);
    return m_config.pace.resultMs;
}

void LaneEngine::EndLane() {
    m_phase = Phase::Ended;
    m_lastAnnouncement.clear();
    m_lastPrice.clear();
    m_price = 0;
    m_top.clear();
    Emit("EN:" + Num(m_config.siteNumber) + ",0,0,0,0,0,0,0");
    Emit(QByteArrayLiteral("AS:9"));
    emit laneEnded(m_config.lane);
}

void LaneEngine::SendBiddingPrice() {
    const AuctionLot& lot = Lot();
    int lotFlags = kLotBidding;
    if (lot.correction)
        lotFlags |= kLotCorrection;
    if (m_reserveMet)
        lotFlags |= kLotNoReserve;
    const int bidderFlags = (m_top.isEmpty() ? 0 : kBidderLeads) | (m_gauge & kGaugeMask);
    SendPrice(lotFlags, bidderFlags, {});
}

void LaneEngine::SendPrice(int lotFlags, int bidderFlags, const QByteArray& winner) {
    const AuctionLot& lot = Lot();
    m_lastPrice = "PR:" + Num(lot.siteNumber) + ',' + Num(lot.exhibit) + ',' + Num(m_price) + ',' +
                  Num(lotFlags) + ',' + Num(bidderFlags) + ',' + m_top + ',' + winner + ',' +
                  WireDateTime(Clock::current().nowMs());
    const QByteArray line = m_lastPrice;
    Emit(line);
}

void LaneEngine::Emit(const QByteArray& line) {
    emit lineReady(line);
}

int LaneEngine::Chance(int percent) {
    return percent > 0 && static_cast<int>(m_rng.bounded(100u)) < percent;
}

QList<QByteArray> LaneEngine::Snapshot() const {
    switch (m_phase) {
    case Phase::Idle:
    case Phase::Waiting:
        if (m_config.openingTime > 0)
            return {"AP:" + Num(m_config.openingTime)};
        return {};
    case Phase::Ended:
        return {QByteArrayLiteral("AP:-1")};
    default:
        break;
    }
    QList<QByteArray> out{"EN:" + m_lastAnnouncement};
    if (!m_lastPrice.isEmpty())
        out.append(m_lastPrice);
    return out;
}

BidOutcome LaneEngine::SubmitBid(const BidRequest& bid) {
    if (bid.member.isEmpty())
        return BidOutcome::Refused;
    if (m_phase != Phase::Bidding)
        return BidOutcome::NotBidding;
    const AuctionLot& lot = Lot();
    if (bid.siteNumber != lot.siteNumber || bid.exhibit != lot.exhibit)
        return BidOutcome::WrongLot;
    if (bid.price != m_price)
        return BidOutcome::StalePrice;
    if (bid.member == m_top)
        return BidOutcome::AlreadyTop;
    TakeLead(bid.member);
    if (Chance(m_config.floorOutbidPercent))
        m_floorLeft = qMax(m_floorLeft, 1);
    // Bidding is alive again: the gauge starts over from a full step.
    if (m_timer.isActive())
        m_timer.start(m_config.pace.bidStepMs);
    return BidOutcome::Accepted;
}

bool LaneEngine::IsWin(const QByteArray& member, int siteNumber, int exhibit, int price) const {
    for (const LotResult& result : m_results) {
        if (result.sold && result.winner == member && result.siteNumber == siteNumber &&
            result.exhibit == exhibit && result.price == price)
            return true;
    }
    return false;
}

void LaneEngine::CurrentLot(int& siteNumber, int& exhibit, int& price) const {
    exhibit = CurrentExhibit();
    siteNumber = exhibit != 0 ? Lot().siteNumber : m_config.siteNumber;
    price = exhibit != 0 ? m_price : 0;
}

} // namespace qev
