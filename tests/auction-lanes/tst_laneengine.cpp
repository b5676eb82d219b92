#include "common/clock.h"
#include "tools/auction-house/lanes/laneengine.h"
#include "tools/auction-house/lanes/wirefields.h"

#include <QtTest>

using namespace qev;

namespace {

// Collects what an engine broadcasts.
struct Capture {
    explicit Capture(LaneFeed& feed) {
        QObject::connect(&feed, &LaneFeed::lineReady, &feed,
                         [this](const QByteArray& line) { lines.append(line); });
    }
    QList<QByteArray> WithCode(const char* code) const {
        QList<QByteArray> out;
        for (const QByteArray& line : lines) {
            if (line.startsWith(code))
                out.append(line.sliced(3));
        }
        return out;
    }
    QByteArray LastPrice() const {
        const auto prices = WithCode("PR:");
        return prices.isEmpty() ? QByteArray() : prices.constLast();
    }
    QList<QByteArray> lines;
};

AuctionLot Lot(int exhibit, int start, int reserve, int floorBids, bool correction = false) {
    AuctionLot lot;
    lot.siteNumber = 12;
    lot.exhibit = exhibit;
    lot.startPrice = start;
    lot.reservePrice = reserve;
    lot.floorBids = floorBids;
    lot.correction = correction;
    return lot;
}

LaneEngineConfig Config(QList<AuctionLot> lots) {
    LaneEngineConfig config;
    config.siteNumber = 12;
    config.lots = std::move(lots);
    config.pace = EnginePace::Fast();
    config.floorOutbidPercent = 0;
    config.resetPercent = 0;
    config.refreshPercent = 0;
    return config;
}

// Steps until the phase is reached (or the lane ends); false if it never comes.
bool StepTo(LaneEngine& engine, LaneEngine::Phase phase) {
    for (int i = 0; i < 10'000 && engine.CurrentPhase() != phase; ++i) {
        if (engine.Step() < 0)
            break;
    }
    return engine.CurrentPhase() == phase;
}

void RunToEnd(LaneEngine& engine) {
    for (int i = 0; i < 100'000 && engine.Step() >= 0; ++i) {
    }
}

BidRequest Bid(const QByteArray& member, int exhibit, int price, int site = 12) {
    return BidRequest{member, site, exhibit, price};
}

} // namespace

class TstLaneEngine : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_clock = std::make_unique<ManualClock>(1'700'000'000'000);
        m_scoped = std::make_unique<ScopedClock>(*m_clock);
    }
    void cleanup() {
        m_scoped.reset();
        m_clock.reset();
    }

    void lotOutcome_data();
    void lotOutcome();
    void memberBid_data();
    void memberBid();
    void memberWinsLot();
    void floorAnswersMember();
    void gaugeRisesBeforeKnockDown();
    void correctionAndNoReserveFlags();
    void resetRestartsLot();
    void laneEndAndSnapshots();
    void memberCalls();
    void placesUntil();
    void priceCarriesServerTime_data();
    void priceCarriesServerTime();
    void sameSeedSameAuction();
    void noLineRepeatsItself();
    void lotsWithoutExhibitAreSkipped();

private:
    std::unique_ptr<ManualClock> m_clock;
    std::unique_ptr<ScopedClock> m_scoped;
};

void TstLaneEngine::lotOutcome_data() {
    QTest::addColumn<int>("floorBids");
    QTest::addColumn<int>("reserve");
    QTest::addColumn<bool>("sold");
    QTest::addColumn<int>("price");
    QTest::addColumn<QByteArray>("winner");

    // Start 1000, step 3: the first bidder takes the start price, each further bid adds a step.
    QTest::newRow("no reserve, three floor bids") << 3 << 0 << true << 1006 << QByteArray("0000");
    QTest::newRow("reserve reached") << 4 << 1009 << true << 1009 << QByteArray("0000");
    QTest::newRow("reserve missed") << 2 << 1009 << false << 1003 << QByteArray();
    QTest::newRow("nobody bids") << 0 << 0 << false << 1000 << QByteArray();
}

