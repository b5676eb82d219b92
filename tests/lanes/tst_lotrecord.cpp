#include "lanes/alarmentry.h"
#include "lanes/lotrecord.h"
#include "lanes/wirefields.h"
#include "session/codec/linecodec.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace qev;

namespace {
// Shift-JIS bytes used below.
const QByteArray kFullWidthSpace = QByteArrayLiteral("\x81\x40");
const QByteArray kYear = QByteArrayLiteral("\x94\x4e"); // 年
const QByteArray kBidLockName = QByteArrayLiteral("!!\x83\x5a\x83\x8a\x83\x74\x83\x89\x83\x4f");

TLotRecord RecordWith(const QByteArray& name, const QByteArray& value) {
    return TLotRecord::FromScrambled(LineScramble(QByteArray(name + '=' + value + "\r\n")));
}
} // namespace

class TestLotRecord : public QObject {
    Q_OBJECT
private slots:
    void readsFiles_data();
    void readsFiles();
    void lineEnds_data();
    void lineEnds();
    void valueLookup();
    void exhibitNumberText_data();
    void exhibitNumberText();
    void exhibitNumber_data();
    void exhibitNumber();
    void carLine_data();
    void carLine();
    void startPrice_data();
    void startPrice();
    void correction_data();
    void correction();
    void flags();
    void alarmEntry_data();
    void alarmEntry();
    void readDecimal_data();
    void readDecimal();
};

void TestLotRecord::readsFiles_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("exhibitText");

    const QByteArray plain = "REAL_EXHIBIT_NO=45\r\nExhNum=45\r\n";
    QTest::newRow("scrambled") << LineScramble(plain) << true << QByteArray("0045");
    QTest::newRow("plain text is not a record") << plain << true << QByteArray();
    QTest::newRow("empty file") << QByteArray() << true << QByteArray();
    QTest::newRow("missing file") << QByteArray() << false << QByteArray();
    QTest::newRow("scramble of nothing") << LineScramble("") << true << QByteArray();
    QTest::newRow("over the size limit")
        << LineScramble(QByteArray(plain + QByteArray(TLotRecord::MaxFileBytes, 'x'))) << true
        << QByteArray();
}

void TestLotRecord::readsFiles() {
    QFETCH(QByteArray, content);
    QFETCH(bool, exists);
    QFETCH(QByteArray, exhibitText);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("1001230004500"));
    if (exists) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    const TLotRecord record = TLotRecord::FromFile(path);
    QCOMPARE(record.ExhibitNumberText(), exhibitText);
    if (exhibitText.isEmpty()) {
        // Every field of an unreadable record is blank and the numbers say "none".
        QVERIFY(record.IsEmpty());
        QCOMPARE(record.StartPrice(), -1);
        QCOMPARE(record.ExhibitNumber(), -1);
        QCOMPARE(record.CarLine(), QByteArray());
    }
}

void TestLotRecord::lineEnds_data() {
    QTest::addColumn<QByteArray>("plain");
    QTest::newRow("CR LF") << QByteArray("A=1\r\nB=2\r\nC=3");
    QTest::newRow("CR") << QByteArray("A=1\rB=2\rC=3\r");
    QTest::newRow("LF") << QByteArray("A=1\nB=2\nC=3\n");
    QTest::newRow("mixed") << QByteArray("A=1\nB=2\r\nC=3\r");
}

void TestLotRecord::lineEnds() {
    QFETCH(QByteArray, plain);
    const TLotRecord record = TLotRecord::FromScrambled(LineScramble(plain));
    QCOMPARE(record.Value("A"), QByteArray("1"));
    QCOMPARE(record.Value("B"), QByteArray("2"));
    QCOMPARE(record.Value("C"), QByteArray("3"));
}

void TestLotRecord::valueLookup() {
    const TLotRecord record =
        TLotRecord::FromPlain("X=first=still\r\nX=second\r\nnoequals\r\nY=\r\n=anon\r\n");
    QCOMPARE(record.Value("X"), QByteArray("first=still"));
    QCOMPARE(record.Value("Y"), QByteArray());
    QCOMPARE(record.Value("noequals"), QByteArray());
    QCOMPARE(record.Value("x"), QByteArray());
    QCOMPARE(record.Value("Z"), QByteArray());
}

void TestLotRecord::exhibitNumberText_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("seven") << QByteArray("7") << QByteArray("0007");
    QTest::newRow("blanks around") << QByteArray(" 12 ") << QByteArray("0012");
    QTest::newRow("five digits") << QByteArray("12345") << QByteArray("12345");
    QTest::newRow("zero") << QByteArray("0") << QByteArray();
    QTest::newRow("negative") << QByteArray("-5") << QByteArray();
    QTest::newRow("nothing") << QByteArray() << QByteArray();
    QTest::newRow("letters") << QByteArray("abc") << QByteArray();
    QTest::newRow("too large") << QByteArray("99999999999") << QByteArray();
}

void TestLotRecord::exhibitNumberText() {
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, text);
    QCOMPARE(RecordWith("REAL_EXHIBIT_NO", value).ExhibitNumberText(), text);
}

