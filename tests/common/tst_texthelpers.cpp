// Field splitting, lot numbers, volume, random ranges, version parts, browser emulation and
// the property report.
#include "common/browseremulation.h"
#include "common/dumpproperties.h"
#include "common/texthelpers.h"
#include "common/versioninfo.h"

#include <QTest>

using namespace qev;

class TestTextHelpers : public QObject {
    Q_OBJECT

private slots:
    void splitHead_data() {
        QTest::addColumn<QByteArray>("s");
        QTest::addColumn<QByteArray>("sep");
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QByteArray>("rest");
        QTest::newRow("two fields") << QByteArrayLiteral("a,b") << QByteArrayLiteral(",")
                                    << QByteArrayLiteral("a") << QByteArrayLiteral("b");
        QTest::newRow("no separator")
            << QByteArrayLiteral("abc") << QByteArrayLiteral(",") << QByteArrayLiteral("abc") << QByteArray();
        QTest::newRow("empty head") << QByteArrayLiteral(",x") << QByteArrayLiteral(",") << QByteArray()
                                    << QByteArrayLiteral("x");
        QTest::newRow("trailing separator")
            << QByteArrayLiteral("a,") << QByteArrayLiteral(",") << QByteArrayLiteral("a") << QByteArray();
        QTest::newRow("first of many") << QByteArrayLiteral("1|2|3") << QByteArrayLiteral("|")
                                       << QByteArrayLiteral("1") << QByteArrayLiteral("2|3");
        QTest::newRow("long separator") << QByteArrayLiteral("a\r\nb") << QByteArrayLiteral("\r\n")
                                        << QByteArrayLiteral("a") << QByteArrayLiteral("b");
        QTest::newRow("empty separator")
            << QByteArrayLiteral("abc") << QByteArray() << QByteArrayLiteral("abc") << QByteArray();
        QTest::newRow("empty text") << QByteArray() << QByteArrayLiteral(",") << QByteArray() << QByteArray();
        QTest::newRow("shift-jis") << QByteArray::fromHex("8e9f2c8ea9") << QByteArrayLiteral(",")
                                   << QByteArray::fromHex("8e9f") << QByteArray::fromHex("8ea9");
    }
    void splitHead() {
        QFETCH(QByteArray, s);
        QFETCH(QByteArray, sep);
        QFETCH(QByteArray, head);
        QFETCH(QByteArray, rest);
        QCOMPARE(SplitHead(s, sep), head);
        QCOMPARE(s, rest);
    }

    void splitHeadReadsPastTheEnd() {
        QByteArray line = QByteArrayLiteral("7,,9");
        QCOMPARE(SplitHead(line, ","), QByteArrayLiteral("7"));
        QCOMPARE(SplitHead(line, ","), QByteArray());
        QCOMPARE(SplitHead(line, ","), QByteArrayLiteral("9"));
        QCOMPARE(SplitHead(line, ","), QByteArray());
        QCOMPARE(SplitHead(line, ","), QByteArray());
    }

