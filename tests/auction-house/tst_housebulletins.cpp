// The data server's lane bulletins: alarm lists a client can split back into its lots and
// members, and information lines whose fields stay in place whatever the texts hold.
#include "session/codec/linecodec.h"
#include "tools/auction-house/housebulletins.h"

#include <QTest>

using namespace qev;
using namespace qev::HouseBulletins;

Q_DECLARE_METATYPE(QList<qev::HouseBulletins::AlarmLot>)
Q_DECLARE_METATYPE(QList<qev::HouseWatch>)

class TestHouseBulletins : public QObject {
    Q_OBJECT

private slots:
    void alarmList_data();
    void alarmList();
    void alarmListOfTheLongestLaneFitsAClientLine();
    void information();
};

void TestHouseBulletins::alarmList_data() {
    QTest::addColumn<int>("lane");
    QTest::addColumn<QList<AlarmLot>>("lots");
    QTest::addColumn<QList<HouseWatch>>("watches");
    QTest::addColumn<QByteArray>("expected");
    const QList<AlarmLot> two{{5, "H28 A"}, {6, "R2 B"}};
    QTest::newRow("nobody watches") << 0 << two << QList<HouseWatch>{}
                                    << QByteArray("AM:0,5\x01H28 A\x01/6\x01R2 B\x01/");
    QTest::newRow("two members on one lot, in config order")
        << 0 << two << QList<HouseWatch>{{"2002", 0, 6, 'A'}, {"1001", 0, 6, 'B'}}
        << QByteArray("AM:0,5\x01H28 A\x01/6\x01R2 B\x01"
                      "2002,1001/");
    QTest::newRow("a watch of the same exhibit in another lane is not this lane's")
        << 1 << two << QList<HouseWatch>{{"1001", 0, 6, 'A'}}
        << QByteArray("AM:1,5\x01H28 A\x01/6\x01R2 B\x01/");
    // A leading zero would not compare equal with the client's number as text; as a number it does.
    QTest::newRow("member numbers go out as numbers")
        << 0 << QList<AlarmLot>{{7, "x"}} << QList<HouseWatch>{{"0042", 0, 7, 'A'}}
        << QByteArray("AM:0,7\x01x\x01"
                      "42/");
    QTest::newRow("separators inside a text would cut the entry") << 0
                                                                  << QList<AlarmLot>{{7, "a/b\x01"
                                                                                         "c\rd"},
                                                                                     {8, "e"}}
                                                                  << QList<HouseWatch>{}
                                                                  << QByteArray("AM:0,7\x01"
                                                                                "a b c d\x01/8\x01"
                                                                                "e\x01/");
    QTest::newRow("no lot: exhibit 0 would clear the row")
        << 0 << QList<AlarmLot>{{0, "x"}, {9, "y"}} << QList<HouseWatch>{} << QByteArray("AM:0,9\x01y\x01/");
    QTest::newRow("lane ended") << 1 << QList<AlarmLot>{} << QList<HouseWatch>{} << QByteArray("AM:1,");
}

void TestHouseBulletins::alarmList() {
    QFETCH(int, lane);
    QFETCH(QList<AlarmLot>, lots);
    QFETCH(QList<HouseWatch>, watches);
    QFETCH(QByteArray, expected);
    QCOMPARE(AlarmList(lane, lots, watches), expected);
}

void TestHouseBulletins::alarmListOfTheLongestLaneFitsAClientLine() {
    QList<AlarmLot> lots;
    for (int exhibit = 1; exhibit <= 9999; ++exhibit)
        lots.append({exhibit, QByteArray(60, '\x83')});
    QList<HouseWatch> watches;
    for (int member = 1000; member < 1100; ++member)
        watches.append({QByteArray::number(member), 0, 3, 'A'});
    const QByteArray line = AlarmList(0, lots, watches);
    QCOMPARE(line.count('/'), kMaxAlarmEntries);
    QVERIFY(line.contains("/500\x01"));
    QVERIFY(!line.contains("/501\x01"));
    // The client drops a line longer than 65536 bytes as it arrives, scrambled.
    QVERIFY2(LineScramble(line).size() < 65536, QByteArray::number(LineScramble(line).size()).constData());
}

void TestHouseBulletins::information() {
    LaneInformation a;
    a.siteNumber = 12;
    a.lane = 0;
    a.laneState = 0;
    a.code = "A";
    a.exhibit = 57;
    a.price = 490;
    a.lotFlags = 2;
    a.bidderFlags = 2 | 8;
    a.position = 57;
    a.lotsDone = 56;
    a.timeFrom = 93000;
    a.timeTo = 170000;
    a.lotsSold = 22;
    a.lotsLeft = 63;
    LaneInformation b;
    b.siteNumber = 12;
    b.lane = 1;
    b.laneState = -1;
    b.code = "B,|\r"; // a code must not add fields or lanes
    QCOMPARE(Information({a, b}), QByteArray("NI:12,0,0,A,57,490,2,10,57,56,93000,170000,22,63|"
                                             "12,1,-1,B   ,0,0,0,0,0,0,0,0,0,0"));
    QCOMPARE(Information({}), QByteArray("NI:"));
}

QTEST_GUILESS_MAIN(TestHouseBulletins)
#include "tst_housebulletins.moc"
