#include "tools/auction-house/audio/audioserver.h"

#include "tools/auction-house/audio/audioclient.h"
#include "tools/auction-house/audio/caframeencoder.h"

namespace qev {

namespace {

ChantSynth::Options synthOptions(const AudioServerConfig& c) {
    ChantSynth::Options o;
    o.rate = c.codec == CaFrameEncoder::Gsm ? 8000 : qBound(1000, c.sampleRate, 48000);
    o.markerHz = c.markerHz;
    return o;
}

} // namespace

AudioServer::AudioServer(const AudioServerConfig& config, QObject* parent)
    : QObject(parent)
    , m_config(config)
    , m_synth(synthOptions(config)) {
    m_config.frameMs = qBound(10, m_config.frameMs, 500);
    connect(&m_server, &QTcpServer::newConnection, this, &AudioServer::accept);
    m_streamTimer.setTimerType(Qt::PreciseTimer);
    m_streamTimer.setInterval(qMax(5, m_config.frameMs / 2));
    connect(&m_streamTimer, &QTimer::timeout, this, &AudioServer::stream);
    connect(&m_requestTimer, &QTimer::timeout, this, &AudioServer::SendSubscriptionRequest);
    connect(&m_autoTimer, &QTimer::timeout, this, &AudioServer::autoStep);
}

AudioServer::~AudioServer() = default;

bool AudioServer::Listen() {
    if (!m_server.listen(m_config.address, m_config.port))
        return false;
    m_clock.start();
    m_samplesSent = 0;
    m_streamTimer.start();
    if (m_config.requestIntervalMs > 0)
        m_requestTimer.start(m_config.requestIntervalMs);
    if (m_config.autoChant) {
        m_autoTimer.start(qMax(100, m_config.autoStepMs));
        NewLot(1000);
    }
    return true;
}

int AudioServer::SamplesPerFrame() const {
    const int n = m_synth.rate() * m_config.frameMs / 1000;
    if (m_config.codec == CaFrameEncoder::Gsm)
        return qMax(320, n / 320 * 320);
    return qMax(1, n);
}

void AudioServer::accept() {
    while (QTcpSocket* s = m_server.nextPendingConnection()) {
        if (m_clients.size() >= kMaxClients) {
            s->abort();
            s->deleteLater();
            continue;
        }
        auto* client = new AudioClient(s, this);
        connect(client, &AudioClient::subscription, this,
                [this](const QByteArray& line) { m_subscriptions.append(line); });
        connect(client, &AudioClient::gone, this, [this, client] {
            m_clients.removeAll(client);
            client->deleteLater();
        });
        m_clients.append(client);
        client->Send(CaFrameEncoder::SubscriptionRequest());
    }
}

void AudioServer::NewLot(int startPrice) {
    // The flush mark hands over what the clients gathered of the last lot.
    broadcast(CaFrameEncoder::FlushMark(m_config.codec, m_synth.rate(), ++m_sequence, m_config.percentage),
              true);
    m_gsm.Reset(); // the clients start a new GSM stream after the mark

    m_synth.NewLot(startPrice);
    m_autoPrice = startPrice;
    m_autoSteps = 0;
}

void AudioServer::PriceStep(int price) {
    m_synth.PriceStep(price);
    m_autoPrice = price;
}

void AudioServer::SetFault(AudioFault fault) {
    m_config.fault = fault;
    // Real time starts afresh, so leaving a flood does not mean a long silence.
    m_clock.restart();
    m_samplesSent = 0;
}

void AudioServer::SendSubscriptionRequest() {
    broadcast(CaFrameEncoder::SubscriptionRequest(), false);
}

void AudioServer::DropClients() {
    const auto clients = m_clients;
    for (const auto& c : clients) {
        if (c)
            c->Close();
    }
}

void AudioServer::autoStep() {
    if (++m_autoSteps > m_config.autoStepsPerLot) {
        NewLot(int(m_random.bounded(5, 300)) * 10);
        return;
    }
    PriceStep(m_autoPrice + (m_autoPrice < 1000 ? 10 : 30));
}

void AudioServer::broadcast(const QByteArray& frame, bool audioOnly) {
    const auto clients = m_clients;
    for (const auto& c : clients) {
        if (c && (!audioOnly || c->wantsAudio()))
            c->Send(frame);
    }
}

void AudioServer::stream() {
    // Real time: send every frame whose audio is due by now; the synthesiser runs whether or not
    // anybody listens, as a live voice does.
    const int speed = m_config.fault == AudioFault::Flood ? 10 : 1;
    const qint64 due = m_clock.elapsed() * speed * m_synth.rate() / 1000;
    const int perFrame = SamplesPerFrame();
    int guard = 0;
    while (m_samplesSent + perFrame <= due && guard++ < 100) {
        const QList<qint16> samples = m_synth.Render(perFrame);
        m_samplesSent += perFrame;
        if (m_config.fault == AudioFault::Stall)
            continue;
        QByteArray frame = CaFrameEncoder::Audio(m_config.codec, m_synth.rate(), ++m_sequence,
                                                 m_config.percentage, samples, &m_gsm);
        if (m_config.fault == AudioFault::Garble && frame.size() > 2) {
            for (int i = 0; i < 8; ++i)
                frame[2 + qsizetype(m_random.bounded(quint32(frame.size() - 2)))] =
                    char(m_random.bounded(256));
        }
        broadcast(frame, true);
        if (m_config.fault == AudioFault::Drop) {
            const auto clients = m_clients;
            for (const auto& c : clients) {
                if (c && c->framesSent() > 5)
                    c->Close();
            }
        }
    }
    if (guard >= 100)
        m_samplesSent = due; // fell far behind (a stopped debugger): skip, as live audio would
}

} // namespace qev
