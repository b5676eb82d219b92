#pragma once

#include "lanes/fetchdm.h"
#include "lanes/lotrecord.h"
#include "lanes/views/messagetype.h"

#include <memory>

namespace qev {

// What the window keeps per lane of the session, from the lane count's announcement on.
struct LaneSession {
    bool lotShown = false;  // the current lot's record has been read since it was entered
    bool lotActive = false; // its record was there at entry, or its first price came
    bool bidStarted = false;
    bool noReserve = false;
    bool sold = false;
    bool unsold = false;
    TMessageType messageKind = mtInitialize;
    int lastCountedLot = 0;
    TLotRecord current;
    TLotRecord next;
    // The exhibitor of this lane's lot on the block: a dealer's own lot is never his to bid on,
    // whichever lane showed a lot last.
    QByteArray exhibitorCode;
    std::unique_ptr<TFetchDm> fetch;
};

} // namespace qev
