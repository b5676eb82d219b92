#pragma once

#include <QByteArray>

namespace qev {

// One line a client sent to a router, after unscrambling: "XX:" code and payload.
struct ClientMessage {
    QByteArray code;    // two characters
    QByteArray payload; // text after the ":"
};

} // namespace qev
