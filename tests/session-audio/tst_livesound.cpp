#include "audio/core/soundform.h"
#include "audio/device/qtaudiodevice.h"
#include "audio/device/qteffectvoice.h"
#include "audio/device/soundeffects.h"
#include "common/pumpwait.h"
#include "common/texthelpers.h"
#include "pulsenullsink.h"
#include "session/audio/audiochannel.h"
#include "tools/auction-house/audio/audioserver.h"

#include <QMediaDevices>
#include <QTest>
#include <QtEndian>
#include <cmath>

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
    void effectSoundsLoadAndPlay();

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

void TestLiveSound::effectSoundsLoadAndPlay() {
    // Every generated sound loads into QSoundEffect from the program's resources.
    for (const char* name : {"S_CLICK", "S_PUSH", "S_ALARM", "S_START", "S_START1", "S_START2", "S_SELLOUT",
                             "S_CALLED", "S_SOLD"}) {
        QtEffectVoice voice(QString::fromLatin1(name));
        QVERIFY2(PumpWait([&] { return voice.Ready(); }, 5000), name);
    }
    if (!m_pulse.startRecording())
        QFAIL("recorder did not start");
    SoundEffects fx(QtEffectVoice::Factory());
    fx.CreateLaneEffects(1, 3);
    PumpFor(500); // loading
    const qsizetype from = m_pulse.recorded().size();
    fx.lane(0)->PlayAlarm();
    PumpFor(800);
    const QByteArray rec = m_pulse.stopRecording();
    QVERIFY2(peakOf(rec.mid(from)) > 3000, "the alarm was not heard");
}

QTEST_GUILESS_MAIN(TestLiveSound)
#include "tst_livesound.moc"
