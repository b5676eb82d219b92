#pragma once

#include <QByteArray>

namespace qev {

// A member's watched lot. The lane calls a member by a four-character number, so only such
// numbers can be named in member calls.
struct WatchEntry {
    QByteArray member;
    int exhibit = 0;
    char flag = 'A'; // "A" or "B" in the member-flag groups
};

} // namespace qev
