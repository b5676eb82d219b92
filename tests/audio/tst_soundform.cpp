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

struct Fixture {
    ManualClock clock;
    ScopedClock scoped{clock};
    ClockAudioDevice* device = nullptr;
    std::unique_ptr<TSoundForm> out;

    explicit Fixture(bool failOpen = false) {
        auto d = std::make_unique<ClockAudioDevice>();
        d->failOpen = failOpen;
        device = d.get();
        out = std::make_unique<TSoundForm>(std::move(d));
    }
    void start() { out->InitAudio(8000, 8, 1); }
    void advance(int ms) {
        clock.advance(ms);
        device->Refresh();
    }
    // Which chunk tag each player sounds, '-' for idle.
    QByteArray players() const {
        QByteArray s;
        for (int i = 0; i < TSoundForm::kPlayers; ++i) {
            const auto& st = device->state(i);
            s += st.playing ? st.pcm.at(0) : '-';
        }
        return s;
    }
};

} // namespace

class TestSoundForm : public QObject {
    Q_OBJECT
private slots:
    void startsAtOnceOnFirstIdlePlayer();
    void queueLimitFlushesEverything();
    void endReportsWithAllPlayersBusy();
    void resetDoesNotStartWaitingChunks();
    void volumeBeforeStart();
    void volumeLevels_data();
    void volumeLevels();
    void failedDeviceDropsChunksInFives();
    void notStartedQueuesNothing();
    void initTwiceThrows();
    void formatChangeAppliesToNextChunk();
    void failedStartStillTakesChunk();
    void finalizeStopsWithoutStartingMore();
    void endHandlerMayFinalize();
};

void TestSoundForm::startsAtOnceOnFirstIdlePlayer() {
    Fixture f;
    f.start();
    f.out->QueueChunk(1, chunkMs(300, 'a'));
    QCOMPARE(f.players(), QByteArray("a---"));
    f.advance(100);
    f.out->QueueChunk(2, chunkMs(300, 'b'));
    QCOMPARE(f.players(), QByteArray("ab--")); // sounds together, no waiting
    f.advance(200);
    QCOMPARE(f.players(), QByteArray("-b--"));
    f.advance(100);
    QCOMPARE(f.players(), QByteArray("----"));
    QCOMPARE(f.device->state(0).plays, 1);
    QCOMPARE(f.device->state(0).stops, 0);
}

void TestSoundForm::queueLimitFlushesEverything() {
    Fixture f;
    f.start();
    for (char c : QByteArray("abcd"))
        f.out->QueueChunk(0, chunkMs(1000, c));
    for (char c : QByteArray("efghi"))
        f.out->QueueChunk(0, chunkMs(1000, c));
    QCOMPARE(f.players(), QByteArray("abcd"));
    QCOMPARE(f.out->queued(), 5);
    f.out->QueueChunk(9, chunkMs(1000, 'z'));
    QCOMPARE(f.players(), QByteArray("z---"));
    QCOMPARE(f.out->queued(), 0);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(f.device->state(i).stops, 1);
    // Nothing of the dropped backlog comes back later.
    f.advance(1000);
    QCOMPARE(f.players(), QByteArray("----"));
}

void TestSoundForm::endReportsWithAllPlayersBusy() {
    Fixture f;
    f.start();
    f.out->QueueChunk(0, chunkMs(100, 'a'));
    f.out->QueueChunk(0, chunkMs(200, 'b'));
    f.out->QueueChunk(0, chunkMs(300, 'c'));
    f.out->QueueChunk(0, chunkMs(400, 'd'));
    f.out->QueueChunk(0, chunkMs(100, 'e'));
    f.out->QueueChunk(0, chunkMs(100, 'f'));
    QCOMPARE(f.players(), QByteArray("abcd"));
    // The first to end still counts as playing in its own report: nothing starts.
    f.advance(100);
    QCOMPARE(f.players(), QByteArray("-bcd"));
    QCOMPARE(f.out->queued(), 2);
    // The second report starts the oldest waiting chunk on the idle first player.
    f.advance(100);
    QCOMPARE(f.players(), QByteArray("e-cd"));
    QCOMPARE(f.out->queued(), 1);
    f.advance(100); // 'e' and 'c' end: 'e' (player 0) reports first, player 1 is idle → 'f' there
    QCOMPARE(f.players(), QByteArray("-f-d"));
    QCOMPARE(f.out->queued(), 0);
}

