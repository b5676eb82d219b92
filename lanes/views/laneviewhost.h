#pragma once

#include "lanes/views/messagetype.h"

#include <QByteArray>

namespace qev {

class TLotRecord;
class TSESForm;

// What the lane views ask of the window that owns them. Every query takes the lane index and
// answers a neutral value for a lane beyond the session's lane count.
class LaneViewHost {
public:
    virtual ~LaneViewHost() = default;

    // The lane's effect sounds; looked up on every use because the sets are rebuilt when the
    // lane count changes. Null when the lane has none.
    virtual TSESForm* LaneEffectsPlayer(int lane) = 0;
    // The session's active mark of the lane: bidding on its lot is open.
    virtual bool LaneActiveMark(int lane) = 0;
    // The lane's current lot record; null when the window holds none.
    virtual const TLotRecord* CurrentLotRecord(int lane) = 0;
    // The current lot's record has been read since the lot was entered.
    virtual bool IsLotShown(int lane) = 0;
    virtual TMessageType LaneMessageKind(int lane) = 0;
    virtual void SetLaneMessageKind(int lane, TMessageType kind) = 0;
    // The lot is being sold without reserve.
    virtual bool IsNoReserve(int lane) = 0;
    // The exhibitor's member code of the lane's current lot; empty when it has no record.
    virtual QByteArray CurrentExhibitorCode(int lane) = 0;
    // The user bid: the bid-off countdown starts again and its display follows.
    virtual void ResetBidOffCountdown() = 0;
    // The window's own click sound.
    virtual void PlayClickSound() = 0;
};

} // namespace qev
