#pragma once

#include <QtGlobal>

namespace qev {

// What a lane's views show in their message area; only mtSold (the won-bid report) and mtOver
// (the lane has ended) change the views beyond hiding the report.
enum TMessageType : quint8 {
    mtInitialize = 0,
    mtNone = 1,
    mtWait = 2,
    mtFetching = 3,
    mtSold = 4,
    mtOver = 5,
    mtIgnore = 6
};

} // namespace qev
