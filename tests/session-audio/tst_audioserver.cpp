#include "audio/core/clockaudiodevice.h"
#include "audio/core/soundform.h"
#include "common/pumpwait.h"
#include "session/audio/audiochannel.h"
#include "tools/auction-house/audio/audioserver.h"

#include <QTest>
#include <QTimer>
#include <QtEndian>
#include <cmath>

using namespace qev;

namespace {

// Share of a chunk's energy at hz (Goertzel), for 8-bit unsigned or 16-bit signed mono PCM.
double toneShare(const QByteArray& pcm, int bits, int rate, double hz) {
    const int step = bits == 16 ? 2 : 1;
    const int n = int(pcm.size() / step);
    if (n == 0)
        return 0;
    const double k = 2 * std::cos(2 * M_PI * hz / rate);
    double s1 = 0, s2 = 0, total = 0;
    for (int i = 0; i < n; ++i) {
        const double x =
            bits == 16 ? qFromLittleEndian<qint16>(pcm.constData() + 2 * i) : (quint8(pcm[i]) - 128) * 256.0;
        const double s0 = x + k * s1 - s2;
        s2 = s1;
        s1 = s0;
        total += x * x;
    }
    return total > 0 ? 2 * (s1 * s1 + s2 * s2 - k * s1 * s2) / (n * total) : 0;
}

// The house's audio server and the client's channel and output (a device that records every
// chunk it is given and plays on the system clock).
struct Fixture {
    std::unique_ptr<AudioServer> server;
    ClockAudioDevice* device = nullptr;
    std::unique_ptr<TSoundForm> out;
    std::unique_ptr<AudioChannel> channel;
    QTimer refresh;
    struct Chunk {
        WaveFormat format;
        QByteArray pcm;
    };
    QList<Chunk> chunks;
    qint64 maxBacklog = 0;

    explicit Fixture(const AudioServerConfig& config) {
        server = std::make_unique<AudioServer>(config);
        server->Listen();
        auto d = std::make_unique<ClockAudioDevice>();
        device = d.get();
        out = std::make_unique<TSoundForm>(std::move(d));
        out->OnChunkQueued = [this](TSoundForm& sender, const TWaveItem& chunk) {
            chunks.append({sender.format(), chunk.pcm});
        };
        channel = std::make_unique<AudioChannel>(*out);
        channel->SiteIdentifier = [] { return QByteArray("QEV"); };
        channel->LaneCode = [](int) -> std::optional<QByteArray> { return QByteArray("A1"); };
        channel->SetServerSampleRate(8000);
        QObject::connect(&refresh, &QTimer::timeout, [this] {
            device->Refresh();
            maxBacklog = qMax(maxBacklog, out->backlog());
        });
        refresh.start(10);
    }
    void open() { channel->OpenIfDue(QStringLiteral("127.0.0.1"), QString::number(server->Port()), false); }
};

AudioServerConfig configFor(int codec) {
    AudioServerConfig c;
    c.codec = codec;
    c.autoChant = false;
    return c;
}

} // namespace

class TestAudioServer : public QObject {
    Q_OBJECT
private slots:
    void streamsMarkerToneEveryCodec_data();
    void streamsMarkerToneEveryCodec();
    void noAudioUntilWanted();
    void asksAgainWhenConfigured();
    void faultsDoNotWedgeTheClient_data();
    void faultsDoNotWedgeTheClient();
};

void TestAudioServer::streamsMarkerToneEveryCodec_data() {
    QTest::addColumn<int>("codec");
    QTest::addColumn<int>("bits");
    QTest::newRow("raw") << 0 << 8;
    QTest::newRow("zlib") << 1 << 8;
    QTest::newRow("GSM") << 2 << 16;
}

void TestAudioServer::streamsMarkerToneEveryCodec() {
    QFETCH(int, codec);
    QFETCH(int, bits);
    Fixture f(configFor(codec));
    f.channel->SetAudioWanted(true);
    f.open();
    QVERIFY(PumpWait([&] { return !f.server->Subscriptions().isEmpty(); }, 5000));
    QCOMPARE(f.server->Subscriptions().first(), QByteArray("NM:QEV,A1,1"));
    f.server->NewLot(1230);
    // The marker (1 kHz, 400 ms) spans at least one whole 200 ms chunk.
    const auto hasMarker = [&] {
        for (const auto& c : f.chunks) {
            if (toneShare(c.pcm, c.format.bits, c.format.rate, 1000.0) > 0.6)
                return true;
        }
        return false;
    };
    QVERIFY2(PumpWait(hasMarker, 10000), "no chunk carried the marker tone");
    for (const auto& c : f.chunks)
        QCOMPARE(c.format, (WaveFormat{8000, bits, 1}));
    // The chant after the marker is not the marker.
    const int before = int(f.chunks.size());
    QVERIFY(PumpWait([&] { return f.chunks.size() >= before + 3; }, 10000));
    QVERIFY(toneShare(f.chunks.last().pcm, bits, 8000, 1000.0) < 0.3);
}

void TestAudioServer::noAudioUntilWanted() {
    Fixture f(configFor(0));
    f.open();
    QVERIFY(PumpWait([&] { return !f.server->Subscriptions().isEmpty(); }, 5000));
    QCOMPARE(f.server->Subscriptions().first(), QByteArray("NM:QEV,A1,0"));
    f.server->NewLot(500);
    PumpFor(600);
    QVERIFY(f.chunks.isEmpty());
    f.channel->SetAudioWanted(true);
    QVERIFY(PumpWait([&] { return !f.chunks.isEmpty(); }, 5000));
}

void TestAudioServer::asksAgainWhenConfigured() {
    AudioServerConfig c = configFor(0);
    c.requestIntervalMs = 100;
    Fixture f(c);
    f.open();
    QVERIFY(PumpWait([&] { return f.server->Subscriptions().size() >= 3; }, 5000));
}

void TestAudioServer::faultsDoNotWedgeTheClient_data() {
    QTest::addColumn<int>("fault");
    QTest::newRow("drop") << int(AudioFault::Drop);
    QTest::newRow("stall") << int(AudioFault::Stall);
    QTest::newRow("garble") << int(AudioFault::Garble);
    QTest::newRow("flood") << int(AudioFault::Flood);
}

void TestAudioServer::faultsDoNotWedgeTheClient() {
    QFETCH(int, fault);
    AudioServerConfig c = configFor(1);
    c.fault = AudioFault(fault);
    c.autoChant = true;
    c.autoStepMs = 100;
    Fixture f(c);
    f.channel->SetAudioWanted(true);
    f.open();
    QVERIFY(PumpWait([&] { return !f.server->Subscriptions().isEmpty(); }, 5000));
    PumpFor(1500);
    QVERIFY(f.maxBacklog <= TSoundForm::kMaxBacklogMs * 8); // 8-bit zlib at 8000 Hz
    if (AudioFault(fault) == AudioFault::Drop) {
        QVERIFY(PumpWait([&] { return f.channel->isClosed(); }, 5000));
        f.open(); // the next tick connects again
        QVERIFY(PumpWait([&] { return f.channel->isConnected(); }, 5000));
    }
    if (AudioFault(fault) == AudioFault::Stall)
        QVERIFY(f.chunks.isEmpty());
    // Healthy again: audio flows.
    f.server->SetFault(AudioFault::None);
    if (!f.channel->isConnected())
        f.open();
    const int before = int(f.chunks.size());
    QVERIFY(PumpWait([&] { return f.chunks.size() > before; }, 10000));
}

QTEST_GUILESS_MAIN(TestAudioServer)
#include "tst_audioserver.moc"
