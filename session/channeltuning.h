#pragma once

class QAbstractSocket;

namespace qev {

// Settings every channel gets once connected: no delay, keep-alive after 30 s of silence probing
// every keepAliveIntervalMs, and linger 0 so a close never waits on an unreachable peer.
void TuneChannel(QAbstractSocket& socket, int keepAliveIntervalMs);

} // namespace qev