void TstLaneEngine::lotOutcome() {
    QFETCH(int, floorBids);
    QFETCH(int, reserve);
    QFETCH(bool, sold);
    QFETCH(int, price);
    QFETCH(QByteArray, winner);

    LaneEngine engine(Config({Lot(105, 1000, reserve, floorBids)}));
    Capture capture(engine);
    QVERIFY(StepTo(engine, LaneEngine::Phase::Result));

    const QByteArray last = capture.LastPrice();
    QCOMPARE(WireInt(last, 2, 0), 105);
    QCOMPARE(WireInt(last, 3, 0), price);
    QCOMPARE(WireInt(last, 4, 0), sold ? 1 : 0); // lot flags: 1 sold, never "bidding"
    QCOMPARE(WireInt(last, 5, 0), sold ? 2 : 1); // bidder flags: 2 leads, 1 not sold
    QCOMPARE(WireField(last, 7), winner);
    QVERIFY(capture.lines.contains(sold ? QByteArray("RV:3") : QByteArray("RV:4")));
    QCOMPARE(engine.Results().size(), 1);
    QCOMPARE(engine.Results().constFirst().sold, sold);
    QCOMPARE(engine.Results().constFirst().price, price);
}

void TstLaneEngine::memberBid_data() {
    QTest::addColumn<int>("phase"); // 0 opening price shown, 1 bidding, 2 after the result
    QTest::addColumn<int>("site");
    QTest::addColumn<int>("exhibit");
    QTest::addColumn<int>("priceOffset");
    QTest::addColumn<int>("outcome");

    QTest::newRow("current lot and price") << 1 << 12 << 105 << 0 << int(BidOutcome::Accepted);
    QTest::newRow("stale price") << 1 << 12 << 105 << -3 << int(BidOutcome::StalePrice);
    QTest::newRow("price ahead") << 1 << 12 << 105 << 3 << int(BidOutcome::StalePrice);
    QTest::newRow("another exhibit") << 1 << 12 << 106 << 0 << int(BidOutcome::WrongLot);
    QTest::newRow("another site") << 1 << 13 << 105 << 0 << int(BidOutcome::WrongLot);
    QTest::newRow("before bidding opens") << 0 << 12 << 105 << 0 << int(BidOutcome::NotBidding);
    QTest::newRow("lot closed") << 2 << 12 << 105 << 0 << int(BidOutcome::NotBidding);
}

void TstLaneEngine::memberBid() {
    QFETCH(int, phase);
    QFETCH(int, site);
    QFETCH(int, exhibit);
    QFETCH(int, priceOffset);
    QFETCH(int, outcome);

    LaneEngine engine(Config({Lot(105, 1000, 0, 1), Lot(106, 500, 0, 1)}));
    Capture capture(engine);
    const LaneEngine::Phase target = phase == 0   ? LaneEngine::Phase::Opening
                                     : phase == 1 ? LaneEngine::Phase::Bidding
                                                  : LaneEngine::Phase::Result;
    QVERIFY(StepTo(engine, target));
    const QByteArray topBefore = engine.TopBidder();
    const int priceBefore = engine.CurrentPrice();
    const qsizetype linesBefore = capture.lines.size();

    QCOMPARE(int(engine.SubmitBid(Bid("1234", exhibit, priceBefore + priceOffset, site))), outcome);
    if (outcome == int(BidOutcome::Accepted)) {
        QCOMPARE(engine.TopBidder(), QByteArray("1234"));
        const QByteArray price = capture.LastPrice();
        QCOMPARE(WireField(price, 6), QByteArray("1234"));
        QVERIFY(WireInt(price, 5, 0) & 2);
    } else {
        // An ignored bid changes nothing and says nothing.
        QCOMPARE(engine.TopBidder(), topBefore);
        QCOMPARE(engine.CurrentPrice(), priceBefore);
        QCOMPARE(capture.lines.size(), linesBefore);
    }
}

