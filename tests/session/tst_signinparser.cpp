// The sign-in channel's wire format: cutting, deciphering and every field rule, without sockets.
#include "session/codec/linecodec.h"
#include "session/linebuffer.h"
#include "session/signinparser.h"
#include "session/siteinfo.h"

#include <QTest>

using namespace qev;

class TestSignInParser : public QObject {
    Q_OBJECT

private slots:
    void cutsPiecesAndLines_data();
    void cutsPiecesAndLines();
    void status_data();
    void status();
    void clientParams_data();
    void clientParams();
    void announcement_data();
    void announcement();
    void appearance_data();
    void appearance();
    void serverInformation();
    void urlNormalisation_data();
    void urlNormalisation();
    void laneTime_data();
    void laneTime();
    void siteInformationSortedCaseInsensitively();
    void dayCount_data();
    void dayCount();
    void lineBufferDropsOverlongPartialLines();
    void siteRecordLanes();
};

namespace {
QByteArray Piece(QByteArrayView plain) {
    return LineCipher(plain);
}
QByteArray Codes(const QList<QList<SignInLine>>& pieces) {
    QByteArrayList out;
    for (const auto& piece : pieces) {
        QByteArrayList codes;
        for (const SignInLine& l : piece)
            codes.append(l.code + '=' + l.payload);
        out.append(codes.join(' '));
    }
    return out.join('|');
}
} // namespace

void TestSignInParser::cutsPiecesAndLines_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("one line") << QByteArray(Piece("ST:0") + '\r') << QByteArray("ST=0");
    QTest::newRow("two pieces") << QByteArray(Piece("TM:1.5") + '\r' + Piece("ST:0") + '\r')
                                << QByteArray("TM=1.5|ST=0");
    QTest::newRow("two lines around an empty line: only the first")
        << QByteArray(Piece("ST:0\r\rCI:1,2,3") + '\r') << QByteArray("ST=0");
    QTest::newRow("two lines in one piece")
        << QByteArray(Piece("ST:0\rCI:1,2,3") + '\r') << QByteArray("ST=0 CI=1,2,3");
    QTest::newRow("blanks and control characters trimmed")
        << QByteArray(Piece(" \tST:0\x01 ") + '\r') << QByteArray("ST=0");
    QTest::newRow("empty piece stops the receipt")
        << QByteArray(Piece("ST:0") + "\r\r" + Piece("CI:1") + '\r') << QByteArray("ST=0");
    QTest::newRow("not a message") << QByteArray(Piece("hello\rSTX0\rST:1") + '\r') << QByteArray("ST=1");
    QTest::newRow("undecipherable piece")
        << QByteArray("abc\r" + Piece("ST:0") + '\r') << QByteArray("|ST=0");
    QTest::newRow("percent-encoded piece")
        << QByteArray(Piece("ST:0").replace("=", "%3D") + '\r') << QByteArray("ST=0");
    QTest::newRow("garbage") << QByteArray("\xff\xfe\x00zz==\r", 8) << QByteArray("");
}

void TestSignInParser::cutsPiecesAndLines() {
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, expected);
    QCOMPARE(Codes(SplitSignInReceipt(bytes)), expected);
}

void TestSignInParser::status_data() {
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("refusal");
    QTest::addColumn<QByteArray>("memberClass");
    QTest::addColumn<int>("session");
    QTest::newRow("0") << QByteArray("0") << 0 << QByteArray() << QByteArray() << 0;
    QTest::newRow("empty code is 109") << QByteArray("") << 109 << QByteArray() << QByteArray() << 0;
    QTest::newRow("non-numeric code is 109")
        << QByteArray("x1,y") << 109 << QByteArray() << QByteArray() << 0;
    QTest::newRow("103 with text") << QByteArray("103,Opens 9:30,a,b") << 103 << QByteArray("Opens 9:30")
                                   << QByteArray() << 0;
    QTest::newRow("100 full") << QByteArray("100,x," + LineCipher("K=1") + ',' + LineCipher("?") + ',' +
                                            LineCipher("34") + ",77")
                              << 100 << QByteArray() << QByteArray("34") << 77;
    QTest::newRow("100 empty class is 2")
        << QByteArray("100,,,,,") << 100 << QByteArray() << QByteArray("2") << 0;
    QTest::newRow("100 undecipherable class is 2")
        << QByteArray("100,,,,abc,x") << 100 << QByteArray() << QByteArray("2") << 0;
}

