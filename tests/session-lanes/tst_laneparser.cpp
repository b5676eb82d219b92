// Lane wire fields read from plain bytes: member groups, alarm entries, price records.
#include "session/laneparser.h"

#include <QTest>

using namespace qev;

class TestLaneParser : public QObject {
    Q_OBJECT

private slots:
    void memberFlags_data();
    void memberFlags();
    void memberAmongGroups_data();
    void memberAmongGroups();
    void priceRecord_data();
    void priceRecord();
    void lotAnnouncementDefaults();
    void alarmEntries_data();
    void alarmEntries();
};

void TestLaneParser::memberFlags_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("flags");
    QTest::newRow("A") << QByteArray("A1234") << 1;
    QTest::newRow("B after another member") << QByteArray("A9999B1234") << 2;
    QTest::newRow("both") << QByteArray("B1234A1234") << 3;
    QTest::newRow("misaligned") << QByteArray("xA1234") << 0;
    QTest::newRow("truncated group") << QByteArray("A123") << 0;
    QTest::newRow("lower case letter") << QByteArray("a1234") << 0;
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("one character") << QByteArray("A") << 0;
}

void TestLaneParser::memberFlags() {
    QFETCH(QByteArray, text);
    QFETCH(int, flags);
    QCOMPARE(MemberFlagsOf(text, "1234"), flags);
}

void TestLaneParser::memberAmongGroups_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("found");
    QTest::newRow("first") << QByteArray("1234") << true;
    QTest::newRow("third") << QByteArray("000099991234") << true;
    QTest::newRow("misaligned") << QByteArray("0123400") << false;
    QTest::newRow("truncated") << QByteArray("0000123") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestLaneParser::memberAmongGroups() {
    QFETCH(QByteArray, text);
    QFETCH(bool, found);
    QCOMPARE(MemberAmongGroups(text, "1234"), found);
}

void TestLaneParser::priceRecord_data() {
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QByteArrayList>("fields"); // site, exhibit, price, lot, bidder, top, winner
    QTest::newRow("full") << QByteArray("12,105,1030,3,6,1234,1234,46000.5")
                          << QByteArrayList{"12", "105", "1030", "3", "6", "1234", "1234"};
    QTest::newRow("empty") << QByteArray() << QByteArrayList{"0", "0", "0", "0", "0", "", ""};
    QTest::newRow("unreadable numbers")
        << QByteArray("x,y,z,,q") << QByteArrayList{"0", "0", "0", "0", "0", "", ""};
}

void TestLaneParser::priceRecord() {
    QFETCH(QByteArray, payload);
    QFETCH(QByteArrayList, fields);
    const PriceRecord r = ParsePriceRecord(payload);
    const QByteArrayList got{QByteArray::number(r.site),
                             QByteArray::number(r.exhibit),
                             QByteArray::number(r.price),
                             QByteArray::number(r.lotFlags),
                             QByteArray::number(r.bidderFlags),
                             r.topBidder,
                             r.winner};
    QCOMPARE(got, fields);
}

void TestLaneParser::lotAnnouncementDefaults() {
    const LotAnnouncement a = ParseLotAnnouncement("12,105,,x,5,6,7,8,9");
    QCOMPARE(a.site(), 12);
    QCOMPARE(a.exhibit(), 105);
    QCOMPARE(a.next(), 0);
    QCOMPARE(a.fields[3], 0);
    QCOMPARE(a.fields[7], 8);
}

void TestLaneParser::alarmEntries_data() {
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("lane");
    QTest::addColumn<QByteArrayList>("items"); // "*" marks mine
    QTest::newRow("no separator") << QByteArray("1") << 1 << QByteArrayList{};
    QTest::newRow("no lane") << QByteArray(",105\x01x\x01") << -1 << QByteArrayList{"105,x"};
    QTest::newRow("no SOH at all") << QByteArray("0,105") << 0 << QByteArrayList{"105,"};
    QTest::newRow("unreadable exhibit") << QByteArray("0,abc\x01x\x01"
                                                      "1234")
                                        << 0 << QByteArrayList{};
    QTest::newRow("member list with a word") << QByteArray("0,7\x01t\x01"
                                                           "5,x,1234")
                                             << 0 << QByteArrayList{"7,t"};
    QTest::newRow("text keeps Shift-JIS bytes") << QByteArray("0,7\x01\x83\x65\x01"
                                                              "1234")
                                                << 0 << QByteArrayList{"7,\x83\x65*"};
}

void TestLaneParser::alarmEntries() {
    QFETCH(QByteArray, payload);
    QFETCH(int, lane);
    QFETCH(QByteArrayList, items);
    const AlarmList list = ParseAlarmList(payload, 1234);
    QCOMPARE(list.lane, lane);
    QByteArrayList got;
    for (const AlarmItem& i : list.items)
        got.append(i.text + (i.mine ? "*" : ""));
    QCOMPARE(got, items);
}

QTEST_GUILESS_MAIN(TestLaneParser)
#include "tst_laneparser.moc"
