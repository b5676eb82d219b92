#include "common/clock.h"
#include "session/codec/linecodec.h"
#include "session/lanechannel.h"
#include "session/procsdm.h"

#include <QTimer>
#include <cmath>
#include <limits>

namespace qev {

namespace {

// A pass handles at most this many prices; the rest waits for the 1 ms processing timer, so a
// flood of prices never keeps the event loop from its other work.
constexpr int kPricesPerPass = 5;
// Lines of any kind per pass, for the same reason (skipped prices and other lines count here).
constexpr int kLinesPerPass = 256;
// How far ahead a price looks for a newer one of the same standing.
constexpr int kNewerPriceLookahead = 16;
// Lines a lane may keep waiting; a lane further behind has failed (see LaneOverrun).
constexpr size_t kPendingLimit = 65536;
constexpr qint64 kEnRepeatMs = 2000;
constexpr int kBacklogJumpThreshold = 27000;
constexpr int kBacklogJumpLockMs = 149;

// Whole milliseconds, rounded down and held inside int (a hostile time stamp can be anything).
int WholeMs(double ms) {
    if (!(ms > -2e9))
        return std::numeric_limits<int>::min();
    if (!(ms < 2e9))
        return std::numeric_limits<int>::max();
    return static_cast<int>(std::floor(ms));
}

bool IsPrice(const LaneLine& line) {
    return line.code == "PR";
}

} // namespace

bool TProcsDm::ProcessLane(int lane) {
    LaneChannel* ch = LaneAt(lane);
    if (!ch)
        return false;
    ch->TmProcessing->stop();
    if (m_state == ssOffline) {
        ch->DropReceived(); // a closed session takes no more lane lines
        return false;
    }

    // Cut every complete piece into lines, dropping a piece that repeats the one before it.
    QByteArray piece;
    while (ch->pending.size() <= kPendingLimit && ch->receive.TakeLine(piece)) {
        const QByteArray plain = LineUnscramble(piece);
        if (plain.isEmpty() || plain == ch->lastPiece)
            continue;
        ch->lastPiece = plain;
        for (LaneLine& line : SplitLanePiece(plain)) {
            ch->pendingPrices += IsPrice(line) ? 1 : 0;
            ch->pending.push_back(std::move(line));
        }
    }
    if (ch->pending.size() > kPendingLimit) {
        LaneOverrun(*ch);
        return false;
    }

    // The backlog is the prices cut but not yet handled.
    m_maxPriceBacklog = std::max(m_maxPriceBacklog, ch->pendingPrices);
    if (m_everyPriceMode && m_maxPriceBacklog > m_priceBacklogThreshold) {
        m_everyPriceMode = false;
        m_priceJumpThreshold = kBacklogJumpThreshold;
        m_priceJumpLockMs = kBacklogJumpLockMs;
    }

    int prices = 0;
    int lines = 0;
    const quint64 closes = m_sessionCloses;
    while (!ch->pending.empty()) {
        if (prices >= kPricesPerPass || lines >= kLinesPerPass)
            return true;
        const LaneLine line = std::move(ch->pending.front());
        ch->pending.pop_front();
        ch->pendingPrices -= IsPrice(line) ? 1 : 0;
        ++lines;
        if (!HandleLaneMessage(*ch, line, prices) || SessionClosedSince(closes))
            return false;
    }
    return false;
}

bool TProcsDm::HandleLaneMessage(LaneChannel& ch, const LaneLine& line, int& prices) {
    const std::weak_ptr<int> life = m_life;
    const quint64 generation = m_laneGeneration;
    const auto alive = [&] { return !life.expired() && LaneStillThere(generation); };
    const int lane = ch.Lane;
    const QByteArray& code = line.code;
    const QByteArray& p = line.payload;

    if (code == "PR")
        return HandlePrice(ch, p, prices);
    if (code == "EN")
        return HandleLotEntered(ch, p);
    if (code == "LE")
        return HandleLotRefreshed(ch, p);
    if (code == "ST") {
        const int status = LaneIntField(p, 1, 109);
        if (status == 0) {
            // Connected: the retry timer stops now, so a drop right after the greeting is seen
            // by the closed handler and reconnected, not left to look connected.
            ch.TmConnecting->stop();
            SetLaneStatus(lane, ch.routerKind == rcBD ? icsConnectedBD : icsConnectedNB);
            if (!alive())
                return false;
            SendOnLane(lane, LaneGreetingText());
            return true;
        }
        Notice(lane, status);
        if (!alive())
            return false;
        CloseAll();
        return alive();
    }
    if (code == "GR" || code == "LG" || code == "FC" || code == "FP" || code == "FE") {
        const int site = LaneIntField(p, 1, 0);
        if (code == "GR" || code == "LG")
            ch.lotSiteNumber = site;
        if (site != m_currentSiteNumber) {
            SignOut();
            return alive();
        }
        const int field2 = LaneIntField(p, 2, 0);
        if (code == "GR")
            Fire(OnLotPrefetch, lane, site, field2);
        else if (code == "LG")
            Fire(OnLotPrefetchRefreshed, lane, site, field2);
        else if (code == "FC") {
            const int flags = MemberFlagsOf(LaneField(p, 3), m_memberNumber);
            if (flags != 0)
                Fire(OnMemberFlags, lane, site, field2, flags);
        } else if (code == "FP") {
            if (MemberAmongGroups(LaneField(p, 3), m_memberNumber))
                Fire(OnMemberCalled, lane, site, field2);
        } else {
            Fire(OnExhibitList);
        }
        return alive();
    }
    if (code == "AP") {
        SetLaneState(lane, LaneIntField(p, 1, -1));
        return alive();
    }
    if (code == "AS") {
        const int value = LaneIntField(p, 1, -1);
        if (value == 9) {
            SetLaneState(lane, kLaneStateHeld);
            if (!alive())
                return false;
        }
        if (value >= 0)
            Fire(OnAuctionStatus, lane, value);
        return alive();
    }
    if (code == "RV") {
        Fire(OnVoiceCue, lane, LaneIntField(p, 1, 0));
        return alive();
    }
    if (code == "RB") {
        Fire(OnLotReset, lane);
        return alive();
    }
    if (code == "AM") {
        HandleAlarmList(p);
        return alive();
    }
    return true;
}

bool TProcsDm::HandleLotEntered(LaneChannel& ch, const QByteArray& payload) {
    const std::weak_ptr<int> life = m_life;
    const quint64 generation = m_laneGeneration;
    const auto alive = [&] { return !life.expired() && LaneStillThere(generation); };
    const int lane = ch.Lane;

    if (!Fire(OnAuctionStatus, lane, 0) || !alive())
        return false;
    const qint64 serverNow = LocalWallMs(Clock::current().nowMs()) + m_clockOffsetMs;
    if (payload == ch.lastEnPayload && serverNow <= ch.enRepeatUntilMs)
        return true;
    ch.lotPrice = 0;
    ch.noPriceYet = true;
    ch.topBidder.clear();
    ch.jumpLockUntilMs = 0;
    SetLaneState(lane, kLaneStateRunning);
    if (!alive())
        return false;
    const LotAnnouncement a = ReadLotAnnouncement(ch, payload);
    if (a.site() != m_currentSiteNumber) {
        SignOut();
    } else {
        const int* f = a.fields;
        Fire(OnLotEntered, lane, f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]);
    }
    if (!alive())
        return false;
    ch.lastEnPayload = payload;
    ch.enRepeatUntilMs = serverNow + kEnRepeatMs;
    return true;
}

