// Bytes as they arrive on the sign-in channel: buffered, cut, deciphered and every message parsed.
#include "session/linebuffer.h"
#include "session/signinparser.h"

#include <cstddef>
#include <cstdint>

using namespace qev;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    LineBuffer buffer(4096);
    // Two halves, as two receipts: lines split across reads must be handled too.
    const qsizetype half = bytes.size() / 2;
    for (const QByteArray& part : {bytes.left(half), bytes.mid(half)}) {
        buffer.Append(part);
        for (const QList<SignInLine>& piece : SplitSignInReceipt(buffer.TakeComplete())) {
            for (const SignInLine& line : piece) {
                ParseDayCount(line.payload);
                ParseStatus(line.payload);
                ParseClientParams(line.payload);
                ParseSiteAnnouncement(line.payload);
                ParseLaneAppearance(line.payload);
                ParseServerInformation(line.payload);
            }
        }
    }
    return 0;
}