void TestSignInParser::status() {
    QFETCH(QByteArray, payload);
    QFETCH(int, code);
    QFETCH(QByteArray, refusal);
    QFETCH(QByteArray, memberClass);
    QFETCH(int, session);
    const StatusMessage m = ParseStatus(payload);
    QCOMPARE(m.code, code);
    QCOMPARE(m.refusalText, refusal);
    QCOMPARE(m.memberClass, memberClass);
    QCOMPARE(m.sessionNumber, session);
}

void TestSignInParser::clientParams_data() {
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("threshold");
    QTest::addColumn<int>("lock");
    QTest::addColumn<int>("delay");
    QTest::newRow("all") << QByteArray("30000,1500,3000") << 30000 << 1500 << 3000;
    QTest::newRow("empty") << QByteArray("") << 0 << 0 << -1;
    QTest::newRow("garbage") << QByteArray("a,b,c") << 0 << 0 << -1;
    QTest::newRow("delay off") << QByteArray("0,0,0") << 0 << 0 << 0;
}

void TestSignInParser::clientParams() {
    QFETCH(QByteArray, payload);
    QFETCH(int, threshold);
    QFETCH(int, lock);
    QFETCH(int, delay);
    const ClientParams p = ParseClientParams(payload);
    QCOMPARE(p.jumpThreshold, threshold);
    QCOMPARE(p.jumpLockMs, lock);
    QCOMPARE(p.maxPriceDelayMs, delay);
}

void TestSignInParser::announcement_data() {
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<bool>("creates");
    QTest::addColumn<int>("site");
    QTest::addColumn<int>("lanes");
    QTest::newRow("plain") << QByteArray("12,2|") << false << true << 12 << 2;
    QTest::newRow("trimmed fields") << QByteArray(" 12 , 6 |3,3") << false << true << 12 << 6;
    QTest::newRow("site -1") << QByteArray("-1,2") << false << false << -1 << 2;
    QTest::newRow("no lanes") << QByteArray("12,0") << false << false << 12 << 0;
    QTest::newRow("missing lane count") << QByteArray("12") << false << false << 12 << 0;
    QTest::newRow("empty first group") << QByteArray("|12,2") << true << false << -1 << 0;
}

void TestSignInParser::announcement() {
    QFETCH(QByteArray, payload);
    QFETCH(bool, empty);
    QFETCH(bool, creates);
    QFETCH(int, site);
    QFETCH(int, lanes);
    const SiteAnnouncement a = ParseSiteAnnouncement(payload);
    QCOMPARE(a.firstGroupEmpty, empty);
    QCOMPARE(a.creates(), creates);
    QCOMPARE(a.siteNumber, site);
    QCOMPARE(a.laneCount, lanes);
}

void TestSignInParser::appearance_data() {
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QList<int>>("states");
    QTest::newRow("lane 0 then 1") << QByteArray("0,x,930|1,x,1000") << QList<int>{930};
    QTest::newRow("empty state is 110000") << QByteArray("0,x,|") << QList<int>{110000};
    QTest::newRow("stops at empty group") << QByteArray("0,,1|| 0,,2") << QList<int>{1};
    QTest::newRow("trimmed") << QByteArray(" 0 ,, 5 |0,,6") << (QList<int>{5, 6});
    QTest::newRow("nothing") << QByteArray("") << QList<int>{};
}

