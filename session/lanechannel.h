#pragma once

#include "session/laneparser.h"
#include "session/linebuffer.h"
#include "session/sessiontypes.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <deque>

class QTcpSocket;
class QTimer;

namespace qev {

// One lane's channel to its router and everything the session keeps for that lane: connection
// values, the receive buffer, the lines cut but not yet handled, and the lot values the lane's
// messages set. Owned by the session module (Qt parent); freed with deleteLater, so a pass that
// is still running on it when the lanes are rebuilt never touches freed memory.
class LaneChannel final : public QObject {
    Q_OBJECT
public:
    static constexpr qsizetype kLineLimit = 131072;
    static constexpr int kConnectRetryMs = 2000;

    LaneChannel(int lane, QObject* parent);
    ~LaneChannel() override;

    // Detaches every handler and closes the socket at once.
    void Detach();
    // Closes gracefully once connected; a socket still connecting is aborted, since Qt would
    // otherwise let it connect first.
    void CloseDeferred();
    // Forgets every byte and line received but not yet handled.
    void DropReceived();
    bool IsConnected() const;
    bool IsClosed() const;

    const int Lane;
    QTcpSocket* const Sock;
    QTimer* const TmConnecting;
    QTimer* const TmProcessing;

    // Connection.
    TConnectionStatus status = nsNone;
    TRouterType routerKind = rcNone;
    QByteArray routerHost;
    QByteArray routerPort;
    qint64 connectDeadlineMs = 0;
    bool closingByClient = false;
    qint64 lastSendMs = 0;

    // Receipt: scrambled bytes waiting for their CR, then unscrambled lines waiting for a pass.
    LineBuffer receive{kLineLimit};
    std::deque<LaneLine> pending;
    int pendingPrices = 0; // the "PR" lines among pending
    QByteArray lastPiece;

    // Lot values.
    int lotSiteNumber = 0;
    int lotExhibit = 0;
    int lotNextExhibit = 0;
    int lotPrice = 0;
    bool noPriceYet = true; // no price of the lane's lot seen yet (nor any, on a new channel)
    QByteArray topBidder;
    int lastLotFlags = 0;
    int lastBidderFlags = 0;
    qint64 jumpLockUntilMs = 0;
    bool late = false;
    double laneDelayMs = 0;
    bool activeMark = false;
    QByteArray lastEnPayload;
    qint64 enRepeatUntilMs = 0; // server time
    QList<AlarmItem> alarms;
};

} // namespace qev
