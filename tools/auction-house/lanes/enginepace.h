#pragma once

namespace qev {

// How long each step of a lot lasts, in milliseconds of real time.
struct EnginePace {
    int announceMs = 1500; // lot on the block -> opening price
    int openingMs = 2000;  // opening price -> bidding starts
    int bidStepMs = 700;   // between floor bids
    int gaugeStepMs = 900; // between gauge levels once bidding goes quiet
    int resultMs = 3000;   // sold / unsold shown -> next lot

    // The pace of a real lane: a lot takes some fifteen to forty seconds.
    static EnginePace Live() { return {}; }
    // Lots in a few dozen milliseconds, for tests.
    static EnginePace Fast() { return {2, 2, 3, 2, 2}; }
};

} // namespace qev
