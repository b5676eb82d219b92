#include "common/clock.h"
#include "laneclient.h"
#include "tools/auction-house/lanes/auctionlanes.h"
#include "tools/auction-house/lanes/lanerouter.h"
#include "tools/auction-house/lanes/scriptedfeed.h"
#include "tools/auction-house/lanes/wirefields.h"

#include <QtTest>

using namespace qev;

class TstScenario : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void linesPlayInTimeOrderPerLane();
    void nowIsStampedWhenSent();
    void scriptedLanesOverRouters();
};

void TstScenario::parse_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("entries");

    QTest::newRow("two lanes, comments, blanks")
        << QByteArray("# lane 0\n0 0 EN:12,105,106,0,0,0,0,0\n\n1 10 AP:930\r\n  0 20   "
                      "PR:12,105,1000,2,2,1234,,0\n")
        << true << 3;
    QTest::newRow("empty") << QByteArray() << true << 0;
    QTest::newRow("lane out of range") << QByteArray("4 0 AP:1\n") << false << 0;
    QTest::newRow("negative lane") << QByteArray("-1 0 AP:1\n") << false << 0;
    QTest::newRow("time not a number") << QByteArray("0 soon AP:1\n") << false << 0;
    QTest::newRow("time beyond an hour") << QByteArray("0 3600001 AP:1\n") << false << 0;
    QTest::newRow("no code") << QByteArray("0 0 hello\n") << false << 0;
    QTest::newRow("missing line") << QByteArray("0 0\n") << false << 0;
    QTest::newRow("carriage return inside") << QByteArray("0 0 AP:1\rPR:1\n") << false << 0;
    QTest::newRow("line too long") << QByteArray("0 0 NI:" + QByteArray(Scenario::kMaxLineBytes, 'x') + "\n")
                                   << false << 0;
    QTest::newRow("script too large") << QByteArray(Scenario::kMaxTextBytes + 1, '#') << false << 0;
}

void TstScenario::parse() {
    QFETCH(QByteArray, text);
    QFETCH(bool, ok);
    QFETCH(int, entries);
    Scenario scenario;
    QByteArray error;
    QCOMPARE(Scenario::Parse(text, scenario, &error), ok);
    QCOMPARE(scenario.entries.size(), entries);
    QCOMPARE(error.isEmpty(), ok);
}

void TstScenario::linesPlayInTimeOrderPerLane() {
    Scenario scenario;
    QVERIFY(Scenario::Parse("0 30 RV:3\n1 0 AP:930\n0 10 RV:1\n0 10 RV:2\n0 50 AS:9\n", scenario));
    ScriptedFeed feed(0, scenario);
    QList<QByteArray> lines;
    connect(&feed, &LaneFeed::lineReady, this, [&](const QByteArray& line) { lines.append(line); });
    QCOMPARE(feed.PlayUntil(9), 0);
    QCOMPARE(feed.PlayUntil(30), 3);
    QCOMPARE(lines, (QList<QByteArray>{"RV:1", "RV:2", "RV:3"}));
    QVERIFY(!feed.Finished());
    QCOMPARE(feed.PlayUntil(1'000'000), 1);
    QVERIFY(feed.Finished());
    QCOMPARE(feed.SubmitBid({"1234", 12, 105, 1000}), BidOutcome::NotAnswered);
}

void TstScenario::nowIsStampedWhenSent() {
    ManualClock clock(0);
    ScopedClock scoped(clock);
    Scenario scenario;
    QVERIFY(Scenario::Parse("0 0 PR:12,105,1000,2,2,1234,,{now}\n", scenario));
    ScriptedFeed feed(0, scenario);
    QByteArray sent;
    connect(&feed, &LaneFeed::lineReady, this, [&](const QByteArray& line) { sent = line; });
    clock.setNowMs(86'400'000 / 2);
    feed.PlayUntil(0);
    QCOMPARE(sent, QByteArray("PR:12,105,1000,2,2,1234,,25569.5000000000"));
    int site = 0;
    int exhibit = 0;
    int price = 0;
    feed.CurrentLot(site, exhibit, price);
    QCOMPARE(QList<int>({site, exhibit, price}), QList<int>({12, 105, 1000}));
}

void TstScenario::scriptedLanesOverRouters() {
    Scenario scenario;
    QVERIFY(Scenario::Parse("0 0 EN:12,105,106,0,0,0,0,0\n"
                            "1 0 EN:12,201,202,0,0,0,0,0\n"
                            "0 5 PR:12,105,1000,2,0,,,{now}\n"
                            "1 5 PR:12,201,500,2,0,,,{now}\n"
                            "0 10 AS:9\n"
                            "1 10 AS:9\n",
                            scenario));
    AuctionLanes lanes;
    QVERIFY(lanes.OpenScripted(scenario, 2));
    LaneClient a;
    LaneClient b;
    for (auto [client, lane] : {std::pair{&a, 0}, std::pair{&b, 1}}) {
        LaneRouter& router = lanes.Router(lane, RouterKind::Bidding);
        QVERIFY(client->Connect(router.Port()));
        QCOMPARE(client->WaitCode("ST:"), QByteArray("ST:0"));
        client->Identify("1234");
        QVERIFY(QTest::qWaitFor([&] { return router.IdentifiedCount() == 1; }, 5000));
    }
    lanes.Run();
    QCOMPARE(a.WaitCode("AS:"), QByteArray("AS:9"));
    QCOMPARE(b.WaitCode("AS:"), QByteArray("AS:9"));
    QCOMPARE(a.lines.size(), 4);
    QCOMPARE(a.lines.at(1), QByteArray("EN:12,105,106,0,0,0,0,0"));
    QCOMPARE(b.lines.at(1), QByteArray("EN:12,201,202,0,0,0,0,0"));
    QVERIFY(WireField(a.lines.at(2).sliced(3), 8).toDouble() > 40'000.0);

    // Bids reach the recorder but a script does not answer them.
    a.SendBid("1234", 12, 105, 1000);
    QVERIFY(QTest::qWaitFor([&] { return lanes.Recorder().Bids().size() == 1; }, 5000));
    QCOMPARE(lanes.Recorder().Bids().constFirst().outcome, BidOutcome::NotAnswered);
}

QTEST_GUILESS_MAIN(TstScenario)
#include "tst_scenario.moc"
