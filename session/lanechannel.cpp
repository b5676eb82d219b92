#include "session/lanechannel.h"

#include <QTcpSocket>
#include <QTimer>

namespace qev {

LaneChannel::LaneChannel(int lane, QObject* parent)
    : QObject(parent)
    , Lane(lane)
    , Sock(new QTcpSocket(this))
    , TmConnecting(new QTimer(this))
    , TmProcessing(new QTimer(this)) {
    TmConnecting->setInterval(kConnectRetryMs);
    TmProcessing->setInterval(0);
    // Data past the limit without a CR is dropped by the line buffer.
    Sock->setReadBufferSize(0);
}

LaneChannel::~LaneChannel() {
    Detach();
}

void LaneChannel::Detach() {
    Sock->disconnect();
    TmConnecting->disconnect();
    TmProcessing->disconnect();
    TmConnecting->stop();
    TmProcessing->stop();
    Sock->abort();
}

void LaneChannel::CloseDeferred() {
    if (Sock->state() == QAbstractSocket::ConnectedState)
        Sock->disconnectFromHost();
    else if (Sock->state() != QAbstractSocket::ClosingState)
        Sock->abort();
}

void LaneChannel::DropReceived() {
    TmProcessing->stop();
    receive.Clear();
    pending.clear();
    pendingPrices = 0;
    lastPiece.clear();
}

bool LaneChannel::IsConnected() const {
    return Sock->state() == QAbstractSocket::ConnectedState;
}

bool LaneChannel::IsClosed() const {
    return Sock->state() == QAbstractSocket::UnconnectedState;
}

} // namespace qev