void TstLaneEngine::memberWinsLot() {
    LaneEngine engine(Config({Lot(105, 1000, 0, 0)}));
    Capture capture(engine);
    QVERIFY(StepTo(engine, LaneEngine::Phase::Bidding));
    QCOMPARE(engine.SubmitBid(Bid("1234", 105, 1000)), BidOutcome::Accepted);
    QCOMPARE(engine.CurrentPrice(), 1000); // the first bidder takes the start price
    QCOMPARE(engine.SubmitBid(Bid("1234", 105, 1000)), BidOutcome::AlreadyTop);
    QCOMPARE(engine.SubmitBid(Bid("5678", 105, 1000)), BidOutcome::Accepted);
    QCOMPARE(engine.CurrentPrice(), 1003);
    QCOMPARE(engine.SubmitBid(Bid("1234", 105, 1003)), BidOutcome::Accepted);
    QCOMPARE(engine.CurrentPrice(), 1006);
    QVERIFY(StepTo(engine, LaneEngine::Phase::Result));

    const QByteArray last = capture.LastPrice();
    QCOMPARE(WireInt(last, 3, 0), 1006);
    QCOMPARE(WireInt(last, 4, 0), 1);
    QCOMPARE(WireInt(last, 5, 0), 2);
    QCOMPARE(WireField(last, 6), QByteArray("1234"));
    QCOMPARE(WireField(last, 7), QByteArray("1234"));
    QVERIFY(engine.IsWin("1234", 12, 105, 1006));
    QVERIFY(!engine.IsWin("1234", 12, 105, 1003));
    QVERIFY(!engine.IsWin("5678", 12, 105, 1006));
}

void TstLaneEngine::floorAnswersMember() {
    LaneEngineConfig config = Config({Lot(105, 1000, 0, 0)});
    config.floorOutbidPercent = 100;
    LaneEngine engine(config);
    Capture capture(engine);
    QVERIFY(StepTo(engine, LaneEngine::Phase::Bidding));
    QCOMPARE(engine.SubmitBid(Bid("1234", 105, 1000)), BidOutcome::Accepted);
    engine.Step();
    QCOMPARE(engine.TopBidder(), QByteArray("0000"));
    QCOMPARE(engine.CurrentPrice(), 1003);
    // The member's old price is stale now.
    QCOMPARE(engine.SubmitBid(Bid("1234", 105, 1000)), BidOutcome::StalePrice);
    QVERIFY(StepTo(engine, LaneEngine::Phase::Result));
    QCOMPARE(WireField(capture.LastPrice(), 7), QByteArray("0000"));
}

void TstLaneEngine::gaugeRisesBeforeKnockDown() {
    LaneEngine engine(Config({Lot(105, 1000, 0, 1)}));
    Capture capture(engine);
    QVERIFY(StepTo(engine, LaneEngine::Phase::Result));
    QList<int> gauges;
    QList<QByteArray> cues;
    for (const QByteArray& line : capture.lines) {
        if (line.startsWith("PR:"))
            gauges.append(WireInt(QByteArrayView(line).sliced(3), 5, 0) & 28);
        else if (line.startsWith("RV:"))
            cues.append(line);
    }
    // opening, start of bidding, floor bid, three gauge levels, knock-down
    QCOMPARE(gauges, (QList<int>{0, 0, 0, 4, 8, 16, 0}));
    QCOMPARE(cues, (QList<QByteArray>{"RV:1", "RV:2", "RV:6", "RV:3"}));
}

void TstLaneEngine::correctionAndNoReserveFlags() {
    LaneEngine engine(Config({Lot(105, 1000, 1003, 2, true)}));
    Capture capture(engine);
    QVERIFY(StepTo(engine, LaneEngine::Phase::Result));
    const auto prices = capture.WithCode("PR:");
    QVERIFY(prices.size() >= 4);
    QCOMPARE(WireInt(prices.at(0), 4, 0), 16);         // opening price: correction only
    QCOMPARE(WireInt(prices.at(1), 4, 0), 2 | 16);     // bidding, reserve not met
    QCOMPARE(WireInt(prices.at(2), 4, 0), 2 | 16);     // 1000 held by the floor
    QCOMPARE(WireInt(prices.at(3), 4, 0), 2 | 8 | 16); // 1003 meets the reserve
    QVERIFY(capture.lines.indexOf("RV:5") < capture.lines.indexOf("PR:" + prices.at(3)));
}

