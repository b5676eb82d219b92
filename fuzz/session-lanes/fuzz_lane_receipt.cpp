// Bytes as they arrive on a lane channel and on the data channel, through the whole session
// module: cutting, unscrambling, the duplicate filter, every message and its events.
//
// Input: the first byte picks the form; the rest is lines separated by LF. Form bit 0 set: each
// line is scrambled as a router would send it, so the messages themselves are reached; clear:
// the bytes go in raw. Bit 1 picks every-price mode, bit 2 sends the lines to the data channel too.
#include "common/clock.h"
#include "session/codec/linecodec.h"
#include "session/procsdm.h"

#include <cstddef>
#include <cstdint>

using namespace qev;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const quint8 form = data[0];
    const QByteArray body(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    ManualClock clock;
    ScopedClock scoped(clock);
    TProcsDm dm;
    dm.SetMemberNumber("1234");
    dm.SignIn("127.0.0.1:1", LineCipher("1234"), LineCipher("pw"));
    dm.ReceiveSignIn(LineCipher("AN:12,2|") + '\r');
    dm.ReceiveSignIn(LineCipher((form & 2) ? "CI:0,0,300" : "CI:27000,149,300") + '\r');
    dm.SelectSite("QEV");
    int prices = 0;
    dm.OnPriceChanged = [&prices](TProcsDm&, int, int, int, int, int, int, const QByteArray&,
                                  const QByteArray&) { ++prices; };

    QByteArray wire;
    for (const QByteArray& line : body.split('\n'))
        wire += (form & 1) ? LineScramble(line, 0x5a) + '\r' : line;
    const qsizetype half = wire.size() / 2;
    for (int lane = 0; lane < 2; ++lane) {
        dm.ReceiveLane(lane, wire.left(half));
        dm.ReceiveLane(lane, wire.mid(half));
        // Every line is handled in the end: the processing timer's passes drain the queue.
        const qsizetype passes = body.count('\n') + 2; // each pass handles a line at least
        for (qsizetype pass = 0; pass < passes && dm.LaneCount() > lane; ++pass)
            dm.TmProcessingTimer(lane);
        clock.advance(700);
    }
    if (form & 4)
        dm.ReceiveData(wire);
    dm.SendBid(0);
    return 0;
}