LotAnnouncement TProcsDm::ReadLotAnnouncement(LaneChannel& ch, const QByteArray& payload) {
    const LotAnnouncement a = ParseLotAnnouncement(payload);
    ch.lotSiteNumber = a.site();
    ch.lotExhibit = a.exhibit();
    ch.lotNextExhibit = a.next();
    m_currentSite->SetCurrentExhibit(ch.Lane, a.exhibit());
    m_currentSite->SetNextExhibit(ch.Lane, a.next());
    return a;
}

bool TProcsDm::HandleLotRefreshed(LaneChannel& ch, const QByteArray& payload) {
    const std::weak_ptr<int> life = m_life;
    const quint64 generation = m_laneGeneration;
    const int lane = ch.Lane;
    if (LaneState(lane) == kLaneStateEnded) {
        Fire(OnSiteStateChanged, std::ref(*m_currentSite));
        return !life.expired() && LaneStillThere(generation);
    }
    const LotAnnouncement a = ReadLotAnnouncement(ch, payload);
    if (a.site() != m_currentSiteNumber) {
        SignOut();
    } else {
        const int* f = a.fields;
        Fire(OnLotRefreshed, lane, f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]);
    }
    return !life.expired() && LaneStillThere(generation);
}

bool TProcsDm::NewerPriceWaiting(const LaneChannel& ch, const PriceRecord& price) const {
    // Only a price that changes nothing but the amount may give way to a newer one: the lot,
    // its flags, the bidder flags and the top bidder stay as the last price left them and as
    // the newer price has them, so no change of standing is ever passed over.
    if (ch.noPriceYet || price.site != ch.lotSiteNumber || price.exhibit != ch.lotExhibit ||
        price.lotFlags != ch.lastLotFlags || price.bidderFlags != ch.lastBidderFlags ||
        price.topBidder != ch.topBidder || !price.winner.isEmpty())
        return false;
    const int n = static_cast<int>(std::min<size_t>(ch.pending.size(), kNewerPriceLookahead));
    for (int i = 0; i < n; ++i) {
        const LaneLine& line = ch.pending[static_cast<size_t>(i)];
        if (!IsPrice(line))
            continue;
        const PriceRecord newer = ParsePriceRecord(line.payload);
        return newer.site == price.site && newer.exhibit == price.exhibit &&
               newer.lotFlags == price.lotFlags && newer.bidderFlags == price.bidderFlags &&
               newer.topBidder == price.topBidder;
    }
    return false;
}

