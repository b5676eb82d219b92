#include "session/channeltuning.h"

#include <QAbstractSocket>
#include <QVariant>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace qev {

void TuneChannel(QAbstractSocket& socket, int keepAliveIntervalMs) {
    socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    const auto fd = static_cast<int>(socket.socketDescriptor());
    if (fd < 0)
        return;
    // Failures leave the system defaults in place; the channel works without these.
    const linger noLinger{1, 0};
    (void)setsockopt(fd, SOL_SOCKET, SO_LINGER, &noLinger, sizeof noLinger);
    const int idleSeconds = 30;
    const int intervalSeconds = qMax(1, keepAliveIntervalMs / 1000);
    (void)setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idleSeconds, sizeof idleSeconds);
    (void)setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &intervalSeconds, sizeof intervalSeconds);
}

} // namespace qev