void TestSoundForm::resetDoesNotStartWaitingChunks() {
    Fixture f;
    f.start();
    for (char c : QByteArray("abcdef"))
        f.out->QueueChunk(0, chunkMs(500, c));
    f.out->ResetPlayback();
    QCOMPARE(f.players(), QByteArray("----"));
    QCOMPARE(f.out->queued(), 0);
    // The end reports are attached again afterwards.
    f.out->QueueChunk(0, chunkMs(100, 'x'));
    f.out->QueueChunk(0, chunkMs(100, 'y'));
    f.out->QueueChunk(0, chunkMs(100, 'z'));
    f.out->QueueChunk(0, chunkMs(100, 'w'));
    f.out->QueueChunk(0, chunkMs(100, 'v'));
    f.advance(100);
    // Player 0 ends first but starts nothing; player 1's report hands 'v' to player 0.
    QCOMPARE(f.players(), QByteArray("v---"));
    QCOMPARE(f.out->queued(), 0);
}

void TestSoundForm::volumeBeforeStart() {
    Fixture f;
    f.out->SetVolume(-750);
    QVERIFY(!f.out->volumeApplied());
    f.start();
    QVERIFY(!f.out->volumeApplied());
    f.out->QueueChunk(0, chunkMs(50, 'a'));
    QCOMPARE(f.device->state(0).volume, -750);
    f.out->SetVolume(-1500);
    QVERIFY(f.out->volumeApplied());
    for (int i = 0; i < 4; ++i)
        QCOMPARE(f.device->state(i).volume, -1500);
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
    f.out->QueueChunk(0, chunkMs(50, 'a'));
    QCOMPARE(f.players(), QByteArray("a---"));
}

void TestSoundForm::failedDeviceDropsChunksInFives() {
    Fixture f(true);
    f.start();
    QVERIFY(f.out->started());
    QCOMPARE(f.out->FindIdlePlayer(), -1);
    for (int i = 0; i < 5; ++i)
        f.out->QueueChunk(i, chunkMs(10, 'a'));
    QCOMPARE(f.out->queued(), 5);
    f.out->QueueChunk(5, chunkMs(10, 'a'));
    QCOMPARE(f.out->queued(), 1);
    f.out->SetVolume(0);
    QVERIFY(!f.out->volumeApplied());
}

void TestSoundForm::notStartedQueuesNothing() {
    Fixture f;
    for (int i = 0; i < 20; ++i)
        f.out->QueueChunk(i, chunkMs(10, 'a'));
    QCOMPARE(f.out->queued(), 0);
    f.out->ResetPlayback();
    f.out->PlayNextChunk();
    QCOMPARE(f.device->opens, 0);
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

void TestSoundForm::formatChangeAppliesToNextChunk() {
    Fixture f;
    f.start();
    QCOMPARE(f.device->primaryFormat, (WaveFormat{8000, 8, 1}));
    f.out->SetPcmFormat(8000, 16, 1);
    QCOMPARE(f.device->primaryFormat, (WaveFormat{8000, 16, 1}));
    f.out->QueueChunk(0, QByteArray(1600, 'a'));
    QCOMPARE(f.device->state(0).format, (WaveFormat{8000, 16, 1}));
    QCOMPARE(f.device->state(0).durationMs, 100); // 1600 bytes at 16 bytes a millisecond
}

void TestSoundForm::failedStartStillTakesChunk() {
    Fixture f;
    f.start();
    f.device->state(0).failNextPlay = true;
    f.out->QueueChunk(0, chunkMs(50, 'a'));
    QCOMPARE(f.out->queued(), 0);
    QCOMPARE(f.players(), QByteArray("----"));
    f.out->QueueChunk(0, chunkMs(50, 'b'));
    QCOMPARE(f.players(), QByteArray("b---"));
}

void TestSoundForm::finalizeStopsWithoutStartingMore() {
    Fixture f;
    f.start();
    for (char c : QByteArray("abcdef"))
        f.out->QueueChunk(0, chunkMs(500, c));
    f.out->FinalizeAudio();
    QVERIFY(!f.out->started());
    QCOMPARE(f.out->queued(), 0);
    for (int i = 0; i < 4; ++i)
        QVERIFY(!f.device->state(i).exists);
}

void TestSoundForm::endHandlerMayFinalize() {
    Fixture f;
    f.start();
    f.out->QueueChunk(0, chunkMs(50, 'a'));
    // A handler that tears the output down from inside an end report must not crash.
    f.out->player(0)->OnEnd = [&](TAudioStream&) { f.out->FinalizeAudio(); };
    f.advance(50);
    QVERIFY(!f.out->started());
}

QTEST_GUILESS_MAIN(TestSoundForm)
#include "tst_soundform.moc"
