#include "audio/core/audioframeparser.h"
#include "audio/core/cadecoder.h"
#include "audio/core/soundform.h"
#include "audio/device/qtaudiodevice.h"
#include "audio/device/qteffectvoice.h"
#include "audio/device/soundeffects.h"
#include "common/pumpwait.h"
#include "common/texthelpers.h"
#include "pulsenullsink.h"
#include "session/audio/audiochannel.h"
#include "tools/auction-house/auctionhouse.h"
#include "tools/auction-house/audio/audioserver.h"

#include <QElapsedTimer>
#include <QMediaDevices>
#include <QPointer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QtEndian>
#include <cmath>
#include <gsm.h>

using namespace qev;

namespace {

struct Window {
    double share = 0; // of the window's energy at the marker frequency
    double rms = 0;
};

// The loudest 50 ms window of a 16-bit mono recording in terms of the share at hz.
Window bestWindow(const QByteArray& rec, double hz) {
    const int rate = PulseNullSink::kRecordRate;
    const int n = int(rec.size() / 2);
    const int w = rate / 20;
    Window best;
    const double k = 2 * std::cos(2 * M_PI * hz / rate);
    for (int start = 0; start + w <= n; start += w / 2) {
        double s1 = 0, s2 = 0, total = 0;
        for (int i = start; i < start + w; ++i) {
            const double x = qFromLittleEndian<qint16>(rec.constData() + 2 * i);
            const double s0 = x + k * s1 - s2;
            s2 = s1;
            s1 = s0;
            total += x * x;
        }
        const double rms = std::sqrt(total / w);
        const double share = total > 0 ? 2 * (s1 * s1 + s2 * s2 - k * s1 * s2) / (w * total) : 0;
        if (rms > 200 && share > best.share)
            best = {share, rms};
    }
    return best;
}

// A sweep from 200 to 1200 Hz, GSM-encoded as one continuous stream (as a live encoder does).
QByteArray sweepStream(int blocks) {
    QVector<qint16> voice(blocks * 320);
    double phase = 0;
    for (int i = 0; i < voice.size(); ++i) {
        phase += 2 * M_PI * (200 + 1000.0 * i / voice.size()) / 8000;
        voice[i] = qint16(9000 * std::sin(phase));
    }
    gsm g = gsm_create();
    int one = 1;
    gsm_option(g, GSM_OPT_WAV49, &one);
    QByteArray stream;
    for (int at = 0; at < voice.size(); at += 320) {
        gsm_byte block[65];
        gsm_encode(g, voice.data() + at, block);
        gsm_encode(g, voice.data() + at + 160, block + 32);
        stream.append(reinterpret_cast<const char*>(block), 65);
    }
    gsm_destroy(g);
    return stream;
}

double sampleAt(const QByteArray& pcm, qsizetype i) {
    return i >= 0 && 2 * i + 1 < pcm.size() ? qFromLittleEndian<qint16>(pcm.constData() + 2 * i) : 0;
}

struct Match {
    double correlation = 0;
    double db = 0; // level of the recording against the reference
};

// ref (at the recording's rate) against rec from offset, over n samples.
Match matchAt(const QVector<double>& ref, qsizetype from, const QByteArray& rec, qsizetype at, qsizetype n) {
    double xy = 0, xx = 0, yy = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const double x = ref.value(from + i), y = sampleAt(rec, at + i);
        xy += x * y;
        xx += x * x;
        yy += y * y;
    }
    if (xx <= 0 || yy <= 0)
        return {};
    return {xy / std::sqrt(xx * yy), 10 * std::log10(yy / xx)};
}

int peakOf(const QByteArray& rec) {
    int peak = 0;
    for (qsizetype i = 0; i + 1 < rec.size(); i += 2)
        peak = qMax(peak, qAbs(int(qFromLittleEndian<qint16>(rec.constData() + i))));
    return peak;
}

} // namespace

// The auction house's stream through the client's channel and Qt Multimedia output into a real
// (null) sound device, recorded from the device's monitor.
class TestLiveSound : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void markerToneReachesTheDevice_data();
    void markerToneReachesTheDevice();
    void drainedStreamPlaysChunkAfterChunk();
    void gsmVoiceMatchesAContinuousDecode_data();
    void gsmVoiceMatchesAContinuousDecode();
    void effectSoundsLoadAndPlay();
    void toolPlaysTheLaneAudio_data();
    void toolPlaysTheLaneAudio();

