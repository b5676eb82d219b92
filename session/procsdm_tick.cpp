#include "common/clock.h"
#include "session/procsdm.h"

#include <QTcpSocket>
#include <QTimer>

namespace qev {

namespace {
constexpr qint64 kDataKeepAliveMs = 17000;
constexpr qint64 kSilenceLimitMs = 30000;
} // namespace

void TProcsDm::TimeTickTimer() {
    TimeTick->stop();
    const qint64 now = Clock::current().nowMs();
    if (m_state == ssInSession) {
        KeepLanesAlive(now);
        if (SockDT->state() == QAbstractSocket::UnconnectedState) {
            OpenDataChannel();
        } else if (SockDT->state() == QAbstractSocket::ConnectedState && now > m_nextDataKeepAliveMs) {
            SockDT->write(QByteArrayLiteral("KA:\r"));
            m_nextDataKeepAliveMs = now + kDataKeepAliveMs;
        }
        m_audio->OpenIfDue(m_audioHost, m_audioPort, m_audioDisabled);
    }
    if (m_lastDataReceiptMs != 0 && now - m_lastDataReceiptMs > kSilenceLimitMs) {
        m_lastDataReceiptMs = 0;
        SockDT->abort(); // reopened by the next tick
        m_dataBuffer.Clear();
    }
    m_audio->CheckSilence();
    TimeTick->start();
}

} // namespace qev
