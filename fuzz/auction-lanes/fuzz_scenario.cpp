// A lane script read from a file, then played to its end.
#include "tools/auction-house/lanes/scenario.h"
#include "tools/auction-house/lanes/scriptedfeed.h"

#include <cstddef>
#include <cstdint>

using namespace qev;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    Scenario scenario;
    if (!Scenario::Parse(text, scenario))
        return 0;
    for (int lane = 0; lane < Scenario::kMaxLanes; ++lane) {
        ScriptedFeed feed(lane, scenario);
        feed.PlayUntil(Scenario::kMaxAtMs);
        int site = 0;
        int exhibit = 0;
        int price = 0;
        feed.CurrentLot(site, exhibit, price);
    }
    return 0;
}