bool TProcsDm::HandlePrice(LaneChannel& ch, const QByteArray& payload, int& prices) {
    const std::weak_ptr<int> life = m_life;
    const quint64 generation = m_laneGeneration;
    const auto alive = [&] { return !life.expired() && LaneStillThere(generation); };
    const int lane = ch.Lane;

    if (!Fire(OnAuctionStatus, lane, 0) || !alive())
        return false;
    const PriceRecord r = ParsePriceRecord(payload);
    const qint64 localNow = Clock::current().nowMs();

    if (r.serverDays > 0 && m_maxPriceDelayMs > 0) {
        const double serverNow = static_cast<double>(LocalWallMs(localNow) + m_clockOffsetMs);
        const double delay = serverNow - DayCountToWallMs(r.serverDays);
        m_maxDelayMs = std::max(m_maxDelayMs, delay);
        ch.late = WholeMs(delay) >= m_maxPriceDelayMs;
        if (ch.late)
            ch.laneDelayMs = delay;
    }

    bool skip = false;
    if (!m_everyPriceMode) {
        skip = NewerPriceWaiting(ch, r);
        // Every price counts for the jump guard, skipped or not, so passing over a few steps
        // never looks like a jump. Only a step from an earlier price of the same lot can jump:
        // the first price a lane sees of a lot (after "EN", on joining mid-lot, or of a lot whose
        // "EN" never came) is measured against nothing.
        const bool sameLot = !ch.noPriceYet && r.site == ch.lotSiteNumber && r.exhibit == ch.lotExhibit;
        if (sameLot && (static_cast<qint64>(r.price) - ch.lotPrice) * 1000 > m_priceJumpThreshold)
            ch.jumpLockUntilMs = localNow + m_priceJumpLockMs;
    }
    ch.lotSiteNumber = r.site;
    ch.lotExhibit = r.exhibit;
    ch.lotPrice = r.price;
    ch.noPriceYet = false;
    ch.topBidder = r.topBidder;
    ch.lastLotFlags = r.lotFlags;
    ch.lastBidderFlags = r.bidderFlags;

    if (r.site != m_currentSiteNumber) {
        SignOut();
        return false; // the rest waits for the next pass
    }
    if (skip)
        return true;

    const bool oldMark = ch.activeMark;
    if (r.lotFlags & 2)
        ch.activeMark = true;
    else if ((r.lotFlags & 1) || (r.bidderFlags & 1))
        ch.activeMark = false;
    if (ch.activeMark != oldMark) {
        if (!Fire(OnLaneActiveChanged, lane, ch.activeMark) || !alive())
            return false;
    }
    ++prices;
    Fire(OnPriceChanged, lane, r.site, r.exhibit, r.price, r.lotFlags, r.bidderFlags, r.topBidder, r.winner);
    return alive();
}