void TstLaneEngine::resetRestartsLot() {
    LaneEngineConfig config = Config({Lot(105, 1000, 0, 5)});
    config.resetPercent = 100;
    LaneEngine engine(config);
    Capture capture(engine);
    QVERIFY(StepTo(engine, LaneEngine::Phase::Result));
    const qsizetype reset = capture.lines.indexOf("RB:");
    QVERIFY(reset > 0);
    QCOMPARE(capture.lines.count("RB:"), 1);
    // The next price starts over: start price, nobody leads, bidding not open.
    const QByteArray after = capture.lines.at(reset + 1);
    QVERIFY(after.startsWith("PR:"));
    QCOMPARE(WireInt(QByteArrayView(after).sliced(3), 3, 0), 1000);
    QCOMPARE(WireField(QByteArrayView(after).sliced(3), 6), QByteArray());
    QCOMPARE(WireInt(QByteArrayView(after).sliced(3), 4, 0), 0);
}

void TstLaneEngine::laneEndAndSnapshots() {
    LaneEngineConfig config = Config({Lot(105, 1000, 0, 1), Lot(106, 800, 0, 1)});
    config.openingTime = 930;
    LaneEngine engine(config);
    Capture capture(engine);
    QCOMPARE(engine.Snapshot(), (QList<QByteArray>{"AP:930"}));
    engine.Step();
    QCOMPARE(capture.lines, (QList<QByteArray>{"AP:930"}));

    QVERIFY(StepTo(engine, LaneEngine::Phase::Bidding));
    const QList<QByteArray> mid = engine.Snapshot();
    QCOMPARE(mid.size(), 2);
    QCOMPARE(mid.at(0), QByteArray("EN:12,105,106,0,1000,0,1,1"));
    QCOMPARE(mid.at(1), "PR:" + capture.LastPrice());
    QVERIFY(capture.lines.contains("GR:12,106"));

    RunToEnd(engine);
    QCOMPARE(engine.CurrentPhase(), LaneEngine::Phase::Ended);
    QCOMPARE(capture.lines.mid(capture.lines.size() - 2), (QList<QByteArray>{"EN:12,0,0,0,0,0,0,0", "AS:9"}));
    QCOMPARE(engine.Snapshot(), (QList<QByteArray>{"AP:-1"}));
    QCOMPARE(engine.Results().size(), 2);
    QCOMPARE(engine.SubmitBid(Bid("1234", 106, 800)), BidOutcome::NotBidding);
}

void TstLaneEngine::memberCalls() {
    LaneEngineConfig config = Config({Lot(105, 1000, 0, 0), Lot(106, 800, 0, 0)});
    config.watches = {{"1234", 105, 'A'}, {"5678", 105, 'B'}, {"12345", 105, 'A'}, {"4321", 106, 'A'}};
    LaneEngine engine(config);
    Capture capture(engine);
    QVERIFY(StepTo(engine, LaneEngine::Phase::Announced));
    // Only four-character member numbers fit the groups.
    QCOMPARE(capture.WithCode("FC:"), (QList<QByteArray>{"12,105,A1234B5678"}));
    QCOMPARE(capture.WithCode("FP:"), (QList<QByteArray>{"12,106,4321"}));
}