private:
    QByteArray playLot(int codec, int level);

    PulseNullSink m_pulse;
};

void TestLiveSound::initTestCase() {
    if (!m_pulse.start())
        QSKIP(qPrintable(QStringLiteral("no PulseAudio null sink: ") + m_pulse.why()));
    // Qt learns the daemon's devices asynchronously.
    QVERIFY2(PumpWait([] { return !QMediaDevices::defaultAudioOutput().isNull(); }, 10000),
             "the null sink never showed up as an output device");
}

void TestLiveSound::cleanupTestCase() {
    m_pulse.stop();
}

QByteArray TestLiveSound::playLot(int codec, int level) {
    // The recorder runs first: a null sink with a low-latency reader plays in small blocks.
    if (!m_pulse.startRecording())
        return {};
    PumpFor(300);
    AudioServerConfig config;
    config.codec = codec;
    config.autoChant = false;
    AudioServer server(config);
    if (!server.Listen())
        return {};
    TSoundForm out(std::make_unique<QtAudioDevice>());
    AudioChannel channel(out);
    channel.SiteIdentifier = [] { return QByteArray("QEV"); };
    channel.LaneCode = [](int) -> std::optional<QByteArray> { return QByteArray("A1"); };
    channel.SetServerSampleRate(8000);
    channel.SetAudioVolume(VolumeToAttenuation(level));
    channel.SetAudioWanted(true);
    channel.OpenIfDue(QStringLiteral("127.0.0.1"), QString::number(server.Port()), false);
    if (!PumpWait([&] { return !server.Subscriptions().isEmpty(); }, 5000))
        return {};
    PumpFor(300);
    server.NewLot(1200);
    PumpFor(1500);
    channel.close();
    return m_pulse.stopRecording();
}

void TestLiveSound::markerToneReachesTheDevice_data() {
    QTest::addColumn<int>("codec");
    QTest::addColumn<int>("level");
    QTest::newRow("raw, level 3") << 0 << 3;
    QTest::newRow("GSM, level 3") << 2 << 3;
    QTest::newRow("zlib, level 0") << 1 << 0;
}

void TestLiveSound::markerToneReachesTheDevice() {
    QFETCH(int, codec);
    QFETCH(int, level);
    const QByteArray rec = playLot(codec, level);
    QVERIFY2(rec.size() > PulseNullSink::kRecordRate, "nothing was recorded");
    if (level == 0) {
        // Level 0: the stream plays, silently.
        QVERIFY2(peakOf(rec) < 64, qPrintable(QString::number(peakOf(rec))));
        return;
    }
    const Window w = bestWindow(rec, AudioServerConfig().markerHz);
    QVERIFY2(w.share > 0.6, qPrintable(QStringLiteral("marker share %1 rms %2").arg(w.share).arg(w.rms)));
    // The marker, not a tone next to it.
    QVERIFY(bestWindow(rec, AudioServerConfig().markerHz * 1.25).share < w.share / 2);
}

void TestLiveSound::drainedStreamPlaysChunkAfterChunk() {
    // Chunks one after another, each after the last has played out, all go to the same stream,
    // which ran dry in between: every one must sound, however often the stream restarts.
    if (!m_pulse.startRecording())
        QFAIL("recorder did not start");
    TSoundForm out(std::make_unique<QtAudioDevice>());
    out.InitAudio(8000, 8, 1);
    QByteArray tone(800, '\0');
    for (int i = 0; i < tone.size(); ++i)
        tone[i] = char(128 + int(100 * std::sin(2 * M_PI * 1000 * i / 8000.0)));
    int heard = 0;
    for (int n = 0; n < 8; ++n) {
        const qsizetype from = m_pulse.recorded().size();
        out.QueueChunk(n, tone);
        QVERIFY2(
            PumpWait([&] { return out.backlog() == 0 && out.stream() && out.stream()->Held() == 0; }, 5000),
            qPrintable(QString::number(n)));
        PumpFor(100);
        if (peakOf(m_pulse.recorded().mid(from)) > 3000)
            ++heard;
    }
    m_pulse.stopRecording();
    QCOMPARE(heard, 8);
}

