#include "lanes/lanestatusboard.h"

#include <QtTest>

using namespace qev;

class TestLaneStatus : public QObject {
    Q_OBJECT
private slots:
    void recordsAnswerTheirLane();
    void laneLineFields_data();
    void laneLineFields();
    void repeatedLineAndForce();
    void keptValues();
    void information_data();
    void information();
    void timeOfDay_data();
    void timeOfDay();
};

void TestLaneStatus::recordsAnswerTheirLane() {
    TLaneStatusBoard board;
    board.ApplyLaneLine("0,1,-1,0,5", false);
    QVERIFY(!board.IsLaneClosed(0));
    QVERIFY(board.IsLaneClosed(1));
    QCOMPARE(board.Record(1).lotNumber, 5);
    QVERIFY(!board.IsLaneClosed(7));
    // A line for a lane without a record changes nothing.
    board.ApplyLaneLine("0,2,-1,0,9", false);
    QCOMPARE(board.Record(0).lastLine, QByteArray());
    QCOMPARE(board.Record(1).lotNumber, 5);
}

void TestLaneStatus::laneLineFields_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("laneState");
    QTest::addColumn<int>("lotStatus");
    QTest::addColumn<int>("lotNumber");
    QTest::addColumn<int>("value6");
    QTest::addColumn<int>("value9");

    QTest::newRow("unknown state") << QByteArray("x,0,-3,x,10,6,0,0,9") << 0 << 0 << 10 << 6 << 9;
    QTest::newRow("missing state") << QByteArray("x,0") << 0 << 0 << 0 << 0 << -1;
    QTest::newRow("ended") << QByteArray("x,0,-1,x,10,6,0,0,9") << 3 << 0 << 10 << 6 << 9;
    QTest::newRow("on the block") << QByteArray("x,0,0,x,10,6,2,0,9") << 1 << 1 << 10 << 6 << 9;
    QTest::newRow("opening time") << QByteArray("x,0,930,x,10,6,0,0,9") << 2 << 0 << 10 << 6 << 9;
    QTest::newRow("sold wins over all") << QByteArray("x,0,0,x,10,6,11,1,9") << 1 << 3 << 10 << 6 << 9;
    QTest::newRow("not sold") << QByteArray("x,0,0,x,10,6,10,1,9") << 1 << 4 << 10 << 6 << 9;
    QTest::newRow("no reserve") << QByteArray("x,0,0,x,10,6,10,0,9") << 1 << 2 << 10 << 6 << 9;
    QTest::newRow("no lot ignores flags") << QByteArray("x,0,0,x,0,6,1,1,9") << 1 << 0 << 0 << 6 << -1;
    QTest::newRow("negative lot") << QByteArray("x,0,0,x,-4,6,2,0,9") << 1 << 0 << -4 << 6 << -1;
    QTest::newRow("garbage numbers") << QByteArray("x,0,0,x,a,b,c,d,e") << 1 << 0 << 0 << 0 << -1;
}

void TestLaneStatus::laneLineFields() {
    QFETCH(QByteArray, line);
    QFETCH(int, laneState);
    QFETCH(int, lotStatus);
    QFETCH(int, lotNumber);
    QFETCH(int, value6);
    QFETCH(int, value9);
    TLaneStatusBoard board;
    board.ApplyLaneLine(line, false);
    const TQEV2016LaneInfo& r = board.Record(0);
    QCOMPARE(int(r.laneState), laneState);
    QCOMPARE(int(r.lotStatus), lotStatus);
    QCOMPARE(r.lotNumber, lotNumber);
    QCOMPARE(r.value6, value6);
    QCOMPARE(r.value9, value9);
    QCOMPARE(r.lastLine, line);
}

