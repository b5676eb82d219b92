// What a client sends a lane router: cut, unscrambled, parsed and bid with, as the router does.
#include "session/codec/linecodec.h"
#include "tools/auction-house/lanes/clientlinereader.h"
#include "tools/auction-house/lanes/laneengine.h"
#include "tools/auction-house/lanes/wirefields.h"

#include <cstddef>
#include <cstdint>

using namespace qev;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    LaneEngineConfig config;
    config.siteNumber = 12;
    config.lots = {AuctionLot{12, 105, 1000, 1003, true, 2}};
    LaneEngine engine(config);
    while (engine.CurrentPhase() != LaneEngine::Phase::Bidding && engine.Step() >= 0) {
    }

    ClientLineReader reader(512);
    QList<ClientMessage> messages;
    // Uneven chunks, as reads arrive.
    for (qsizetype pos = 0, chunk = 1; pos < bytes.size(); pos += chunk, chunk = chunk % 7 + 1) {
        if (!reader.Feed(bytes.sliced(pos, qMin(chunk, bytes.size() - pos)), messages))
            break;
    }
    QByteArray member;
    for (const ClientMessage& message : messages) {
        if (message.code == "NM") {
            member = LineDecipher(WireField(message.payload, 1));
        } else if (message.code == "BD") {
            BidRequest bid{LineDecipher(WireField(message.payload, 3)), WireInt(message.payload, 1, -1),
                           WireInt(message.payload, 2, -1), WireInt(message.payload, 4, -1)};
            if (bid.member == member)
                engine.SubmitBid(bid);
            engine.Step();
        } else if (message.code == "CF") {
            engine.IsWin(member, WireInt(message.payload, 1, -1), WireInt(message.payload, 2, -1),
                         WireInt(message.payload, 3, -1));
        }
    }
    return 0;
}