void TstLaneEngine::placesUntil() {
    LaneEngineConfig config = Config({Lot(105, 1000, 0, 0), Lot(106, 800, 0, 0), Lot(110, 800, 0, 0)});
    config.watches = {{"1234", 110, 'A'}, {"5678", 106, 'A'}};
    LaneEngine engine(config);
    QCOMPARE(engine.PlacesUntil(105), 1); // nothing on the block yet
    QCOMPARE(engine.PlacesUntil(110), 3);
    QVERIFY(StepTo(engine, LaneEngine::Phase::Announced));
    QCOMPARE(engine.CurrentExhibit(), 105);
    QCOMPARE(engine.PlacesUntil(105), 0);
    QCOMPARE(engine.PlacesUntil(110), 2);
    QCOMPARE(engine.PlacesUntil(999), -1);
    QCOMPARE(engine.UpcomingExhibits(), (QList<int>{106, 110}));
    QCOMPARE(engine.WatchesWithin(1).size(), 1);
    QCOMPARE(engine.WatchesWithin(1).constFirst().member, QByteArray("5678"));
    RunToEnd(engine);
    QCOMPARE(engine.PlacesUntil(110), -1);
    QVERIFY(engine.UpcomingExhibits().isEmpty());
}

void TstLaneEngine::priceCarriesServerTime_data() {
    QTest::addColumn<qint64>("epochMs");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("unix epoch") << qint64(0) << QByteArray("25569.0000000000");
    QTest::newRow("noon a day later") << qint64(86'400'000 + 43'200'000) << QByteArray("25570.5000000000");
    QTest::newRow("one millisecond") << qint64(1) << QByteArray("25569.0000000116");
}

void TstLaneEngine::priceCarriesServerTime() {
    QFETCH(qint64, epochMs);
    QFETCH(QByteArray, wire);
    m_clock->setNowMs(epochMs);
    LaneEngine engine(Config({Lot(105, 1000, 0, 0)}));
    Capture capture(engine);
    QVERIFY(StepTo(engine, LaneEngine::Phase::Opening));
    QCOMPARE(WireField(capture.LastPrice(), 8), wire);
}

void TstLaneEngine::sameSeedSameAuction() {
    auto play = [](quint32 seed) {
        LaneEngineConfig config = Config({});
        for (int i = 0; i < 20; ++i)
            config.lots.append(Lot(100 + i, 500 + 10 * i, i % 3 == 0 ? 560 + 10 * i : 0, -1, i % 4 == 0));
        config.seed = seed;
        config.resetPercent = 20;
        config.refreshPercent = 30;
        LaneEngine engine(config);
        Capture capture(engine);
        RunToEnd(engine);
        return capture.lines;
    };
    QCOMPARE(play(7), play(7));
    QVERIFY(play(7) != play(8));
}

void TstLaneEngine::noLineRepeatsItself() {
    // A client drops a line equal to the one before it, so the lane must never send one twice
    // in a row; the frozen clock gives every price the same time stamp.
    LaneEngineConfig config = Config({});
    for (int i = 0; i < 60; ++i)
        config.lots.append(Lot(100 + i, 500, i % 2 ? 530 : 0, -1, i % 5 == 0));
    config.resetPercent = 30;
    config.refreshPercent = 30;
    config.floorOutbidPercent = 50;
    config.watches = {{"1234", 110, 'A'}, {"1234", 111, 'B'}};
    LaneEngine engine(config);
    Capture capture(engine);
    for (int i = 0; i < 100'000 && engine.CurrentPhase() != LaneEngine::Phase::Ended; ++i) {
        if (engine.CurrentPhase() == LaneEngine::Phase::Bidding && i % 7 == 0)
            engine.SubmitBid(Bid("1234", engine.CurrentExhibit(), engine.CurrentPrice()));
        engine.Step();
    }
    QCOMPARE(engine.CurrentPhase(), LaneEngine::Phase::Ended);
    for (qsizetype i = 1; i < capture.lines.size(); ++i)
        QVERIFY2(capture.lines.at(i) != capture.lines.at(i - 1), capture.lines.at(i).constData());
}

void TstLaneEngine::lotsWithoutExhibitAreSkipped() {
    LaneEngine engine(Config({Lot(0, 1000, 0, 0), Lot(105, 1000, 0, 0), Lot(106, -5, 0, 0)}));
    Capture capture(engine);
    RunToEnd(engine);
    QCOMPARE(capture.WithCode("EN:"), (QList<QByteArray>{"12,105,0,0,1000,0,1,1", "12,0,0,0,0,0,0,0"}));
}

QTEST_GUILESS_MAIN(TstLaneEngine)
#include "tst_laneengine.moc"
