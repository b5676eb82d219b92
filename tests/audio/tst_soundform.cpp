#include "audio/core/clockaudiodevice.h"
#include "audio/core/soundform.h"
#include "common/clock.h"

#include <QTest>

using namespace qev;

namespace {

// 8000 Hz, 8-bit mono: 8 bytes a millisecond.
QByteArray chunkMs(int ms, char tag) {
    return QByteArray(ms * 8, tag);
}

// What was heard as runs of equal bytes, "<tag><ms>", with "-" for silence: "-60 a200 b200".
QByteArray runs(const QByteArray& heard, int bytesPerMs = 8) {
    QByteArray s;
    for (qsizetype i = 0; i < heard.size();) {
        qsizetype j = i;
        while (j < heard.size() && heard[j] == heard[i])
            ++j;
        if (!s.isEmpty())
            s += ' ';
        s += (heard[i] == char(0x80) ? '-' : heard[i]) + QByteArray::number((j - i) / bytesPerMs);
        i = j;
    }
    return s;
}

struct Fixture {
    ManualClock clock;
    ScopedClock scoped{clock};
    ClockAudioDevice* device = nullptr;
    std::unique_ptr<TSoundForm> out;
    int mostPlaying = 0; // streams playing at one time, at worst

    explicit Fixture(bool failOpen = false) {
        auto d = std::make_unique<ClockAudioDevice>();
        d->failOpen = failOpen;
        device = d.get();
        out = std::make_unique<TSoundForm>(std::move(d));
    }
    void start() { out->InitAudio(8000, 8, 1); }
    // Moves the clock in the device's 10 ms pulls.
    void advance(int ms) {
        for (int t = 0; t < ms; t += 10) {
            clock.advance(qMin(10, ms - t));
            device->Refresh();
            note();
        }
    }
    void queue(int ms, char tag) {
        out->QueueChunk(0, chunkMs(ms, tag));
        note();
    }
    void note() {
        int playing = 0;
        for (int i = 0; i < device->streams(); ++i)
            playing += device->state(i).exists && device->state(i).playing;
        mostPlaying = qMax(mostPlaying, playing);
    }
};

} // namespace

class TestSoundForm : public QObject {
    Q_OBJECT
private slots:
    void chunksFollowEachOtherGapless_data();
    void chunksFollowEachOtherGapless();
    void burstDropsOldestAndDelayStaysBounded();
    void dryStreamRestartsBehindLead();
    void formatChangeStartsAStreamOfItsOwn();
    void resetDropsWaitingAndHeldAudio();
    void volumeBeforeStart();
    void volumeLevels_data();
    void volumeLevels();
    void failedDevicePlaysNothing();
    void notStartedQueuesNothing();
    void initTwiceThrows();
    void failedStartDropsOnlyThatChunk();
    void finalizeStopsTheStream();
};

void TestSoundForm::chunksFollowEachOtherGapless_data() {
    // Arrival times (ms) of six 200 ms chunks.
    QTest::addColumn<QList<int>>("arrivals");
    QTest::newRow("steady pace") << QList<int>{0, 200, 400, 600, 800, 1000};
    QTest::newRow("each up to 50 ms late") << QList<int>{0, 250, 430, 650, 810, 1050};
    QTest::newRow("two at a time") << QList<int>{0, 0, 400, 400, 800, 800};
    QTest::newRow("one early, one late") << QList<int>{0, 150, 450, 600, 790, 1040};
}

void TestSoundForm::chunksFollowEachOtherGapless() {
    QFETCH(QList<int>, arrivals);
    Fixture f;
    f.start();
    int now = 0;
    const QByteArray tags = "abcdef";
    for (int i = 0; i < arrivals.size(); ++i) {
        f.advance(arrivals[i] - now);
        now = arrivals[i];
        f.queue(200, tags[i]);
    }
    f.advance(1500);
    // One stream, one chunk after another: no gap, nothing on top of another, nothing dropped.
    QCOMPARE(runs(f.device->heard()), QByteArray("-60 a200 b200 c200 d200 e200 f200"));
    QCOMPARE(f.device->last().gaps, 0);
    QCOMPARE(f.device->streams(), 1);
    QCOMPARE(f.mostPlaying, 1);
}

void TestSoundForm::burstDropsOldestAndDelayStaysBounded() {
    Fixture f;
    f.start();
    const qint64 bound = TSoundForm::kMaxBacklogMs * 8;
    for (char c : QByteArray("abcdefghij")) {
        f.queue(200, c);
        QVERIFY(f.out->backlog() <= bound);
    }
    // The newest audio survives whole; the device had taken its buffer before the burst.
    f.advance(2000);
    QCOMPARE(runs(f.device->heard()), QByteArray("-60 a40 h100 i200 j200"));
    // At most the device buffer and the bound were ahead of the newest chunk's end.
    QCOMPARE(f.device->heard().size(), (100 + TSoundForm::kMaxBacklogMs) * 8);

    // A steady over-supply never lets the delay grow past the bound either.
    Fixture g;
    g.start();
    for (int i = 0; i < 40; ++i) {
        g.queue(200, char('a' + i % 26));
        g.advance(100);
        QVERIFY(g.out->backlog() <= bound);
    }
}