    void volumeToAttenuation_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("attenuation");
        QTest::newRow("0 mutes") << 0 << -10000;
        QTest::newRow("1") << 1 << -1500;
        QTest::newRow("2") << 2 << -750;
        QTest::newRow("3 full") << 3 << 0;
        QTest::newRow("stored 7") << 7 << -10000;
        QTest::newRow("negative") << -1 << -10000;
    }
    void volumeToAttenuation() {
        QFETCH(int, level);
        QFETCH(int, attenuation);
        QCOMPARE(VolumeToAttenuation(level), attenuation);
    }

    void randomInRange_data() {
        QTest::addColumn<int>("base");
        QTest::addColumn<int>("count");
        QTest::newRow("small") << 5 << 3;
        QTest::newRow("negative base") << -10 << 4;
        QTest::newRow("one value") << 42 << 1;
    }
    void randomInRange() {
        QFETCH(int, base);
        QFETCH(int, count);
        QSet<int> seen;
        for (int i = 0; i < 1000; ++i) {
            const int v = RandomInRange(base, count);
            QVERIFY2(v >= base && v < base + count, QByteArray::number(v).constData());
            seen.insert(v);
        }
        // Every value of a small range turns up in 1000 draws (the top one included).
        QCOMPARE(seen.size(), count);
    }

    void randomInRangeEmpty() { QCOMPARE(RandomInRange(9, 0), 9); }

    void formatLotNumber_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("shown");
        QTest::newRow("42") << QByteArrayLiteral("42") << QByteArrayLiteral("0042");
        QTest::newRow("1") << QByteArrayLiteral("1") << QByteArrayLiteral("0001");
        QTest::newRow("12345") << QByteArrayLiteral("12345") << QByteArrayLiteral("12345");
        QTest::newRow("blanks") << QByteArrayLiteral("  7 ") << QByteArrayLiteral("0007");
        QTest::newRow("zero") << QByteArrayLiteral("0") << QByteArray();
        QTest::newRow("negative") << QByteArrayLiteral("-5") << QByteArray();
        QTest::newRow("not a number") << QByteArrayLiteral("12a") << QByteArray();
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("too large") << QByteArrayLiteral("99999999999") << QByteArray();
    }
    void formatLotNumber() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, shown);
        QCOMPARE(FormatLotNumber(text), shown);
    }

    void includeTrailingSlash_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("result");
        QTest::newRow("added") << QByteArrayLiteral("http://h/a") << QByteArrayLiteral("http://h/a/");
        QTest::newRow("kept") << QByteArrayLiteral("http://h/a/") << QByteArrayLiteral("http://h/a/");
        QTest::newRow("empty") << QByteArray() << QByteArrayLiteral("/");
        // 0x5C trail byte of a Shift-JIS character is not a separator.
        QTest::newRow("shift-jis") << QByteArray::fromHex("955c") << QByteArray::fromHex("955c2f");
    }
    void includeTrailingSlash() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, result);
        QCOMPARE(IncludeTrailingSlash(text), result);
        QCOMPARE(IncludeTrailingSlash(QString::fromLatin1(text)), QString::fromLatin1(result));
    }

    void versionPart_data() {
        QTest::addColumn<QString>("version");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("part");
        QTest::newRow("build number") << QStringLiteral("1.2.3.456") << 3 << QStringLiteral("456");
        QTest::newRow("major") << QStringLiteral("1.2.3.456") << 0 << QStringLiteral("1");
        QTest::newRow("two parts") << QStringLiteral("2.0") << 3 << QString();
        QTest::newRow("trimmed") << QStringLiteral(" 1 . 2 ") << 1 << QStringLiteral("2");
        QTest::newRow("cut to 10") << QStringLiteral("1.123456789012") << 1 << QStringLiteral("1234567890");
        QTest::newRow("negative n") << QStringLiteral("1.2") << -1 << QString();
        QTest::newRow("empty") << QString() << 0 << QString();
    }
    void versionPart() {
        QFETCH(QString, version);
        QFETCH(int, n);
        QFETCH(QString, part);
        QCOMPARE(VersionPartOf(version, n), part);
    }

    void ownVersionHasFourNumericParts() {
        for (int n = 0; n < 4; ++n) {
            bool ok = false;
            VersionPart(n).toInt(&ok);
            QVERIFY2(ok, qPrintable(FileVersion()));
        }
        QCOMPARE(VersionPart(4), QString());
    }

    void browserEmulation_data() {
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<int>("mode"); // 0: nothing written
        QTest::newRow("9.11") << QByteArrayLiteral("9.11.19041.0") << 11001;
        QTest::newRow("9.10") << QByteArrayLiteral("9.10.9200.16384") << 10001;
        QTest::newRow("9.0") << QByteArrayLiteral("9.0.8112.16421") << 9999;
        QTest::newRow("8.0") << QByteArrayLiteral("8.0.7601.17514") << 8888;
        QTest::newRow("7") << QByteArrayLiteral("7.0.6000.16386") << 0;
        QTest::newRow("9 without minor") << QByteArrayLiteral("9") << 11001;
        QTest::newRow("9 bad minor") << QByteArrayLiteral("9.x") << 11001;
        QTest::newRow("missing") << QByteArray() << 0;
        QTest::newRow("not a number") << QByteArrayLiteral("abc.0") << 0;
        QTest::newRow("11") << QByteArrayLiteral("11.0") << 0;
    }
    void browserEmulation() {
        QFETCH(QByteArray, version);
        QFETCH(int, mode);
        QCOMPARE(BrowserEmulationMode(ParseBrowserVersion(version)).value_or(0), mode);
    }

    void dumpProperties() {
        const QByteArrayList top = DumpProperties(SessionModuleProperties());
        QCOMPARE(top, (QByteArrayList{"Name=ProcsDm", "Tag=0", "OldCreateOrder=False",
                                      "OnCreate=DataModuleCreate", "OnDestroy=DataModuleDestroy"}));
        QCOMPARE(DumpProperties({{"Tag", "0"}}, 2), QByteArrayList{"        Tag=0"});
        QCOMPARE(PropertyValue(SessionModuleProperties(), "OnCreate"), QByteArrayLiteral("DataModuleCreate"));
        QCOMPARE(PropertyValue(SessionModuleProperties(), "Owner"), QByteArray());
        QCOMPARE(PropertyValue(SessionModuleProperties(), "name"), QByteArrayLiteral("ProcsDm"));
    }
};

QTEST_GUILESS_MAIN(TestTextHelpers)
#include "tst_texthelpers.moc"