void TestLaneStatus::repeatedLineAndForce() {
    TLaneStatusBoard board;
    const QByteArray first = "x,0,0,x,10,6,2,0,9";
    const QByteArray second = "x,0,0,x,11,6,1,0,9";
    board.ApplyLaneLine(first, false);
    board.ApplyLaneLine(second, false);
    QCOMPARE(board.Record(0).lotNumber, 11);
    // The first line again differs from the last one applied, so it takes effect.
    board.ApplyLaneLine(first, false);
    QCOMPARE(board.Record(0).lotNumber, 10);
    QCOMPARE(int(board.Record(0).lotStatus), 1);
    board.ApplyLaneLine(first, false);
    board.ApplyLaneLine(first, true);
    QCOMPARE(board.Record(0).lotNumber, 10);
    QCOMPARE(board.Record(0).lastLine, first);
}

void TestLaneStatus::keptValues() {
    // Value 10, the times and the counts keep their last good value when a line brings none.
    TLaneStatusBoard board;
    board.ApplyLaneLine("x,0,0,x,1,0,0,0,0,15,930,1845,3,4", false);
    const TQEV2016LaneInfo& r = board.Record(0);
    QCOMPARE(r.value10, 15);
    QCOMPARE(r.timeA, QTime(0, 9));
    QCOMPARE(r.timeB, QTime(0, 18));
    QCOMPARE(r.countA, 3);
    QCOMPARE(r.countB, 4);
    board.ApplyLaneLine("x,0,0,x,2,0,0,0,0,-1,6100,0,0,-2", false);
    QCOMPARE(r.value10, 15);
    QCOMPARE(r.timeA, QTime(0, 9));
    QCOMPARE(r.timeB, QTime(0, 18));
    QCOMPARE(r.countA, 3);
    QCOMPARE(r.countB, 4);
    board.ApplyLaneLine("x,0,0,x,3,0,0,0,0,0,123000,235900,1,1", false);
    QCOMPARE(r.value10, 0);
    QCOMPARE(r.timeA, QTime(12, 30));
    QCOMPARE(r.timeB, QTime(23, 59));
    QCOMPARE(r.countA, 1);
}

void TestLaneStatus::information_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("lot0");
    QTest::addColumn<int>("lot1");
    QTest::newRow("two lanes") << QByteArray("x,0,0,x,5|x,1,0,x,6") << 5 << 6;
    QTest::newRow("blanks trimmed") << QByteArray("  x,0,0,x,5  | x,1,0,x,6 \r") << 5 << 6;
    QTest::newRow("trailing bar") << QByteArray("x,0,0,x,5|") << 5 << 0;
    QTest::newRow("starts with bar") << QByteArray("|x,0,0,x,5|x,1,0,x,6") << 0 << 0;
    QTest::newRow("double bar ends it") << QByteArray("x,0,0,x,5||x,1,0,x,6") << 5 << 0;
    QTest::newRow("blank piece ends it") << QByteArray("x,0,0,x,5|  |x,1,0,x,6") << 5 << 0;
    QTest::newRow("unknown lane skipped") << QByteArray("x,9,0,x,5|x,1,0,x,6") << 0 << 6;
    QTest::newRow("empty") << QByteArray() << 0 << 0;
}

void TestLaneStatus::information() {
    QFETCH(QByteArray, text);
    QFETCH(int, lot0);
    QFETCH(int, lot1);
    TLaneStatusBoard board;
    board.ApplyInformation(text);
    QCOMPARE(board.Record(0).lotNumber, lot0);
    QCOMPARE(board.Record(1).lotNumber, lot1);
}

void TestLaneStatus::timeOfDay_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<QTime>("time");
    QTest::newRow("930 is 0:09") << 930 << QTime(0, 9);
    QTest::newRow("minute 61") << 6100 << QTime(0, 0);
    // Hour from the first two of six digits, minute from the next two.
    QTest::newRow("2561 is 0:25") << 2561 << QTime(0, 25);
    QTest::newRow("hour 24") << 240000 << QTime(0, 0);
    QTest::newRow("noon") << 120000 << QTime(12, 0);
    QTest::newRow("seven digits") << 1234567 << QTime(12, 34);
}

void TestLaneStatus::timeOfDay() {
    QFETCH(int, value);
    QFETCH(QTime, time);
    QCOMPARE(TLaneStatusBoard::ReadTimeOfDay(value), time);
}

QTEST_GUILESS_MAIN(TestLaneStatus)
#include "tst_lanestatus.moc"
