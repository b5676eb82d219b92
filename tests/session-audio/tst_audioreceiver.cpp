#include "audio/core/audioframeparser.h"
#include "audio/core/clockaudiodevice.h"
#include "audio/core/soundform.h"
#include "common/clock.h"
#include "session/audio/audioreceiver.h"

#include <QTest>
#include <gsm.h>
#include <zlib.h>

using namespace qev;

namespace {

QByteArray caFrame(const QByteArray& fields, const QByteArray& payload = {}) {
    return EncodeAudioFrame(QByteArray("CA " + fields + payload));
}

QByteArray rawFrame(int bytes, int seq, int rate = 8000, int pct = 20, char fill = 'a', int bits = 8) {
    return caFrame("1,0,,," + QByteArray::number(bits) + ',' + QByteArray::number(rate) + ',' +
                       QByteArray::number(seq) + ',' + QByteArray::number(pct) + ',',
                   QByteArray(bytes, fill));
}

QByteArray zlibOf(const QByteArray& data) {
    uLongf size = compressBound(uLong(data.size()));
    QByteArray out(qsizetype(size), '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.constData()),
             uLong(data.size()));
    out.resize(qsizetype(size));
    return out;
}

// The output with a clock device; every chunk is recorded as it is queued.
struct Fixture {
    ManualClock clock;
    ScopedClock scoped{clock};
    ClockAudioDevice* device = nullptr;
    std::unique_ptr<TSoundForm> out;
    std::unique_ptr<AudioReceiver> rx;
    QList<QByteArray> chunks; // PCM of every chunk queued, in order
    QList<WaveFormat> formats;