void TestSignInParser::appearance() {
    QFETCH(QByteArray, payload);
    QFETCH(QList<int>, states);
    QCOMPARE(ParseLaneAppearance(payload), states);
}

void TestSignInParser::serverInformation() {
    const QByteArray payload = LineCipher("10.0.0.5:1200") + ",x,8000," + LineCipher("10.0.0.6: 1300") +
                               ",y|" + " 1 ," + LineCipher("r:1") + ',' + LineCipher("w:2") + ',' +
                               LineCipher("srv/detail") + ',' + LineCipher("http://srv/p/") + ',' +
                               LineCipher("B") + ",z|-1,a,b|0," + LineCipher("r:0") + "||3,skipped";
    const ServerInformation info = ParseServerInformation(payload);
    QCOMPARE(info.dataHost, QByteArray("10.0.0.5"));
    QCOMPARE(info.dataPort, QByteArray("1200"));
    QCOMPARE(info.audioSampleRate, 8000);
    QCOMPARE(info.audioHost, QByteArray("10.0.0.6"));
    QCOMPARE(info.audioPort, QByteArray(" 1300")); // not trimmed
    QCOMPARE(info.lanes.size(), 2);
    QCOMPARE(info.lanes[0].lane, 1);
    QCOMPARE(info.lanes[0].biddingRouter, QByteArray("r:1"));
    QCOMPARE(info.lanes[0].watchRouter, QByteArray("w:2"));
    QCOMPARE(info.lanes[0].detailUrlBase, QByteArray("http://srv/detail/"));
    QCOMPARE(info.lanes[0].photoUrlBase, QByteArray("http://srv/p/"));
    QCOMPARE(info.lanes[0].laneCode, QByteArray("B"));
    QCOMPARE(info.lanes[1].lane, 0);
    QCOMPARE(info.lanes[1].biddingRouter, QByteArray("r:0"));

    const ServerInformation empty = ParseServerInformation("");
    QVERIFY(empty.dataHost.isEmpty() && empty.dataPort.isEmpty() && empty.lanes.isEmpty());
}

void TestSignInParser::urlNormalisation_data() {
    QTest::addColumn<QByteArray>("in");
    QTest::addColumn<QByteArray>("out");
    QTest::newRow("bare") << QByteArray("srv/detail") << QByteArray("http://srv/detail/");
    QTest::newRow("complete") << QByteArray("http://srv/d/") << QByteArray("http://srv/d/");
    QTest::newRow("secure scheme kept") << QByteArray("https://srv/d") << QByteArray("https://srv/d/");
    QTest::newRow("secure scheme elsewhere")
        << QByteArray("srv/https://d") << QByteArray("http://srv/https://d/");
    QTest::newRow("empty") << QByteArray("") << QByteArray("http://");
}

void TestSignInParser::urlNormalisation() {
    QFETCH(QByteArray, in);
    QFETCH(QByteArray, out);
    QCOMPARE(NormaliseUrlBase(in), out);
}

void TestSignInParser::laneTime_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QTime>("time");
    QTest::newRow("six digits") << QByteArray("093000") << QTime(9, 30);
    QTest::newRow("leading zero missing") << QByteArray("93000") << QTime(9, 30);
    QTest::newRow("2460 reads 002460") << QByteArray("2460") << QTime(0, 24);
    QTest::newRow("2500") << QByteArray("2500") << QTime(0, 25);
    QTest::newRow("hour 25") << QByteArray("250000") << QTime(0, 0);
    QTest::newRow("minute 60") << QByteArray("126000") << QTime(0, 0);
    QTest::newRow("negative") << QByteArray("-5") << QTime(0, 0);
    QTest::newRow("not a number") << QByteArray("9:30") << QTime(0, 0);
    QTest::newRow("blanks trimmed") << QByteArray(" 170000 ") << QTime(17, 0);
    QTest::newRow("longer than six") << QByteArray("12345678") << QTime(12, 34);
    QTest::newRow("huge") << QByteArray("99999999999999999999999") << QTime(0, 0);
}