bool TProcsDm::HandleAlarmList(const QByteArray& payload) {
    AlarmList list = ParseAlarmList(payload, m_memberNumberValue);
    LaneChannel* ch = LaneAt(list.lane);
    if (!ch)
        return true;
    ch->alarms = std::move(list.items);
    return Fire(OnAlarmList, list.lane, ch->alarms);
}

// Per-lane values.

int TProcsDm::LaneSiteNumber(int lane) const {
    const LaneChannel* ch = LaneAt(lane);
    return ch ? ch->lotSiteNumber : 0;
}

int TProcsDm::LaneExhibit(int lane) const {
    const LaneChannel* ch = LaneAt(lane);
    return ch ? ch->lotExhibit : 0;
}

int TProcsDm::LaneNextExhibit(int lane) const {
    const LaneChannel* ch = LaneAt(lane);
    return ch ? ch->lotNextExhibit : 0;
}

int TProcsDm::LanePrice(int lane) const {
    const LaneChannel* ch = LaneAt(lane);
    return ch ? ch->lotPrice : 0;
}

void TProcsDm::SetLaneSiteNumber(int lane, int value) {
    if (LaneChannel* ch = LaneAt(lane))
        ch->lotSiteNumber = value;
}

void TProcsDm::SetLaneExhibit(int lane, int value) {
    if (LaneChannel* ch = LaneAt(lane))
        ch->lotExhibit = value;
}

void TProcsDm::SetLaneNextExhibit(int lane, int value) {
    if (LaneChannel* ch = LaneAt(lane))
        ch->lotNextExhibit = value;
}

bool TProcsDm::LaneMark(int lane) const {
    const LaneChannel* ch = LaneAt(lane);
    return ch && ch->activeMark;
}

void TProcsDm::SetLaneMark(int lane, bool mark) {
    if (LaneChannel* ch = LaneAt(lane))
        ch->activeMark = mark;
}

void TProcsDm::ClearLaneMarks() {
    for (LaneChannel* ch : m_lanes)
        ch->activeMark = false;
}

bool TProcsDm::LaneLate(int lane) const {
    const LaneChannel* ch = LaneAt(lane);
    return ch && ch->late;
}

qint64 TProcsDm::LaneJumpLockUntilMs(int lane) const {
    const LaneChannel* ch = LaneAt(lane);
    return ch ? ch->jumpLockUntilMs : 0;
}

QList<AlarmItem> TProcsDm::LaneAlarms(int lane) const {
    const LaneChannel* ch = LaneAt(lane);
    return ch ? ch->alarms : QList<AlarmItem>();
}

int TProcsDm::MaxDelayMs() const {
    return WholeMs(m_maxDelayMs);
}

int TProcsDm::LaneDelayMs(int lane) const {
    const LaneChannel* ch = LaneAt(lane);
    return ch ? WholeMs(ch->laneDelayMs) : 0;
}

} // namespace qev
