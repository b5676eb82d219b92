// Lane message payloads straight into the field readers: price records, lot announcements,
// member groups and alarm lists.
#include "session/laneparser.h"

#include <cstddef>
#include <cstdint>

using namespace qev;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const LaneLine& line : SplitLanePiece(bytes)) {
        ParsePriceRecord(line.payload);
        ParseLotAnnouncement(line.payload);
        MemberFlagsOf(line.payload, "1234");
        MemberAmongGroups(line.payload, "1234");
        const AlarmList list = ParseAlarmList(line.payload, 1234);
        if (list.items.size() > kMaxAlarmItems)
            __builtin_trap();
    }
    return 0;
}
