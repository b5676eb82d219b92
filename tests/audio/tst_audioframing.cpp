#include "audio/core/audioframeparser.h"
#include "audio/core/cadecoder.h"
#include "audio/core/caframe.h"

#include <QTest>
#include <QtEndian>
#include <cmath>
#include <gsm.h>
#include <zlib.h>

using namespace qev;

namespace {

QByteArray zlibOf(const QByteArray& data) {
    uLongf size = compressBound(uLong(data.size()));
    QByteArray out(qsizetype(size), '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.constData()),
             uLong(data.size()));
    out.resize(qsizetype(size));
    return out;
}

QVector<qint16> sine(int samples, double hz, double amp = 8000) {
    QVector<qint16> s(samples);
    for (int i = 0; i < samples; ++i)
        s[i] = qint16(amp * std::sin(2 * M_PI * hz * i / 8000.0));
    return s;
}

QByteArray gsmOf(const QVector<qint16>& pcm) {
    gsm g = gsm_create();
    int one = 1;
    gsm_option(g, GSM_OPT_WAV49, &one);
    QByteArray out;
    gsm_signal frame[160];
    for (int at = 0; at + 320 <= pcm.size(); at += 320) {
        gsm_byte block[65];
        memcpy(frame, pcm.constData() + at, sizeof frame);
        gsm_encode(g, frame, block);
        memcpy(frame, pcm.constData() + at + 160, sizeof frame);
        gsm_encode(g, frame, block + 32);
        out.append(reinterpret_cast<const char*>(block), 65);
    }
    gsm_destroy(g);
    return out;
}

// Energy of a tone at hz in 16-bit PCM relative to the signal's total energy (Goertzel).
double toneShare(QByteArrayView pcm, double hz) {
    const int n = int(pcm.size() / 2);
    double s1 = 0, s2 = 0, total = 0;
    const double k = 2 * std::cos(2 * M_PI * hz / 8000.0);
    for (int i = 0; i < n; ++i) {
        const double x = qFromLittleEndian<qint16>(pcm.data() + 2 * i);
        const double s0 = x + k * s1 - s2;
        s2 = s1;
        s1 = s0;
        total += x * x;
    }
    const double power = s1 * s1 + s2 * s2 - k * s1 * s2;
    return total > 0 ? 2 * power / (n * total) : 0;
}

} // namespace

class TestAudioFraming : public QObject {
    Q_OBJECT
private slots:
    void parserCutsSplitStreams_data();
    void parserCutsSplitStreams();
    void parserWaitsForThreeBytes();
    void parserLongStreamDoesNotGrow();
    void parserClearDropsPartialFrame();
    void caFields_data();
    void caFields();
    void zlibPayloads();
    void zlibBounded();
    void gsmDecodesWholeBlocks_data();
    void gsmDecodesWholeBlocks();
    void gsmStateRunsOnAcrossPayloads_data();
    void gsmStateRunsOnAcrossPayloads();
};

void TestAudioFraming::parserCutsSplitStreams_data() {
    QTest::addColumn<QList<int>>("cuts");
    // The stream below is three frames (bodies "QN!", 300 bytes, "CA" alone); the cuts are the
    // sizes of the successive data events.
    QTest::newRow("one piece") << QList<int>{};
    QTest::newRow("two whole and half a third") << QList<int>{5 + 302 + 2};
    QTest::newRow("byte by byte") << QList<int>{-1};
    QTest::newRow("inside the length prefix") << QList<int>{1, 5, 1};
    QTest::newRow("prefix alone then rest") << QList<int>{2};
}

void TestAudioFraming::parserCutsSplitStreams() {
    QFETCH(QList<int>, cuts);
    const QByteArray big(300, '\x55');
    const QList<QByteArray> bodies{"QN!", big, "CA"};
    QByteArray stream;
    for (const auto& b : bodies)
        stream += EncodeAudioFrame(b);

    AudioFrameParser parser;
    QList<QByteArray> got;
    auto drain = [&] {
        QByteArray body;
        while (parser.next(body))
            got.append(body);
    };
    qsizetype at = 0;
    if (cuts == QList<int>{-1}) {
        for (char c : stream) {
            parser.append(QByteArrayView(&c, 1));
            drain();
        }
        at = stream.size();
    }
    for (int c : cuts) {
        if (c < 0)
            continue;
        parser.append(QByteArrayView(stream).sliced(at, c));
        at += c;
        drain();
    }
    parser.append(QByteArrayView(stream).sliced(at));
    drain();
    QCOMPARE(got, bodies);
    QCOMPARE(parser.pending(), 0);
}