void TestLiveSound::gsmVoiceMatchesAContinuousDecode_data() {
    QTest::addColumn<int>("together"); // frames sent at once, every together × 200 ms
    QTest::newRow("steady pace") << 1;
    QTest::newRow("two frames at a time") << 2;
}

void TestLiveSound::gsmVoiceMatchesAContinuousDecode() {
    // Five 40 ms blocks a frame, sent in real time from the subscription on; the recording must
    // match a continuous decode of the whole stream block by block: no overlap, no gap, no
    // garbled start, no garbled chunk edge.
    QFETCH(int, together);
    constexpr int kBlocks = 100, kPerFrame = 5;
    const QByteArray stream = sweepStream(kBlocks);
    CaFrame whole;
    whole.codec = CaFrame::Gsm;
    whole.payload = stream;
    CaDecoder reference;
    QByteArrayView decoded;
    QVERIFY(reference.decode(whole, decoded));
    // The reference at the recording's 16 kHz, by linear interpolation (the sweep stays low).
    const QByteArray ref8 = decoded.toByteArray();
    QVector<double> ref;
    for (qsizetype i = 0; 2 * i + 1 < ref8.size(); ++i) {
        ref.append(sampleAt(ref8, i));
        ref.append((sampleAt(ref8, i) + sampleAt(ref8, i + 1)) / 2);
    }

    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    QPointer<QTcpSocket> peer;
    QElapsedTimer since;
    int sent = 0;
    QTimer pace;
    pace.setTimerType(Qt::PreciseTimer);
    QObject::connect(&pace, &QTimer::timeout, [&] {
        while (peer && sent < kBlocks / kPerFrame && since.elapsed() >= sent / together * together * 200) {
            const QByteArray payload = stream.mid(sent * kPerFrame * 65, kPerFrame * 65);
            peer->write(EncodeAudioFrame(
                QByteArray("CA 1,2,0,0,16,8000," + QByteArray::number(sent + 1) + ",20," + payload)));
            ++sent;
        }
    });
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        peer = server.nextPendingConnection();
        peer->write(EncodeAudioFrame("QN "));
        QObject::connect(peer, &QTcpSocket::readyRead, [&] {
            if (peer->readAll().contains(",1\r") && !pace.isActive()) {
                since.start();
                pace.start(5);
            }
        });
    });

    if (!m_pulse.startRecording())
        QFAIL("recorder did not start");
    PumpFor(300);
    TSoundForm out(std::make_unique<QtAudioDevice>());
    AudioChannel channel(out);
    channel.SiteIdentifier = [] { return QByteArray("QEV"); };
    channel.LaneCode = [](int) -> std::optional<QByteArray> { return QByteArray("A1"); };
    channel.SetServerSampleRate(8000);
    channel.SetAudioVolume(0);
    channel.SetAudioWanted(true);
    channel.OpenIfDue(QStringLiteral("127.0.0.1"), QString::number(server.serverPort()), false);
    QVERIFY(PumpWait([&] { return sent == kBlocks / kPerFrame; }, 10000));
    PumpFor(800);
    channel.close();
    const QByteArray rec = m_pulse.stopRecording();

    // Where the stream lies in the recording: found from one block in the middle.
    constexpr qsizetype kBlock = 640; // 40 ms at 16 kHz
    const qsizetype middle = kBlocks / 2 * kBlock;
    qsizetype lag = 0;
    double best = -1;
    for (qsizetype at = 0; at + kBlock < rec.size() / 2; ++at) {
        const double c = matchAt(ref, middle, rec, at, kBlock).correlation;
        if (c > best) {
            best = c;
            lag = at - middle;
        }
    }
    QVERIFY2(best > 0.9, qPrintable(QString::number(best)));
    // Every block next to where its neighbour lies: the recorder's clock may drift a little, but a
    // gap or an overlap of a millisecond (16 samples) is a jump no block can follow.
    QVector<qsizetype> at(kBlocks, 0);
    QVector<Match> found(kBlocks);
    const auto follow = [&](int b, qsizetype near) {
        for (int d = -3; d <= 3; ++d) {
            const Match t = matchAt(ref, b * kBlock, rec, b * kBlock + near + d, kBlock);
            if (t.correlation > found[b].correlation) {
                found[b] = t;
                at[b] = near + d;
            }
        }
    };
    follow(kBlocks / 2, lag);
    for (int b = kBlocks / 2 + 1; b < kBlocks; ++b)
        follow(b, at[b - 1]);
    for (int b = kBlocks / 2 - 1; b >= 0; --b)
        follow(b, at[b + 1]);
    QString report;
    int bad = 0;
    for (int b = 0; b < kBlocks; ++b) {
        const Match& m = found[b];
        // The sound server settles its timing over the first block of a new stream.
        if (m.correlation < (b == 0 ? 0.8 : 0.95) || qAbs(m.db) > 3) {
            ++bad;
            report += QStringLiteral(" %1:%2/%3dB").arg(b).arg(m.correlation, 0, 'f', 2).arg(m.db, 0, 'f', 1);
        }
    }
    if (qEnvironmentVariableIsSet("QEV_TEST_VERBOSE")) {
        qDebug("drift over the stream: %d samples", int(at.last() - at.first()));
        for (int b = 0; b < kBlocks; ++b)
            qDebug("block %d: %.3f %.1f dB at %d", b, found[b].correlation, found[b].db, int(at[b]));
    }
    QVERIFY2(bad == 0, qPrintable(QStringLiteral("blocks off:") + report));
}