void TestSignInParser::laneTime() {
    QFETCH(QByteArray, value);
    QFETCH(QTime, time);
    QCOMPARE(LaneTime(value), time);
}

void TestSignInParser::siteInformationSortedCaseInsensitively() {
    const QByteArrayList lines = SiteInformationLines("b=2\r\nQ_Name\na=1\rC=3\r\n");
    QCOMPARE(lines, (QByteArrayList{"a=1", "b=2", "C=3", "Q_Name"}));
    QCOMPARE(SiteInformationValue(lines, "c"), QByteArray("3"));
    QCOMPARE(SiteInformationValue(lines, "Q_Name"), QByteArray());
    QVERIFY(SiteInformationLines("").isEmpty());
}

void TestSignInParser::dayCount_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("days");
    QTest::newRow("day and fraction") << QByteArray("45000.5") << true << 45000.5;
    QTest::newRow("comma is not a decimal point") << QByteArray("45000,5") << false << 0.0;
    QTest::newRow("empty") << QByteArray("") << false << 0.0;
    QTest::newRow("absurd") << QByteArray("1e300") << false << 0.0;
    QTest::newRow("nan") << QByteArray("nan") << false << 0.0;
}

void TestSignInParser::dayCount() {
    QFETCH(QByteArray, text);
    QFETCH(bool, valid);
    QFETCH(double, days);
    const auto parsed = ParseDayCount(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, days);
}

void TestSignInParser::lineBufferDropsOverlongPartialLines() {
    LineBuffer buffer(8);
    QVERIFY(buffer.Append("abc\rdefg"));
    QByteArray line;
    QVERIFY(buffer.TakeLine(line));
    QCOMPARE(line, QByteArray("abc"));
    QVERIFY(!buffer.TakeLine(line));
    QVERIFY(!buffer.Append("hijkl")); // 9 bytes without CR
    QCOMPARE(buffer.Size(), 0);
    QVERIFY(buffer.Append("x\ry\rz"));
    QCOMPARE(buffer.TakeComplete(), QByteArray("x\ry\r"));
    QCOMPARE(buffer.Size(), 1);
}

void TestSignInParser::siteRecordLanes() {
    TSiteInfo site("QEV", 12);
    site.SetLaneCount(6);
    QCOMPARE(site.LaneCount(), 4);
    site.SetLaneCount(2);
    QCOMPARE(site.LaneCount(), 2);
    QCOMPARE(site.LaneCode(1), QByteArray("?"));
    QCOMPARE(site.LaneState(1), -3);
    site.SetBiddingRouter(1, "r:1");
    site.SetLaneState(1, 0);
    site.SetExhibitCount(1, 9);
    site.SetLaneCount(-1); // ignored
    site.SetLaneCount(2);  // unchanged count: ignored
    QCOMPARE(site.BiddingRouter(1), QByteArray("r:1"));
    site.ResetLaneData();
    QCOMPARE(site.BiddingRouter(1), QByteArray());
    QCOMPARE(site.LaneState(1), -3);
    QCOMPARE(site.ExhibitCount(1), 9); // counts survive the reset
    // Outside the site: neutral values, setters ignored.
    site.SetLaneCode(5, "Z");
    site.SetLaneState(-1, 7);
    QCOMPARE(site.LaneCode(5), QByteArray("?"));
    QCOMPARE(site.LaneState(-1), -3);
    QCOMPARE(site.ExhibitCount(2), 0);
    QCOMPARE(site.DetailUrlBase(9), QByteArray());
    QCOMPARE(site.OpeningTime(4), QTime(0, 0));
}

QTEST_GUILESS_MAIN(TestSignInParser)
#include "tst_signinparser.moc"
