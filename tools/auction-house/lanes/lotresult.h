#pragma once

#include <QByteArray>

namespace qev {

// How a lot ended.
struct LotResult {
    int siteNumber = 0;
    int exhibit = 0;
    int price = 0;     // thousands of yen
    QByteArray winner; // member number or the floor bidder; empty when not sold
    bool sold = false;
};

} // namespace qev
