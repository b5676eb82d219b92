#pragma once

#include <QByteArray>
#include <QList>

namespace qev {

// Where the house's servers can be reached, as the sign-in server announces it. Each server
// writes its own entry once it listens; the sign-in server reads it at every sign-in.
struct HouseDirectory {
    struct Lane {
        QByteArray code;
        QByteArray biddingRouter;
        QByteArray watchRouter;
        QByteArray detailUrlBase;
        QByteArray photoUrlBase;
    };
    QByteArray dataAddress;
    QByteArray audioAddress;
    int audioSampleRate = 0;
    QList<Lane> lanes;
};

} // namespace qev
