// Base64 with the servers' lenient rules, the line scrambler, form-url decoding and the
// machine token.
#include "common/clock.h"
#include "session/codec/linecodec.h"

#include <QSet>
#include <QTest>
#include <QTimeZone>
#include <cstdlib>
#include <ctime>

using namespace qev;

namespace {

QByteArray allBytes() {
    QByteArray b;
    for (int i = 0; i < 256; ++i)
        b.append(static_cast<char>(i));
    return b;
}

// Shift-JIS text with a trailing backslash byte: bytes in, the same bytes out.
const QByteArray kShiftJis = QByteArray::fromHex("978e8e4482b582dc82b582bd5c");

} // namespace

class TestCodecText : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The token uses the local date; a zone far from UTC shows a UTC mix-up.
        qputenv("TZ", "Asia/Tokyo");
        tzset();
    }

    void base64Encode_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("one byte") << QByteArrayLiteral("f") << QByteArrayLiteral("Zg==");
        QTest::newRow("two bytes") << QByteArrayLiteral("fo") << QByteArrayLiteral("Zm8=");
        QTest::newRow("three bytes") << QByteArrayLiteral("foo") << QByteArrayLiteral("Zm9v");
        QTest::newRow("six bytes") << QByteArrayLiteral("foobar") << QByteArrayLiteral("Zm9vYmFy");
        QTest::newRow("high bytes") << QByteArray::fromHex("fbff") << QByteArrayLiteral("+/8=");
        QTest::newRow("zero bytes") << QByteArray(4, '\0') << QByteArrayLiteral("AAAAAA==");
    }
    void base64Encode() {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, text);
        QCOMPARE(Base64Encode(bytes), text);
    }

    void base64Decode_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("one byte") << QByteArrayLiteral("Zg==") << QByteArrayLiteral("f");
        QTest::newRow("two bytes") << QByteArrayLiteral("Zm8=") << QByteArrayLiteral("fo");
        QTest::newRow("groups") << QByteArrayLiteral("Zm9vYmFy") << QByteArrayLiteral("foobar");
        QTest::newRow("plus and slash") << QByteArrayLiteral("+/8=") << QByteArray::fromHex("fbff");
        // Anything outside A-Z a-z 0-9 + counts as 63, just like "/".
        QTest::newRow("unknown chars") << QByteArrayLiteral("!?*-") << QByteArray::fromHex("ffffff");
        QTest::newRow("spaces") << QByteArrayLiteral("    ") << QByteArray::fromHex("ffffff");
        QTest::newRow("high bytes") << QByteArray::fromHex("80ff9741") << QByteArray::fromHex("ffffc0");
        // "=" only counts as padding in the third or fourth place of the last group.
        QTest::newRow("= first place") << QByteArrayLiteral("=AAA") << QByteArray::fromHex("fc0000");
        QTest::newRow("= second place") << QByteArrayLiteral("A=AA") << QByteArray::fromHex("03f000");
        QTest::newRow("= in earlier group") << QByteArrayLiteral("QQ==QUJD")
                                            << QByteArrayLiteral("A\x0f\xff"
                                                                 "ABC");
        QTest::newRow("third = decides") << QByteArrayLiteral("QQ=x") << QByteArrayLiteral("A");
        QTest::newRow("all =") << QByteArrayLiteral("====") << QByteArray::fromHex("ff");
        QTest::newRow("fourth =") << QByteArrayLiteral("QUI=") << QByteArrayLiteral("AB");
        QTest::newRow("nul chars") << QByteArray(4, '\0') << QByteArray::fromHex("ffffff");
    }
    void base64Decode() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(Base64Decode(text), bytes);
        QByteArray out = QByteArrayLiteral("stale");
        QVERIFY(TryBase64Decode(text, out));
        QCOMPARE(out, bytes);
    }

    void base64DecodeRejectsLength_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("1") << QByteArrayLiteral("Z");
        QTest::newRow("2") << QByteArrayLiteral("Zg");
        QTest::newRow("3") << QByteArrayLiteral("Zg=");
        QTest::newRow("5") << QByteArrayLiteral("Zm9vY");
        QTest::newRow("7") << QByteArrayLiteral("Zm9vYm=");
    }
    void base64DecodeRejectsLength() {
        QFETCH(QByteArray, text);
        try {
            Base64Decode(text);
            QFAIL("no exception");
        } catch (const Base64FormatError& e) {
            QCOMPARE(QByteArray(e.what()), QByteArrayLiteral("Base64: Incorrect string format"));
        }
        QByteArray out = QByteArrayLiteral("kept");
        QVERIFY(!TryBase64Decode(text, out));
        QCOMPARE(out, QByteArrayLiteral("kept"));
    }

    void base64RoundTrip() {
        const QByteArray bytes = allBytes();
        for (qsizetype n = 0; n <= bytes.size(); ++n) {
            const QByteArray part = bytes.right(n);
            const QByteArray text = Base64Encode(part);
            QCOMPARE(text.size(), 4 * ((n + 2) / 3));
            QCOMPARE(Base64Decode(text), part);
        }
    }

    void lineScrambleKnownAnswer_data() {
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<int>("key");
        QTest::addColumn<QByteArray>("scrambled");
        QTest::newRow("text") << QByteArrayLiteral("AB") << 0x20 << QByteArrayLiteral("YWIg");
        QTest::newRow("key zero") << QByteArrayLiteral("PR:1") << 0 << QByteArrayLiteral("UFI6MQA=");
        QTest::newRow("empty") << QByteArray() << 0x41 << QByteArrayLiteral("QQ==");
        QTest::newRow("key ff") << QByteArray::fromHex("00ff") << 0xff << QByteArrayLiteral("/wD/");
    }
    void lineScrambleKnownAnswer() {
        QFETCH(QByteArray, plain);
        QFETCH(int, key);
        QFETCH(QByteArray, scrambled);
        QCOMPARE(LineScramble(plain, static_cast<quint8>(key)), scrambled);
        QCOMPARE(XorBytes(XorBytes(plain, static_cast<quint8>(key)), static_cast<quint8>(key)), plain);
    }

    void lineScrambleEveryKey() {
        for (int key = 0; key < 256; ++key) {
            const QByteArray s = LineScramble(kShiftJis, static_cast<quint8>(key));
            QCOMPARE(LineUnscramble(s), kShiftJis);
        }
    }

    void lineScrambleDrawsFreshKeys() {
        QSet<QByteArray> seen;
        for (int i = 0; i < 64; ++i) {
            const QByteArray s = LineScramble(QByteArrayLiteral("PR:0,1,2"));
            QCOMPARE(LineUnscramble(s), QByteArrayLiteral("PR:0,1,2"));
            seen.insert(s);
        }
        // 64 draws from 256 keys: a constant key would give one text.
        QVERIFY(seen.size() > 8);
    }

    void lineUnscrambleRejects_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("bad length") << QByteArrayLiteral("YWI");
        QTest::newRow("one byte") << QByteArrayLiteral("QQ==");
        QTest::newRow("crlf kept") << QByteArrayLiteral("YWIg\r");
    }
    void lineUnscrambleRejects() {
        QFETCH(QByteArray, text);
        QCOMPARE(LineUnscramble(text), QByteArray());
    }

    void lineUnscrambleGarbage() {
        // Unknown characters decode as 63: garbage, but of the right length and no failure.
        QCOMPARE(LineUnscramble(QByteArrayLiteral("!!!!")), QByteArray::fromHex("0000"));
    }

    void formUrlDecode_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("plain");
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("plain") << QByteArrayLiteral("abc=1&d") << QByteArrayLiteral("abc=1&d");
        QTest::newRow("plus") << QByteArrayLiteral("a+b") << QByteArrayLiteral("a b");
        QTest::newRow("escapes") << QByteArrayLiteral("%3D%2B%2f") << QByteArrayLiteral("=+/");
        QTest::newRow("mixed case") << QByteArrayLiteral("%4a%4A") << QByteArrayLiteral("JJ");
        QTest::newRow("escaped nul") << QByteArrayLiteral("a%00b") << QByteArrayLiteral("a\0b");
        QTest::newRow("bad hex") << QByteArrayLiteral("%zz1")
                                 << QByteArrayLiteral("\0"
                                                      "1");
        QTest::newRow("half hex") << QByteArrayLiteral("%4g") << QByteArrayLiteral("\0");
        QTest::newRow("percent percent") << QByteArrayLiteral("%%41")
                                         << QByteArrayLiteral("\0"
                                                              "1");
        QTest::newRow("one char at end") << QByteArrayLiteral("ab%4") << QByteArrayLiteral("ab\0");
        QTest::newRow("percent at end") << QByteArrayLiteral("ab%") << QByteArrayLiteral("ab\0");
        QTest::newRow("escaped plus stays") << QByteArrayLiteral("%2B+") << QByteArrayLiteral("+ ");
        QTest::newRow("shift-jis") << kShiftJis << kShiftJis;
        QTest::newRow("high escape") << QByteArrayLiteral("%97%8E") << QByteArray::fromHex("978e");
    }
    void formUrlDecode() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, plain);
        QCOMPARE(FormUrlDecode(text), plain);
    }

    void machineToken_data() {
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QByteArray>("serial");
        QTest::addColumn<QByteArray>("plain");
        const QTimeZone tokyo("Asia/Tokyo");
        const QDateTime jan1(QDate(2027, 1, 1), QTime(12, 0), tokyo);
        QTest::newRow("volume serial")
            << jan1 << QByteArrayLiteral("1A2B3C4D") << QByteArrayLiteral("011A2B3C4D01");
        QTest::newRow("short serial")
            << jan1 << QByteArrayLiteral("ABC") << QByteArrayLiteral("01     ABC01");
        QTest::newRow("long serial") << jan1 << QByteArrayLiteral("123456789AB")
                                     << QByteArrayLiteral("011234567801");
        QTest::newRow("empty serial") << jan1 << QByteArray() << QByteArrayLiteral("01        01");
        // 20:00 UTC on the 6th is already the 7th in Tokyo.
        QTest::newRow("local date") << QDateTime(QDate(2026, 11, 6), QTime(20, 0), QTimeZone::utc())
                                    << QByteArrayLiteral("1A2B3C4D") << QByteArrayLiteral("071A2B3C4D11");
        QTest::newRow("two-digit day") << QDateTime(QDate(2026, 12, 31), QTime(9, 0), tokyo)
                                       << QByteArrayLiteral("00000000") << QByteArrayLiteral("310000000012");
    }
    void machineToken() {
        QFETCH(QDateTime, now);
        QFETCH(QByteArray, serial);
        QFETCH(QByteArray, plain);
        ManualClock clock(now.toMSecsSinceEpoch());
        ScopedClock installed(clock);
        const QByteArray token = MachineToken(serial);
        QCOMPARE(token.size(), 4 * ((plain.size() + 1 + 2) / 3));
        QCOMPARE(LineUnscramble(token), plain);
    }
};

QTEST_GUILESS_MAIN(TestCodecText)
#include "tst_codectext.moc"