void TestAudioFraming::parserWaitsForThreeBytes() {
    AudioFrameParser parser;
    QByteArray body;
    parser.append(QByteArray("\0\0", 2)); // N = 0, but fewer than 3 bytes held
    QVERIFY(!parser.next(body));
    parser.append(EncodeAudioFrame("QN"));
    QVERIFY(parser.next(body));
    QCOMPARE(body, QByteArray()); // the N = 0 frame: empty body
    QVERIFY(parser.next(body));
    QCOMPARE(body, QByteArray("QN"));
    QVERIFY(!parser.next(body));
}

void TestAudioFraming::parserLongStreamDoesNotGrow() {
    AudioFrameParser parser;
    const QByteArray frame = EncodeAudioFrame(QByteArray(1000, 'x'));
    QByteArray body;
    for (int i = 0; i < 500; ++i) {
        parser.append(frame);
        parser.append(QByteArrayView(frame).first(10)); // keep a partial frame pending
        while (parser.next(body)) {
        }
        parser.append(QByteArrayView(frame).sliced(10));
        while (parser.next(body)) {
        }
    }
    QCOMPARE(parser.pending(), 0);
}

void TestAudioFraming::parserClearDropsPartialFrame() {
    AudioFrameParser parser;
    QByteArray body;
    const QByteArray first = EncodeAudioFrame("CA first");
    parser.append(first);
    parser.append(QByteArrayView(first).first(4));
    QVERIFY(parser.next(body));
    parser.clear(); // a new connection starts from a clean buffer
    parser.append(EncodeAudioFrame("QN"));
    QVERIFY(parser.next(body));
    QCOMPARE(body, QByteArray("QN"));
    QCOMPARE(parser.pending(), 0);
}

void TestAudioFraming::caFields_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("audio");
    QTest::addColumn<int>("codec");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("sequence");
    QTest::addColumn<int>("percentage");
    QTest::addColumn<QByteArray>("payload");

    QTest::newRow("all given") << QByteArray("1,0,a,b,8,8000,42,25,PCM") << true << 0 << 8 << 8000 << 42 << 25
                               << QByteArray("PCM");
    QTest::newRow("payload with commas") << QByteArray("1,2,,,16,8000,1,20,a,b,,c") << true << 2 << 16 << 8000
                                         << 1 << 20 << QByteArray("a,b,,c");
    QTest::newRow("codec x reads 1") << QByteArray("1,x,,,8,8000,1,20,z") << true << 1 << 8 << 8000 << 1 << 20
                                     << QByteArray("z");
    QTest::newRow("codec empty reads 1")
        << QByteArray("1,,,,8,8000,1,20,z") << true << 1 << 8 << 8000 << 1 << 20 << QByteArray("z");
    QTest::newRow("codec 3 kept") << QByteArray("1,3,,,8,8000,1,20,z") << true << 3 << 8 << 8000 << 1 << 20
                                  << QByteArray("z");
    QTest::newRow("flush mark 0") << QByteArray("0,0,,,8,8000,7,20,") << false << 0 << 8 << 8000 << 7 << 20
                                  << QByteArray();
    QTest::newRow("data mark 01 is a flush")
        << QByteArray("01,0,,,8,8000,7,20,x") << false << 0 << 8 << 8000 << 7 << 20 << QByteArray("x");
    QTest::newRow("data mark with space")
        << QByteArray("1 ,0,,,8,8000,7,20,x") << false << 0 << 8 << 8000 << 7 << 20 << QByteArray("x");
    QTest::newRow("missing fields take defaults")
        << QByteArray("1") << true << 1 << 0 << 0 << 0 << 20 << QByteArray();
    QTest::newRow("empty content") << QByteArray() << false << 1 << 0 << 0 << 0 << 20 << QByteArray();
    QTest::newRow("percentage junk") << QByteArray("1,0,,,8,8000,3,2x,p") << true << 0 << 8 << 8000 << 3 << 20
                                     << QByteArray("p");
    QTest::newRow("overflowing rate")
        << QByteArray("1,0,,,8,99999999999,3,20,p") << true << 0 << 8 << 0 << 3 << 20 << QByteArray("p");
    QTest::newRow("signs") << QByteArray("1,0,,,+16,-5,3,20,p") << true << 0 << 16 << -5 << 3 << 20
                           << QByteArray("p");
}

void TestAudioFraming::caFields() {
    QFETCH(QByteArray, content);
    const CaFrame f = CaFrame::parse(content);
    QTEST(f.carriesAudio, "audio");
    QTEST(f.codec, "codec");
    QTEST(f.bits, "bits");
    QTEST(f.rate, "rate");
    QTEST(f.sequence, "sequence");
    QTEST(f.percentage, "percentage");
    QTEST(f.payload, "payload");
}