    explicit Fixture(bool start = true) {
        auto d = std::make_unique<ClockAudioDevice>();
        device = d.get();
        out = std::make_unique<TSoundForm>(std::move(d));
        out->OnChunkQueued = [this](TSoundForm& sender, const TWaveItem& chunk) {
            chunks.append(chunk.pcm);
            formats.append(sender.format());
        };
        rx = std::make_unique<AudioReceiver>(*out);
        if (start) {
            out->InitAudio(8000, 8, 1);
            rx->SetServerFormat(8000);
        }
    }
    void feed(const QByteArray& bytes) {
        rx->HandleBytes(bytes);
        clock.advance(100'000);
        device->Refresh();
    }
    QList<int> chunkSizes() const {
        QList<int> s;
        for (const auto& c : chunks)
            s.append(int(c.size()));
        return s;
    }
};

} // namespace

class TestAudioReceiver : public QObject {
    Q_OBJECT
private slots:
    void threshold_data();
    void threshold();
    void flushMarks();
    void formatChangeComesFirst();
    void droppedBeforeStart();
    void volumeReappliedUntilTaken();
    void subscriptionRequestMidStream();
    void ignoredFrames_data();
    void ignoredFrames();
    void codecDefaultsInflate();
    void brokenPayloadsKeepAccumulator();
    void gsmChunk();
    void gsmStreamEnds_data();
    void gsmStreamEnds();
    void resetForgetsPartialFrameAndPcm();
};

void TestAudioReceiver::threshold_data() {
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("percentage");
    QTest::addColumn<int>("frameBytes");
    QTest::addColumn<int>("frames");
    QTest::addColumn<QList<int>>("chunks");
    // 8000 × 20 % = 1600 bytes: four 500-byte frames reach 2000, and the whole 2000 goes out.
    QTest::newRow("8000 at 20%") << 8000 << 20 << 500 << 8 << QList<int>{2000, 2000};
    QTest::newRow("exactly at threshold") << 8000 << 20 << 800 << 4 << QList<int>{1600, 1600};
    QTest::newRow("rounded down") << 8001 << 19 << 380 << 4 << QList<int>{1520}; // 1520.19 → 1520
    QTest::newRow("rate 0: every frame") << 0 << 20 << 100 << 3 << QList<int>{100, 100, 100};
    QTest::newRow("percentage 0: every frame") << 8000 << 0 << 100 << 3 << QList<int>{100, 100, 100};
    QTest::newRow("negative rate: every frame") << -8000 << 20 << 100 << 2 << QList<int>{100, 100};
    QTest::newRow("huge threshold is bounded")
        << 2'000'000'000 << 2'000'000'000 << 60'000 << 18 << QList<int>{1'080'000};
}

void TestAudioReceiver::threshold() {
    QFETCH(int, rate);
    QFETCH(int, percentage);
    QFETCH(int, frameBytes);
    QFETCH(int, frames);
    Fixture f;
    QByteArray stream;
    for (int i = 0; i < frames; ++i)
        stream += rawFrame(frameBytes, i, rate, percentage);
    // Whole stream in one data event: the receiver must cut every frame.
    f.rx->HandleBytes(stream);
    QTEST(f.chunkSizes(), "chunks");
}

void TestAudioReceiver::flushMarks() {
    Fixture f;
    f.feed(caFrame("0,0,,,8,8000,5,20,"));
    QVERIFY(f.chunks.isEmpty()); // nothing gathered: nothing queued
    f.feed(rawFrame(300, 6));
    QVERIFY(f.chunks.isEmpty());
    f.feed(caFrame("0,0,,,8,8000,7,20,"));
    QCOMPARE(f.chunkSizes(), QList<int>{300}); // below the threshold, flushed anyway
    QCOMPARE(f.rx->accumulated(), 0);
    f.feed(caFrame("x,0,,,8,8000,8,20,ignored payload"));
    QCOMPARE(f.chunkSizes(), QList<int>{300});
}

void TestAudioReceiver::formatChangeComesFirst() {
    Fixture f;
    f.feed(rawFrame(1000, 1));
    QCOMPARE(f.device->primaryFormat, (WaveFormat{8000, 8, 1}));
    // A 16-bit frame: the format changes before its own audio is queued, so the chunk that was
    // gathered at 8 bits goes out under the new format together with it.
    f.feed(rawFrame(1000, 2, 8000, 20, 'b', 16));
    QCOMPARE(f.device->primaryFormat, (WaveFormat{8000, 16, 1}));
    QCOMPARE(f.chunkSizes(), QList<int>{2000});
    QCOMPARE(f.formats.value(0), (WaveFormat{8000, 16, 1}));
    // A flush mark with another rate changes the format as well.
    f.feed(caFrame("0,0,,,16,11025,3,20,"));
    QCOMPARE(f.device->primaryFormat, (WaveFormat{11025, 16, 1}));
    QCOMPARE(f.rx->currentRate(), 11025);
}

void TestAudioReceiver::droppedBeforeStart() {
    Fixture f(false);
    f.feed(rawFrame(5000, 1));
    QCOMPARE(f.rx->accumulated(), 0);
    QCOMPARE(f.out->queued(), 0);
    QCOMPARE(f.device->opens, 0);
}

void TestAudioReceiver::volumeReappliedUntilTaken() {
    Fixture f(false);
    f.out->SetVolume(-750); // before the output has a stream: only stored
    f.out->InitAudio(8000, 8, 1);
    f.rx->SetServerFormat(8000);
    QVERIFY(!f.out->volumeApplied());
    f.feed(caFrame("0,0,,,8,8000,1,20,"));
    QVERIFY(!f.out->volumeApplied()); // no audio yet, so no stream to take it
    f.feed(rawFrame(1600, 2));
    QVERIFY(f.out->volumeApplied());
    QCOMPARE(f.device->last().volume, -750);
}

void TestAudioReceiver::subscriptionRequestMidStream() {
    Fixture f;
    int requests = 0;
    f.rx->OnSubscriptionRequest = [&](AudioReceiver&) { ++requests; };
    QByteArray stream = rawFrame(1600, 1) + EncodeAudioFrame("QN") + rawFrame(1600, 2);
    stream += EncodeAudioFrame("QN"); // type only, no third byte
    f.feed(stream.left(stream.size() - 1));
    QCOMPARE(requests, 1);
    QCOMPARE(f.chunkSizes(), (QList<int>{1600, 1600}));
    f.feed(stream.right(1));
    QCOMPARE(requests, 2);
}

void TestAudioReceiver::ignoredFrames_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("N = 0") << QByteArray();
    QTest::newRow("one byte") << QByteArray("C");
    QTest::newRow("lower case type") << QByteArray("ca 1,0,,,8,8000,1,0,xxxx");
    QTest::newRow("unknown type") << QByteArray("ZZ 1,0,,,8,8000,1,0,xxxx");
    QTest::newRow("type only") << QByteArray("CA");
}

void TestAudioReceiver::ignoredFrames() {
    QFETCH(QByteArray, body);
    Fixture f;
    f.feed(EncodeAudioFrame(body) + rawFrame(10, 1, 8000, 0));
    QCOMPARE(f.chunkSizes(), QList<int>{10}); // the next frame is still read correctly
}

void TestAudioReceiver::codecDefaultsInflate() {
    const QByteArray pcm(800, '\x70');
    for (const QByteArray& codec : {QByteArray("x"), QByteArray(""), QByteArray("3"), QByteArray("1")}) {
        Fixture f;
        f.feed(caFrame("1," + codec + ",,,8,8000,1,0,", zlibOf(pcm)));
        QCOMPARE(f.chunks, QList<QByteArray>{pcm});
    }
}

