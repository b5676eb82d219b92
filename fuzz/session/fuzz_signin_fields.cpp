// Plain message payloads: every field parser on the text as it is, then on the same text with
// each field enciphered, so the deciphered fields ("ST:100", "SV:") are reached with fuzzed content.
#include "session/codec/linecodec.h"
#include "session/signinparser.h"

#include <cstddef>
#include <cstdint>

using namespace qev;

namespace {

QByteArray EncipherFields(const QByteArray& payload) {
    QByteArrayList groups = payload.split('|');
    for (QByteArray& group : groups) {
        QByteArrayList fields = group.split(',');
        for (QByteArray& field : fields)
            field = LineCipher(field);
        group = fields.join(',');
    }
    return groups.join('|');
}

void ParseAll(const QByteArray& payload) {
    ParseDayCount(payload);
    ParseStatus(payload);
    ParseClientParams(payload);
    ParseSiteAnnouncement(payload);
    ParseLaneAppearance(payload);
    const ServerInformation info = ParseServerInformation(payload);
    for (const LaneServers& lane : info.lanes)
        NormaliseUrlBase(lane.detailUrlBase);
    LaneTime(payload);
    const QByteArrayList lines = SiteInformationLines(payload);
    SiteInformationValue(lines, "LaneTimeFrom0_0");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 16384)
        return 0; // the enciphered variant grows the input; keep each run short
    const QByteArray payload(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    ParseAll(payload);
    // Keep the status code readable so the "ST:100" fields are reached.
    const qsizetype comma = payload.indexOf(',');
    const QByteArray head = comma < 0 ? payload : payload.left(comma + 1);
    ParseAll(head + EncipherFields(comma < 0 ? QByteArray() : payload.mid(comma + 1)));
    return 0;
}
