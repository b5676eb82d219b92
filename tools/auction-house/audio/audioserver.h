#pragma once

#include "tools/auction-house/audio/audioserverconfig.h"
#include "tools/auction-house/audio/chantsynth.h"
#include "tools/auction-house/audio/gsmstreamencoder.h"

#include <QByteArrayList>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTimer>

namespace qev {

class AudioClient;

// The auction house's audio server: greets every client with "QN", reads its subscription and,
// while the member wants audio, streams the lane's synthesised auctioneer in real time as audio
// frames, with a flush mark and a marker tone at each new lot.
class AudioServer final : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxClients = 64;

    explicit AudioServer(const AudioServerConfig& config, QObject* parent = nullptr);
    ~AudioServer() override;

    bool Listen();
    quint16 Port() const { return m_server.serverPort(); }
    QString ErrorString() const { return m_server.errorString(); }

    // Driven by the house's lane, or by the server itself when autoChant is on.
    void NewLot(int startPrice);
    void PriceStep(int price);

    void SetFault(AudioFault fault);
    void SendSubscriptionRequest();
    void DropClients();

    const AudioServerConfig& config() const { return m_config; }
    // Subscription lines received, in order.
    const QByteArrayList& Subscriptions() const { return m_subscriptions; }
    int ClientCount() const { return int(m_clients.size()); }
    int Sequence() const { return m_sequence; }

    // Samples per frame for the codec (GSM in whole 320-sample blocks).
    int SamplesPerFrame() const;

private:
    void accept();
    void stream();
    void autoStep();
    void broadcast(const QByteArray& frame, bool audioOnly);

    AudioServerConfig m_config;
    QTcpServer m_server;
    ChantSynth m_synth;
    GsmStreamEncoder m_gsm; // one stream for every listener, restarted at each flush mark
    QList<QPointer<AudioClient>> m_clients;
    QByteArrayList m_subscriptions;
    QTimer m_streamTimer;
    QTimer m_requestTimer;
    QTimer m_autoTimer;
    QElapsedTimer m_clock;
    qint64 m_samplesSent = 0;
    int m_sequence = 0;
    int m_autoPrice = 0;
    int m_autoSteps = 0;
    QRandomGenerator m_random{20161};
};

} // namespace qev
