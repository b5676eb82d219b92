#pragma once

#include <QByteArray>

namespace qev {

// A chunk of live audio waiting for a player.
struct TWaveItem {
    int sequence = 0;
    QByteArray pcm;
};

} // namespace qev