void TestLotRecord::exhibitNumber_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("number");
    QTest::newRow("plain") << QByteArray("45") << 45;
    QTest::newRow("blank is not trimmed") << QByteArray(" 45") << -1;
    QTest::newRow("letters") << QByteArray("4x") << -1;
}

void TestLotRecord::exhibitNumber() {
    QFETCH(QByteArray, value);
    QFETCH(int, number);
    QCOMPARE(RecordWith("REAL_EXHIBIT_NO", value).ExhibitNumber(), number);
}

void TestLotRecord::carLine_data() {
    QTest::addColumn<QByteArray>("year");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("year and name") << QByteArray("H28") << QByteArray("PRIUS")
                                   << QByteArray("H28" + kYear + " PRIUS");
    QTest::newRow("trimmed") << QByteArray(" H28 ") << QByteArray("  PRIUS ")
                             << QByteArray("H28" + kYear + " PRIUS");
    QTest::newRow("no year") << QByteArray() << QByteArray("  PRIUS ") << QByteArray("PRIUS");
    QTest::newRow("blank year") << QByteArray("  ") << QByteArray("PRIUS") << QByteArray("PRIUS");
}

void TestLotRecord::carLine() {
    QFETCH(QByteArray, year);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, line);
    const TLotRecord record = TLotRecord::FromScrambled(
        LineScramble(QByteArray("REAL_NENSHIKI=" + year + "\r\nREAL_CAR_NAME=" + name + "\r\n")));
    QCOMPARE(record.CarLine(), line);
}

void TestLotRecord::startPrice_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("price");
    QTest::newRow("below a thousand") << QByteArray("999") << 0;
    QTest::newRow("one million") << QByteArray("1000000") << 1000;
    QTest::newRow("fraction dropped") << QByteArray("851999") << 851;
    QTest::newRow("empty") << QByteArray() << -1;
    QTest::newRow("not a number") << QByteArray("ask") << -1;
    QTest::newRow("negative stays") << QByteArray("-5") << -5;
}

void TestLotRecord::startPrice() {
    QFETCH(QByteArray, value);
    QFETCH(int, price);
    QCOMPARE(RecordWith("REAL_START_PRICE", value).StartPrice(), price);
}

void TestLotRecord::correction_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("full-width at both ends")
        << QByteArray(kFullWidthSpace + "NOTE" + kFullWidthSpace) << QByteArray("NOTE");
    QTest::newRow("full-width between words")
        << QByteArray("ROOF" + kFullWidthSpace + "SWAP") << QByteArray("ROOF  SWAP");
    // 81 81 is one character (a full-width "="); the "@" after it is a character of its own.
    QTest::newRow("trail byte before @") << QByteArray("\x81\x81@") << QByteArray("\x81\x81@");
    QTest::newRow("empty") << QByteArray() << QByteArray();
}

void TestLotRecord::correction() {
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, text);
    QCOMPARE(RecordWith("REAL_TEISEI", value).Correction(), text);
}

void TestLotRecord::flags() {
    QVERIFY(RecordWith(kBidLockName, "1").BidLocked());
    QVERIFY(!RecordWith(kBidLockName, "0").BidLocked());
    QVERIFY(!TLotRecord().BidLocked());
    QCOMPARE(RecordWith("REAL_SHUPPIN_TEN_CD", "1234").ExhibitorCode(), QByteArray("1234"));
}

void TestLotRecord::alarmEntry_data() {
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<int>("exhibit");
    QTest::addColumn<QByteArray>("display");
    QTest::newRow("number and text") << QByteArray("105,abc") << 105 << QByteArray("105 abc");
    QTest::newRow("text with commas") << QByteArray("7,a,b") << 7 << QByteArray("7 a,b");
    QTest::newRow("no comma") << QByteArray("42") << 42 << QByteArray("42 ");
    QTest::newRow("not a number") << QByteArray("x,abc") << -1 << QByteArray("x abc");
}

void TestLotRecord::alarmEntry() {
    QFETCH(QByteArray, entry);
    QFETCH(int, exhibit);
    QFETCH(QByteArray, display);
    const TAlarmEntry read = TAlarmEntry::Read(entry);
    QCOMPARE(read.exhibit, exhibit);
    QCOMPARE(read.display, display);
}

void TestLotRecord::readDecimal_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << QByteArray("123") << 123;
    QTest::newRow("signed") << QByteArray("-42") << -42;
    QTest::newRow("plus") << QByteArray("+7") << 7;
    QTest::newRow("largest") << QByteArray("2147483647") << 2147483647;
    QTest::newRow("smallest") << QByteArray("-2147483648") << int(-2147483648LL);
    QTest::newRow("overflow") << QByteArray("2147483648") << -9;
    QTest::newRow("long overflow") << QByteArray("99999999999999999999999") << -9;
    QTest::newRow("sign only") << QByteArray("-") << -9;
    QTest::newRow("empty") << QByteArray() << -9;
    QTest::newRow("blank") << QByteArray(" 1") << -9;
    QTest::newRow("hex") << QByteArray("0x10") << -9;
}

void TestLotRecord::readDecimal() {
    QFETCH(QByteArray, text);
    QFETCH(int, value);
    QCOMPARE(ReadDecimal(text, -9), value);
}

QTEST_GUILESS_MAIN(TestLotRecord)
#include "tst_lotrecord.moc"