void TestSoundForm::dryStreamRestartsBehindLead() {
    Fixture f;
    f.start();
    f.queue(100, 'a');
    f.advance(1000); // the voice pauses
    f.queue(100, 'b');
    f.advance(500);
    QCOMPARE(runs(f.device->heard()), QByteArray("-60 a100 -900 b100"));
    QCOMPARE(f.device->streams(), 1);
}

void TestSoundForm::formatChangeStartsAStreamOfItsOwn() {
    Fixture f;
    f.start();
    QCOMPARE(f.device->primaryFormat, (WaveFormat{8000, 8, 1}));
    f.queue(200, 'a');
    f.advance(100);
    f.out->SetPcmFormat(8000, 16, 1);
    QCOMPARE(f.device->primaryFormat, (WaveFormat{8000, 16, 1}));
    // 3201 bytes: the stray byte would shift every later sample, so it is left out.
    f.out->QueueChunk(0, QByteArray(3201, 'b'));
    f.note();
    f.advance(500);
    QCOMPARE(f.device->streams(), 2);
    QCOMPARE(f.device->state(0).format, (WaveFormat{8000, 8, 1}));
    QCOMPARE(f.device->state(0).stops, 1);
    QCOMPARE(f.device->state(1).format, (WaveFormat{8000, 16, 1}));
    QCOMPARE(f.device->state(1).heard, QByteArray(60 * 16, '\0') + QByteArray(3200, 'b'));
    QCOMPARE(f.mostPlaying, 1); // the old stream stopped before the new one started
}

void TestSoundForm::resetDropsWaitingAndHeldAudio() {
    Fixture f;
    f.start();
    for (char c : QByteArray("abc"))
        f.queue(200, c);
    f.advance(50);
    f.out->ResetPlayback();
    QCOMPARE(f.out->queued(), 0);
    QCOMPARE(f.out->backlog(), 0);
    QVERIFY(!f.device->sounding());
    f.advance(500);
    f.queue(100, 'x');
    f.advance(500);
    QCOMPARE(runs(f.device->state(0).heard), QByteArray("-50"));
    QCOMPARE(runs(f.device->state(1).heard), QByteArray("-60 x100"));
}

void TestSoundForm::volumeBeforeStart() {
    Fixture f;
    f.out->SetVolume(-750);
    QVERIFY(!f.out->volumeApplied());
    f.start();
    f.queue(50, 'a');
    QCOMPARE(f.device->last().volume, -750);
    QVERIFY(f.out->volumeApplied());
    f.out->SetVolume(-1500);
    QCOMPARE(f.device->last().volume, -1500);
}

void TestSoundForm::volumeLevels_data() {
    QTest::addColumn<int>("attenuation");
    QTest::addColumn<double>("gain");
    QTest::newRow("level 0") << -10000 << 0.0;
    QTest::newRow("level 1") << -1500 << 0.177827941;
    QTest::newRow("level 2") << -750 << 0.421696503;
    QTest::newRow("level 3") << 0 << 1.0;
}

void TestSoundForm::volumeLevels() {
    QFETCH(int, attenuation);
    QFETCH(double, gain);
    QVERIFY(qAbs(AttenuationToGain(attenuation) - gain) < 1e-6);
    // Silence does not stop the live audio.
    Fixture f;
    f.start();
    f.out->SetVolume(attenuation);
    f.queue(50, 'a');
    QVERIFY(f.device->sounding());
}

void TestSoundForm::failedDevicePlaysNothing() {
    Fixture f(true);
    f.start();
    QVERIFY(f.out->started());
    for (int i = 0; i < 20; ++i)
        f.queue(10, 'a');
    QCOMPARE(f.out->queued(), 0);
    QCOMPARE(f.device->streams(), 0);
    f.out->SetVolume(0);
    QVERIFY(!f.out->volumeApplied());
}

void TestSoundForm::notStartedQueuesNothing() {
    Fixture f;
    for (int i = 0; i < 20; ++i)
        f.queue(10, 'a');
    QCOMPARE(f.out->queued(), 0);
    f.out->ResetPlayback();
    QCOMPARE(f.device->opens, 0);
    QCOMPARE(f.device->streams(), 0);
}

void TestSoundForm::initTwiceThrows() {
    Fixture f;
    f.start();
    try {
        f.out->InitAudio(8000, 8, 1);
        QFAIL("second InitAudio did not raise");
    } catch (const std::logic_error& e) {
        QCOMPARE(QByteArray(e.what()), QByteArray("Already Initialized"));
    }
    f.out->FinalizeAudio();
    f.start(); // after finalising it may start again
    QVERIFY(f.out->started());
}

void TestSoundForm::failedStartDropsOnlyThatChunk() {
    Fixture f;
    f.start();
    f.device->failNextStart = true;
    f.queue(50, 'a');
    QCOMPARE(f.out->queued(), 0);
    f.queue(50, 'b');
    f.advance(200);
    QCOMPARE(runs(f.device->heard()), QByteArray("-60 b50"));
}

void TestSoundForm::finalizeStopsTheStream() {
    Fixture f;
    f.start();
    for (char c : QByteArray("abcdef"))
        f.queue(500, c);
    f.out->FinalizeAudio();
    QVERIFY(!f.out->started());
    QCOMPARE(f.out->queued(), 0);
    QVERIFY(!f.device->last().exists);
}

QTEST_GUILESS_MAIN(TestSoundForm)
#include "tst_soundform.moc"
