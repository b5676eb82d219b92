// The line cipher: the primitives against published vectors, the whole chain against
// independently computed lines, and decipher's tolerance of form-url-encoded and broken input.
#include "session/codec/cast128cfb8.h"
#include "session/codec/linecodec.h"

#include <QTest>

using namespace qev;

class TestLineCipher : public QObject {
    Q_OBJECT

private slots:
    // RFC 2144, appendix B.1, 128-bit key.
    void cast128Rfc2144() {
        const Cast128Cfb8 cast(QByteArray::fromHex("0123456712345678234567893456789A"));
        QCOMPARE(cast.encryptBlock(QByteArray::fromHex("0123456789ABCDEF")).toHex(),
                 QByteArrayLiteral("238b4fe5847e44b2"));
    }

    // FIPS 180 examples.
    void sha1Fips180_data() {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QByteArray>("digest");
        QTest::newRow("abc") << QByteArrayLiteral("abc")
                             << QByteArrayLiteral("a9993e364706816aba3e25717850c26c9cd0d89d");
        QTest::newRow("two blocks") << QByteArrayLiteral(
                                           "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")
                                    << QByteArrayLiteral("84983e441c3bd26ebaae4aa1f95129e5e54670f1");
        QTest::newRow("million a") << QByteArray(1000000, 'a')
                                   << QByteArrayLiteral("34aa973cd4c4daa4f61eeb2bdbad27316534016f");
    }
    void sha1Fips180() {
        QFETCH(QByteArray, message);
        QFETCH(QByteArray, digest);
        QCOMPARE(Sha1Digest(message).toHex(), digest);
    }

    // Expected lines computed with OpenSSL's CAST5 one block at a time (key = SHA-1 of the pass
    // phrase cut to 16 bytes, iv = the encryption of FF x 8, 8-bit feedback of the output).
    void knownLines_data() {
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("cipher");
        QTest::newRow("one byte") << QByteArrayLiteral("A") << QByteArrayLiteral("XQ==");
        QTest::newRow("line") << QByteArrayLiteral("SI:12345,pass")
                              << QByteArrayLiteral("TyAZ8LLlhcP3cVbxjw==");
        QTest::newRow("shift-jis") << QByteArray::fromHex("978e8e44") << QByteArrayLiteral("i2U3yw==");
    }
    void knownLines() {
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, cipher);
        QCOMPARE(LineCipher(plain), cipher);
        QCOMPARE(LineDecipher(cipher), plain);
    }

    void emptyInEmptyOut() {
        QCOMPARE(LineCipher(QByteArray()), QByteArray());
        QCOMPARE(LineDecipher(QByteArray()), QByteArray());
    }

    void everyLineStartsAfresh() {
        const QByteArray first = LineCipher(QByteArrayLiteral("SI:12345,pass"));
        LineCipher(QByteArray(500, 'x'));
        LineDecipher(QByteArrayLiteral("Zm9vYmFy"));
        QCOMPARE(LineCipher(QByteArrayLiteral("SI:12345,pass")), first);
    }

    void roundTripEveryLengthAndByte() {
        QByteArray plain;
        for (int n = 1; n <= 300; ++n) {
            plain.append(static_cast<char>((n * 97) & 0xff));
            const QByteArray cipher = LineCipher(plain);
            QCOMPARE(cipher.size(), 4 * ((n + 2) / 3));
            QCOMPARE(LineDecipher(cipher), plain);
        }
    }

    // Form posts carry the Base64 text percent-encoded.
    void decipherFormEncoded() {
        // Find a line whose cipher text holds "+", "/" and "=".
        QByteArray plain;
        QByteArray cipher;
        for (int i = 0; i < 10000; ++i) {
            plain = QByteArrayLiteral("ID:") + QByteArray::number(i);
            cipher = LineCipher(plain);
            if (cipher.contains('+') && cipher.contains('/') && cipher.endsWith('='))
                break;
        }
        QVERIFY(cipher.contains('+') && cipher.contains('/') && cipher.endsWith('='));
        QByteArray encoded = cipher;
        encoded.replace('%', "%25").replace('=', "%3D").replace('+', "%2B").replace('/', "%2f");
        QCOMPARE(LineDecipher(encoded), plain);

        // A raw "+" next to a "%" turns into a space first, which decodes like "/".
        QByteArray rawPlus = cipher;
        rawPlus.replace('=', "%3D");
        QByteArray asSlash = cipher;
        asSlash.replace('+', '/');
        QCOMPARE(LineDecipher(rawPlus), LineDecipher(asSlash));
        QVERIFY(LineDecipher(rawPlus) != plain);
        // Without a "%" the "+" is a Base64 character.
        QCOMPARE(LineDecipher(cipher), plain);
    }

    void decipherFailsEmpty_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("bad length") << QByteArrayLiteral("XQ=");
        QTest::newRow("lone percent") << QByteArrayLiteral("%");
        QTest::newRow("percent shortens") << QByteArrayLiteral("XQ%3D%3D%");
        QTest::newRow("trailing cr") << QByteArrayLiteral("XQ==\r");
    }
    void decipherFailsEmpty() {
        QFETCH(QByteArray, text);
        QCOMPARE(LineDecipher(text), QByteArray());
    }

    void decipherGarbageKeepsLength() { QCOMPARE(LineDecipher(QByteArrayLiteral("!!!!!!!!")).size(), 6); }
};

QTEST_GUILESS_MAIN(TestLineCipher)
#include "tst_linecipher.moc"