void TestAudioReceiver::brokenPayloadsKeepAccumulator() {
    Fixture f;
    f.feed(rawFrame(1000, 1));
    f.feed(caFrame("1,1,,,8,8000,2,20,", "garbage, not zlib"));
    f.feed(caFrame("1,2,,,8,8000,3,20,", QByteArray(64, 'g'))); // less than one GSM block
    QCOMPARE(f.rx->accumulated(), 1000);
    f.feed(rawFrame(600, 4));
    QCOMPARE(f.chunkSizes(), QList<int>{1600});
}

void TestAudioReceiver::gsmChunk() {
    gsm g = gsm_create();
    int one = 1;
    gsm_option(g, GSM_OPT_WAV49, &one);
    gsm_signal frame[160] = {};
    QByteArray payload;
    for (int b = 0; b < 5; ++b) {
        gsm_byte block[65];
        gsm_encode(g, frame, block);
        gsm_encode(g, frame, block + 32);
        payload.append(reinterpret_cast<const char*>(block), 65);
    }
    gsm_destroy(g);
    Fixture f;
    // 8000 × 20 % = 1600: five blocks give 3200 bytes of 16-bit PCM, one chunk.
    f.feed(caFrame("1,2,,,16,8000,9,20,", payload + QByteArray(10, 'x')));
    QCOMPARE(f.chunkSizes(), QList<int>{3200});
    QCOMPARE(f.formats.value(0), (WaveFormat{8000, 16, 1}));
}

void TestAudioReceiver::gsmStreamEnds_data() {
    QTest::addColumn<QByteArray>("between");
    QTest::addColumn<bool>("reconnect");
    QTest::addColumn<int>("rate");
    QTest::addColumn<bool>("fresh");
    QTest::newRow("stream goes on") << QByteArray() << false << 8000 << false;
    // The server information's 8 bits are not the frames' format: the stream goes on.
    QTest::newRow("server information again") << QByteArray("info") << false << 8000 << false;
    QTest::newRow("flush mark") << caFrame("0,2,,,16,8000,2,0,") << false << 8000 << true;
    QTest::newRow("format change") << QByteArray() << false << 11025 << true;
    QTest::newRow("codec change") << caFrame("1,0,,,16,8000,2,0,", QByteArray(320, '\0')) << false << 8000
                                  << true;
    QTest::newRow("new connection") << QByteArray() << true << 8000 << true;
}

void TestAudioReceiver::gsmStreamEnds() {
    QFETCH(QByteArray, between);
    QFETCH(bool, reconnect);
    QFETCH(int, rate);
    QFETCH(bool, fresh);
    QVector<qint16> voice(3200);
    for (int i = 0; i < voice.size(); ++i)
        voice[i] = qint16(6000 * std::sin(2 * M_PI * (300 + i / 8.0) * i / 8000.0));
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
    const QByteArray first = stream.first(325), second = stream.sliced(325);
    // What the second payload decodes to as the stream's continuation, and on a fresh state.
    CaFrame f;
    f.codec = 2;
    f.payload = first;
    CaDecoder dec;
    QByteArrayView out;
    QVERIFY(dec.decode(f, out));
    f.payload = second;
    QVERIFY(dec.decode(f, out));
    const QByteArray continued = out.toByteArray();
    CaDecoder alone;
    QVERIFY(alone.decode(f, out));
    const QByteArray afresh = out.toByteArray();
    QVERIFY(continued != afresh);

    Fixture f2;
    f2.feed(caFrame("1,2,,,16,8000,1,0,", first));
    if (between == "info")
        f2.rx->SetServerFormat(8000);
    else
        f2.feed(between);
    if (reconnect)
        f2.rx->Reset();
    f2.feed(caFrame("1,2,,,16," + QByteArray::number(rate) + ",3,0,", second));
    QCOMPARE(f2.chunks.last(), fresh ? afresh : continued);
}

void TestAudioReceiver::resetForgetsPartialFrameAndPcm() {
    Fixture f;
    f.feed(rawFrame(1000, 1));
    const QByteArray next = rawFrame(1000, 2);
    f.feed(next.left(500));
    f.rx->Reset();
    QCOMPARE(f.rx->accumulated(), 0);
    f.feed(rawFrame(1600, 3));
    QCOMPARE(f.chunkSizes(), QList<int>{1600});
}

QTEST_GUILESS_MAIN(TestAudioReceiver)
#include "tst_audioreceiver.moc"