void TestAudioFraming::zlibPayloads() {
    QByteArray pcm(5000, '\0');
    for (int i = 0; i < pcm.size(); ++i)
        pcm[i] = char(128 + 60 * std::sin(i / 7.0));
    CaDecoder dec;
    QByteArrayView out;
    for (int codec : {1, 3, -4}) {
        CaFrame f;
        f.codec = codec;
        f.rate = 100; // a poor first guess of the size must still work
        f.payload = zlibOf(pcm);
        QVERIFY(dec.decode(f, out));
        QCOMPARE(out.toByteArray(), pcm);
    }
    CaFrame broken;
    broken.codec = 1;
    broken.payload = zlibOf(pcm);
    broken.payload.chop(5); // truncated stream
    QVERIFY(!dec.decode(broken, out));
    broken.payload = "not zlib at all";
    QVERIFY(!dec.decode(broken, out));

    CaFrame raw;
    raw.codec = 0;
    raw.payload = "\x80\x81,\x82";
    QVERIFY(dec.decode(raw, out));
    QCOMPARE(out.toByteArray(), raw.payload);
}

void TestAudioFraming::zlibBounded() {
    // A small payload that would inflate far past the bound is dropped like a broken one.
    const QByteArray huge(CaDecoder::kMaxInflated + 1, '\x80');
    CaFrame f;
    f.codec = 1;
    f.payload = zlibOf(huge);
    QVERIFY(f.payload.size() < 4096);
    CaDecoder dec;
    QByteArrayView out;
    QVERIFY(!dec.decode(f, out));
    // Exactly at the bound is still audio.
    f.payload = zlibOf(QByteArray(CaDecoder::kMaxInflated, '\x80'));
    QVERIFY(dec.decode(f, out));
    QCOMPARE(out.size(), CaDecoder::kMaxInflated);
}

void TestAudioFraming::gsmDecodesWholeBlocks_data() {
    QTest::addColumn<int>("blocks");
    QTest::addColumn<int>("tail");
    QTest::newRow("one block") << 1 << 0;
    QTest::newRow("ten blocks") << 10 << 0;
    QTest::newRow("ten blocks and a partial one") << 10 << 40;
    QTest::newRow("only a partial block") << 0 << 64;
}

void TestAudioFraming::gsmDecodesWholeBlocks() {
    QFETCH(int, blocks);
    QFETCH(int, tail);
    QByteArray payload = gsmOf(sine(blocks * 320 + 320, 440.0));
    payload.truncate(blocks * 65 + tail);
    CaFrame f;
    f.codec = 2;
    f.bits = 16;
    f.rate = 8000;
    f.payload = payload;
    CaDecoder dec;
    QByteArrayView out;
    const bool ok = dec.decode(f, out);
    QCOMPARE(ok, blocks > 0);
    if (!ok)
        return;
    // Only the whole blocks' PCM: no undecoded tail bytes.
    QCOMPARE(out.size(), qsizetype(blocks) * 640);
    // The tone survives the codec (skipping the codec's first frame of start-up).
    QVERIFY2(toneShare(out.sliced(qMin<qsizetype>(out.size() / 2, 640)), 440.0) > 0.5, "440 Hz tone lost");
}

void TestAudioFraming::gsmStateRunsOnAcrossPayloads_data() {
    QTest::addColumn<QList<int>>("split"); // blocks per payload
    QTest::newRow("five-block frames") << QList<int>{5, 5, 5, 5};
    QTest::newRow("one-block frames") << QList<int>{1, 1, 1, 1, 1, 1};
    QTest::newRow("uneven frames") << QList<int>{3, 7, 2, 8};
}

void TestAudioFraming::gsmStateRunsOnAcrossPayloads() {
    // A stream cut into payloads decodes exactly as the whole stream in one piece.
    QFETCH(QList<int>, split);
    int total = 0;
    for (int n : split)
        total += n;
    QVector<qint16> voice(total * 320);
    for (int i = 0; i < voice.size(); ++i)
        voice[i] = qint16(6000 * std::sin(2 * M_PI * (300 + i / 8.0) * i / 8000.0));
    const QByteArray stream = gsmOf(voice);
    CaFrame f;
    f.codec = 2;
    f.payload = stream;
    CaDecoder whole;
    QByteArrayView out;
    QVERIFY(whole.decode(f, out));
    const QByteArray expected = out.toByteArray();

    CaDecoder dec;
    QByteArray joined, fresh;
    int at = 0;
    for (int n : split) {
        f.payload = stream.mid(at * 65, n * 65);
        at += n;
        QVERIFY(dec.decode(f, out));
        joined += out.toByteArray();
        CaDecoder alone;
        QVERIFY(alone.decode(f, out));
        fresh += out.toByteArray();
    }
    QCOMPARE(joined, expected);
    QVERIFY(fresh != expected); // a fresh state per payload is audibly not the same

    // After a reset the next payload starts a stream of its own.
    dec.resetGsm();
    f.payload = stream.first(split.first() * 65);
    QVERIFY(dec.decode(f, out));
    QCOMPARE(out.toByteArray(), expected.first(split.first() * 640));
}

QTEST_GUILESS_MAIN(TestAudioFraming)
#include "tst_audioframing.moc"
