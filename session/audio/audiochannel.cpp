#include "session/audio/audiochannel.h"

#include "audio/core/soundform.h"
#include "common/clock.h"

namespace qev {

AudioChannel::AudioChannel(TSoundForm& output, QObject* parent)
    : QObject(parent)
    , m_output(output)
    , m_receiver(output)
    , m_socket(this) {
    m_receiver.OnSubscriptionRequest = [this](AudioReceiver&) { SendAudioRequest(); };
    connect(&m_socket, &QTcpSocket::readyRead, this, &AudioChannel::SockARDataAvailable);
    connect(&m_socket, &QTcpSocket::connected, this, &AudioChannel::SockARSessionConnected);
    connect(&m_socket, &QTcpSocket::disconnected, this, &AudioChannel::SockARSessionClosed);
    // A failed connection leaves the channel closed; the next tick tries again.
    connect(&m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError) {
        if (m_socket.state() == QAbstractSocket::UnconnectedState)
            SockARSessionClosed();
    });
}

AudioChannel::~AudioChannel() {
    m_socket.disconnect(this);
    m_socket.abort();
}

void AudioChannel::OpenIfDue(const QString& host, const QString& port, bool audioDisabled) {
    if (audioDisabled || host.isEmpty() || port.isEmpty() || !isClosed())
        return;
    bool ok = false;
    const uint p = port.toUInt(&ok);
    if (!ok || p == 0 || p > 0xFFFF)
        return;
    open(host, quint16(p));
}

void AudioChannel::CheckSilence() {
    const qint64 now = Clock::current().nowMs();
    if (isConnected() ? now - m_heardMs > kSilenceLimitMs : !isClosed() && now - m_openedMs > kConnectLimitMs)
        close();
}

void AudioChannel::open(const QString& host, quint16 port) {
    m_lastReceiptMs = 0;
    m_openedMs = Clock::current().nowMs();
    m_socket.connectToHost(host, port);
}

void AudioChannel::close() {
    m_lastReceiptMs = 0;
    m_socket.abort();
}

bool AudioChannel::isClosed() const {
    return m_socket.state() == QAbstractSocket::UnconnectedState;
}

bool AudioChannel::isConnected() const {
    return m_socket.state() == QAbstractSocket::ConnectedState;
}

void AudioChannel::SetAudioWanted(bool wanted) {
    m_wanted = wanted;
    SendAudioRequest();
}

QByteArray AudioChannel::SubscriptionLine(const QByteArray& site, const std::optional<QByteArray>& laneCode,
                                          bool wanted) {
    return QByteArrayLiteral("NM:") + site + ',' + laneCode.value_or(QByteArrayLiteral("?")) + ',' +
           (wanted ? '1' : '0') + '\r';
}

void AudioChannel::SendAudioRequest() {
    m_output.ResetPlayback();
    if (!isConnected())
        return;
    const QByteArray site = SiteIdentifier ? SiteIdentifier() : QByteArray();
    const std::optional<QByteArray> lane = LaneCode ? LaneCode(m_laneIndex) : std::nullopt;
    m_socket.write(SubscriptionLine(site, lane, m_wanted));
    m_receiver.decoder().resetGsm();
}

void AudioChannel::SetAudioVolume(int attenuation) {
    m_output.SetVolume(attenuation);
}

void AudioChannel::SetServerSampleRate(int rate) {
    m_receiver.SetServerFormat(rate);
    if (rate > 0 && !m_output.started())
        m_output.InitAudio(rate, 8, 1);
}

void AudioChannel::SockARDataAvailable() {
    const QByteArray bytes = m_socket.readAll();
    m_receiver.HandleBytes(bytes);
    m_lastReceiptMs = Clock::current().nowMs();
    m_heardMs = m_lastReceiptMs;
}

void AudioChannel::SockARSessionConnected() {
    // Set before connecting, the option never reaches the socket.
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_receiver.Reset();
    m_lastReceiptMs = 0;
    m_heardMs = Clock::current().nowMs();
}

void AudioChannel::SockARSessionClosed() {
    m_receiver.Reset();
    m_lastReceiptMs = 0;
}

} // namespace qev