void TestLiveSound::effectSoundsLoadAndPlay() {
    // Every generated sound loads into QSoundEffect from the program's resources.
    for (const char* name : {"S_CLICK", "S_PUSH", "S_ALARM", "S_START", "S_START1", "S_START2", "S_SELLOUT",
                             "S_CALLED", "S_SOLD"}) {
        QtEffectVoice voice(QString::fromLatin1(name));
        QVERIFY2(PumpWait([&] { return voice.Ready(); }, 5000), name);
    }
    if (!m_pulse.startRecording())
        QFAIL("recorder did not start");
    const qsizetype from = m_pulse.recorded().size();
    SoundEffects fx(QtEffectVoice::Factory());
    fx.CreateLaneEffects(1, 3);
    // Asked for at once, while the sound is still loading: it plays once loaded.
    QVERIFY(!fx.lane(0)->alarm()->IsSounding());
    fx.lane(0)->PlayAlarm();
    PumpFor(800);
    const QByteArray rec = m_pulse.stopRecording();
    QVERIFY2(peakOf(rec.mid(from)) > 3000, "the alarm was not heard");
}

void TestLiveSound::toolPlaysTheLaneAudio_data() {
    QTest::addColumn<bool>("audio");
    QTest::newRow("--audio") << true;
    QTest::newRow("silent without it") << false;
}

void TestLiveSound::toolPlaysTheLaneAudio() {
    QFETCH(bool, audio);
    HouseConfig config = HouseConfig::Default();
    config.signInPort = 0;
    config.audioServer = true; // chants on its own from the start
    AuctionHouse house(config);
    QVERIFY(house.Start());
    if (!m_pulse.startRecording())
        QFAIL("recorder did not start");
    QProcess tool;
    QStringList args{
        QStringLiteral("session"), QStringLiteral("--server"), QString::fromLatin1(house.SignInAddress()),
        QStringLiteral("--id"),    QStringLiteral("1001"),     QStringLiteral("--password"),
        QStringLiteral("demo")};
    if (audio)
        args.append(QStringLiteral("--audio"));
    tool.start(QStringLiteral(QEV_TOOL_PATH), args);
    QVERIFY(tool.waitForStarted());
    // Either way the session's channel subscribes; only --audio asks for the sound.
    QVERIFY(PumpWait([&] { return !house.Audio()->Subscriptions().isEmpty(); }, 10000));
    QCOMPARE(house.Audio()->Subscriptions().last().endsWith(",1"), audio);
    PumpFor(2000);
    tool.closeWriteChannel(); // the end of its input signs the tool out
    QVERIFY(PumpWait([&] { return tool.state() == QProcess::NotRunning; }, 10000));
    const QByteArray rec = m_pulse.stopRecording();
    QCOMPARE(peakOf(rec) > 3000, audio);
    QCOMPARE(tool.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestLiveSound)
#include "tst_livesound.moc"
