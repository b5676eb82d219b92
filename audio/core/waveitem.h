#pragma once

#include <QByteArray>

namespace qev {

// A chunk of live audio waiting to be handed to the stream.
struct TWaveItem {
    int sequence = 0;
    QByteArray pcm;
};

} // namespace qev
