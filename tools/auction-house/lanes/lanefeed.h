#pragma once

#include "tools/auction-house/lanes/bidrequest.h"

#include <QByteArray>
#include <QList>
#include <QObject>

namespace qev {

// What a lane broadcasts: the live engine or a script. Both routers of a lane listen to the
// same feed, so they carry the same lines.
class LaneFeed : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual int Lane() const = 0;
    // Lines a client that just identified itself needs to catch up with the lane.
    virtual QList<QByteArray> Snapshot() const = 0;
    virtual BidOutcome SubmitBid(const BidRequest& bid) = 0;
    // True when that member won that lot at that price.
    virtual bool IsWin(const QByteArray& member, int siteNumber, int exhibit, int price) const = 0;
    // The lot on the block, for lines that faults inject (site, exhibit, price; zeros for none).
    virtual void CurrentLot(int& siteNumber, int& exhibit, int& price) const = 0;

signals:
    // One plain line (no CR), in the order the lane produces them.
    void lineReady(const QByteArray& line);
};

} // namespace qev
