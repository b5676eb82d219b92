#include "common/pumpwait.h"
#include "laneclient.h"
#include "session/codec/linecodec.h"
#include "tools/auction-house/lanes/auctionlanes.h"
#include "tools/auction-house/lanes/laneengine.h"
#include "tools/auction-house/lanes/lanerouter.h"
#include "tools/auction-house/lanes/routerfaults.h"
#include "tools/auction-house/lanes/wirefields.h"

#include <QtTest>

using namespace qev;

Q_DECLARE_METATYPE(qev::RouterKind)

namespace {

// One live lane whose engine the test steps by hand: lot 105 (start 1000, no reserve, no floor
// bids) then lot 106.
struct Lanes {
    Lanes() {
        LaneEngineConfig config;
        config.siteNumber = 12;
        config.pace = EnginePace::Fast();
        config.floorOutbidPercent = 0;
        config.resetPercent = 0;
        config.refreshPercent = 0;
        config.lots = {AuctionLot{12, 105, 1000, 0, false, 0}, AuctionLot{12, 106, 800, 0, false, 0}};
        ok = lanes.OpenLive({config});
    }
    LaneEngine& Engine() { return *lanes.Engine(0); }
    LaneRouter& Router(RouterKind kind) { return lanes.Router(0, kind); }
    BidRecorder& Recorder() { return lanes.Recorder(); }
    bool StepTo(LaneEngine::Phase phase) {
        for (int i = 0; i < 1000 && Engine().CurrentPhase() != phase; ++i)
            Engine().Step();
        return Engine().CurrentPhase() == phase;
    }
    bool WaitRecorded(qsizetype count) {
        return QTest::qWaitFor([&] { return Recorder().Lines().size() >= count; }, 5000);
    }

    AuctionLanes lanes;
    bool ok = false;
};

// Connects, takes the greeting and identifies as member.
bool Join(LaneClient& client, LaneRouter& router, const QByteArray& member) {
    if (!client.Connect(router.Port()) || client.WaitCode("ST:") != "ST:0")
        return false;
    client.Identify(member);
    return QTest::qWaitFor([&] { return router.IdentifiedCount() > 0; }, 5000);
}

QByteArray Payload(const QByteArray& line) {
    return line.sliced(3);
}

} // namespace

class TstLaneRouter : public QObject {
    Q_OBJECT
private slots:
    void greetsThenCarriesLane_data();
    void greetsThenCarriesLane();
    void bothRoutersCarrySameLines();
    void memberBidsAndWins();
    void bidIgnored_data();
    void bidIgnored();
    void keepAliveIsSilent();
    void hostileClientInput_data();
    void hostileClientInput();
    void dropThenRefuse();
    void stallSaysNothing();
    void delayKeepsOrder();
    void garbageAndOverLongAreBounded();
    void floodIsBoundedAndComplete();
    void faultsNeedLoopback();
    void fastLiveAuction();
    void recorderIsBoundedAndReentrant();
    void clientLimit();
};

void TstLaneRouter::greetsThenCarriesLane_data() {
    QTest::addColumn<RouterKind>("kind");
    QTest::newRow("bidding") << RouterKind::Bidding;
    QTest::newRow("watch") << RouterKind::Watch;
}

void TstLaneRouter::greetsThenCarriesLane() {
    QFETCH(RouterKind, kind);
    Lanes lanes;
    QVERIFY(lanes.ok);
    QVERIFY(lanes.StepTo(LaneEngine::Phase::Announced));

    LaneClient client;
    QVERIFY(client.Connect(lanes.Router(kind).Port()));
    QCOMPARE(client.WaitCode("ST:"), QByteArray("ST:0"));
    // Nothing of the lane before the client names itself.
    lanes.Engine().Step();
    PumpFor(50);
    client.Pump();
    QCOMPARE(client.lines, (QList<QByteArray>{"ST:0"}));

    client.Identify("1234");
    // The catch-up: the lot on the block and its last price.
    QCOMPARE(client.WaitCode("EN:"), QByteArray("EN:12,105,106,0,1000,0,1,1"));
    QCOMPARE(WireInt(Payload(client.WaitCode("PR:")), 3, 0), 1000);
    lanes.Engine().Step();
    const QByteArray bidding = client.WaitCode("PR:");
    QCOMPARE(WireInt(Payload(bidding), 4, 0) & 2, 2);
    QCOMPARE(lanes.Router(kind).Members(), (QList<QByteArray>{"1234"}));
}

void TstLaneRouter::bothRoutersCarrySameLines() {
    Lanes lanes;
    QVERIFY(lanes.ok);
    LaneClient bidder;
    LaneClient watcher;
    QVERIFY(Join(bidder, lanes.Router(RouterKind::Bidding), "1234"));
    QVERIFY(Join(watcher, lanes.Router(RouterKind::Watch), "5678"));
    QVERIFY(lanes.StepTo(LaneEngine::Phase::Result));
    const QByteArray last = lanes.Engine().Snapshot().constLast();
    QCOMPARE(bidder.WaitLine([&](const QByteArray& l) { return l == last; }), last);
    QCOMPARE(watcher.WaitLine([&](const QByteArray& l) { return l == last; }), last);
    QCOMPARE(bidder.lines, watcher.lines);
    QVERIFY(bidder.lines.size() > 5);
}

void TstLaneRouter::memberBidsAndWins() {
    Lanes lanes;
    QVERIFY(lanes.ok);
    LaneClient client;
    QVERIFY(Join(client, lanes.Router(RouterKind::Bidding), "1234"));
    QVERIFY(lanes.StepTo(LaneEngine::Phase::Bidding));
    QVERIFY(!client
                 .WaitLine([](const QByteArray& l) {
                     return l.startsWith("PR:") && (WireInt(l.sliced(3), 4, 0) & 2);
                 })
                 .isEmpty());

    client.SendBid("1234", 12, 105, 1000);
    const QByteArray leads =
        client.WaitLine([](const QByteArray& l) { return l.startsWith("PR:12,105,1000,"); });
    QCOMPARE(WireField(Payload(leads), 6), QByteArray("1234"));
    QCOMPARE(WireInt(Payload(leads), 5, 0) & 2, 2);
    QVERIFY(lanes.WaitRecorded(1));
    QCOMPARE(lanes.Recorder().Bids().constFirst().outcome, BidOutcome::Accepted);
    QCOMPARE(lanes.Recorder().Bids().constFirst().member, QByteArray("1234"));

    QVERIFY(lanes.StepTo(LaneEngine::Phase::Result));
    const QByteArray won = client.WaitLine(
        [](const QByteArray& l) { return l.startsWith("PR:") && WireInt(l.sliced(3), 4, 0) == 1; });
    QCOMPARE(WireField(Payload(won), 7), QByteArray("1234"));
    QCOMPARE(WireField(Payload(won), 6), QByteArray("1234"));

    client.SendLine("CF:12,105,1000," + LineCipher("1234") + ",C");
    client.SendLine("CF:12,105,1003," + LineCipher("1234") + ",N");
    QVERIFY(lanes.WaitRecorded(3));
    const auto confirmations = lanes.Recorder().Confirmations();
    QCOMPARE(confirmations.size(), 2);
    QVERIFY(confirmations.at(0).matchesWin);
    QVERIFY(confirmations.at(0).payload.endsWith(",C"));
    QVERIFY(!confirmations.at(1).matchesWin);
}

void TstLaneRouter::bidIgnored_data() {
    QTest::addColumn<RouterKind>("kind");
    QTest::addColumn<QByteArray>("bidder"); // the ID inside the bid line
    QTest::addColumn<int>("price");
    QTest::addColumn<bool>("identified");
    QTest::addColumn<int>("outcome"); // -1: not even recorded

    QTest::newRow("watch router") << RouterKind::Watch << QByteArray("1234") << 1000 << true
                                  << int(BidOutcome::Refused);
    QTest::newRow("stale price") << RouterKind::Bidding << QByteArray("1234") << 997 << true
                                 << int(BidOutcome::StalePrice);
    QTest::newRow("another member's ID")
        << RouterKind::Bidding << QByteArray("5678") << 1000 << true << int(BidOutcome::Refused);
    QTest::newRow("before the greeting") << RouterKind::Bidding << QByteArray("1234") << 1000 << false << -1;
}

void TstLaneRouter::bidIgnored() {
    QFETCH(RouterKind, kind);
    QFETCH(QByteArray, bidder);
    QFETCH(int, price);
    QFETCH(bool, identified);
    QFETCH(int, outcome);

    Lanes lanes;
    QVERIFY(lanes.ok);
    QVERIFY(lanes.StepTo(LaneEngine::Phase::Bidding));
    LaneClient client;
    if (identified) {
        QVERIFY(Join(client, lanes.Router(kind), "1234"));
    } else {
        QVERIFY(client.Connect(lanes.Router(kind).Port()));
        QCOMPARE(client.WaitCode("ST:"), QByteArray("ST:0"));
    }
    client.SendBid(bidder, 12, 105, price);
    // A valid bid from a second, identified client proves the first line was handled.
    LaneClient other;
    QVERIFY(Join(other, lanes.Router(RouterKind::Bidding), "9999"));
    other.SendBid("9999", 12, 105, 1000);
    QVERIFY(lanes.WaitRecorded(outcome < 0 ? 1 : 2));
    QTRY_COMPARE(lanes.Engine().TopBidder(), QByteArray("9999"));
    const auto bids = lanes.Recorder().Bids();
    QCOMPARE(bids.size(), outcome < 0 ? 1 : 2);
    if (outcome >= 0)
        QCOMPARE(int(bids.constFirst().outcome), outcome);
    QCOMPARE(bids.constLast().outcome, BidOutcome::Accepted);
    QCOMPARE(lanes.Engine().CurrentPrice(), 1000);
}

void TstLaneRouter::keepAliveIsSilent() {
    Lanes lanes;
    QVERIFY(lanes.ok);
    LaneClient client;
    QVERIFY(Join(client, lanes.Router(RouterKind::Bidding), "1234"));
    const qsizetype before = client.pieces.size();
    client.SendLine("KA:");
    client.SendLine("CF:12,1,1," + LineCipher("1234") + ",N");
    QVERIFY(lanes.WaitRecorded(1));
    PumpFor(20);
    client.Pump();
    QCOMPARE(client.pieces.size(), before);
    QVERIFY(client.Connected());
}

void TstLaneRouter::hostileClientInput_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("closed");
    QTest::newRow("piece over the limit") << QByteArray(20'000, 'A') << true;
    QTest::newRow("not base64") << QByteArray("!!!\r\x01\x02\xff\r") << false;
    QTest::newRow("empty pieces") << QByteArray("\r\r\r\n\r") << false;
    QTest::newRow("scrambled nonsense")
        << QByteArray(LineScramble("no code here") + "\r" + LineScramble("ZZ:1") + "\r") << false;
}

void TstLaneRouter::hostileClientInput() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, closed);
    Lanes lanes;
    QVERIFY(lanes.ok);
    QVERIFY(lanes.StepTo(LaneEngine::Phase::Announced));
    LaneClient client;
    QVERIFY(client.Connect(lanes.Router(RouterKind::Bidding).Port()));
    QCOMPARE(client.WaitCode("ST:"), QByteArray("ST:0"));
    client.SendRaw(bytes);
    if (closed) {
        QVERIFY(client.WaitClosed());
        return;
    }
    client.Identify("1234");
    QCOMPARE(client.WaitCode("EN:"), QByteArray("EN:12,105,106,0,1000,0,1,1"));
}

void TstLaneRouter::dropThenRefuse() {
    Lanes lanes;
    QVERIFY(lanes.ok);
    LaneRouter& router = lanes.Router(RouterKind::Watch);
    LaneClient first;
    QVERIFY(Join(first, router, "1234"));
    QVERIFY(router.Faults().DropConnections(300));
    QVERIFY(first.WaitClosed());
    if (router.Faults().Refusing()) {
        LaneClient refused;
        if (refused.Connect(router.Port()))
            QVERIFY(refused.WaitClosed());
    }
    QVERIFY(QTest::qWaitFor([&] { return !router.Faults().Refusing(); }, 5000));
    LaneClient later;
    QVERIFY(Join(later, router, "1234"));
}

void TstLaneRouter::stallSaysNothing() {
    Lanes lanes;
    QVERIFY(lanes.ok);
    LaneRouter& router = lanes.Router(RouterKind::Bidding);
    LaneClient watching;
    QVERIFY(Join(watching, router, "5678"));
    const qsizetype seen = watching.pieces.size();
    QVERIFY(router.Faults().Stall(RouterFaults::kMaxSpanMs * 10)); // capped at the maximum span

    LaneClient newcomer;
    QVERIFY(newcomer.Connect(router.Port()));
    QVERIFY(lanes.StepTo(LaneEngine::Phase::Opening));
    PumpFor(100);
    newcomer.Pump();
    watching.Pump();
    QVERIFY(newcomer.pieces.isEmpty());
    QCOMPARE(watching.pieces.size(), seen);
    QCOMPARE(router.Faults().LostLines(), 3); // "EN:", "GR:" and the opening price

    router.Faults().Clear();
    QCOMPARE(newcomer.WaitCode("ST:"), QByteArray("ST:0"));
    newcomer.Identify("1234");
    QCOMPARE(newcomer.WaitCode("EN:"), QByteArray("EN:12,105,106,0,1000,0,1,1"));
}

void TstLaneRouter::delayKeepsOrder() {
    Lanes lanes;
    QVERIFY(lanes.ok);
    LaneRouter& router = lanes.Router(RouterKind::Watch);
    LaneClient client;
    QVERIFY(Join(client, router, "1234"));
    QList<QByteArray> sent;
    connect(&lanes.Engine(), &LaneFeed::lineReady, this, [&](const QByteArray& line) { sent.append(line); });

    QVERIFY(router.Faults().DelayLines(50, 60'000));
    QVERIFY(lanes.StepTo(LaneEngine::Phase::Result));
    QCOMPARE(router.Faults().HeldLines(), sent.size());
    QVERIFY(QTest::qWaitFor([&] { return router.Faults().HeldLines() == 0; }, 5000));
    const QByteArray last = sent.constLast();
    QCOMPARE(client.WaitLine([&](const QByteArray& l) { return l == last; }), last);
    QCOMPARE(client.lines.mid(client.lines.size() - sent.size()), sent);
}

void TstLaneRouter::garbageAndOverLongAreBounded() {
    Lanes lanes;
    QVERIFY(lanes.ok);
    LaneRouter& router = lanes.Router(RouterKind::Watch);
    LaneClient client;
    QVERIFY(Join(client, router, "1234"));
    const qsizetype before = client.pieces.size();

    QVERIFY(router.Faults().SendGarbage(1'000'000));
    QVERIFY(router.Faults().SendOverLong(1'000, 300'000));
    const qsizetype expected = before + RouterFaults::kMaxGarbageLines + RouterFaults::kMaxOverLongLines;
    QVERIFY(QTest::qWaitFor(
        [&] {
            client.Pump();
            return client.pieces.size() >= expected;
        },
        10'000));
    PumpFor(50);
    client.Pump();
    QCOMPARE(client.pieces.size(), expected);
    for (qsizetype i = client.pieces.size() - RouterFaults::kMaxOverLongLines; i < client.pieces.size(); ++i)
        QCOMPARE(client.pieces.at(i).size(), 300'000);
    // Nothing in the garbage reads as a message a client would act on.
    for (const QByteArray& line : client.lines.mid(1))
        QVERIFY2(line.startsWith("ZZ:") || line.size() < 3 || line.at(2) != ':', line.toHex().constData());
}

void TstLaneRouter::floodIsBoundedAndComplete() {
    Lanes lanes;
    QVERIFY(lanes.ok);
    QVERIFY(lanes.StepTo(LaneEngine::Phase::Bidding));
    LaneRouter& router = lanes.Router(RouterKind::Bidding);
    LaneClient client;
    QVERIFY(Join(client, router, "1234"));
    QVERIFY(router.Faults().FloodPrices(20'000, 100));
    QVERIFY(QTest::qWaitFor([&] { return !router.Faults().Flooding(); }, 10'000));
    QCOMPARE(router.Faults().FloodSent(), 2000);
    const QByteArray last =
        client.WaitLine([](const QByteArray& l) { return l.startsWith("PR:12,105,3000,"); });
    QVERIFY(!last.isEmpty());
    // Every price once, in order, on the lot on the block.
    QList<int> prices;
    for (const QByteArray& line : client.lines) {
        if (line.startsWith("PR:") && WireInt(Payload(line), 4, 0) == 2 &&
            WireField(Payload(line), 6) == "0000")
            prices.append(WireInt(Payload(line), 3, 0));
    }
    QCOMPARE(prices.size(), 2000);
    for (int i = 0; i < prices.size(); ++i)
        QCOMPARE(prices.at(i), 1001 + i);
}

void TstLaneRouter::faultsNeedLoopback() {
    LaneEngine engine(LaneEngineConfig{});
    LaneRouter idle(RouterKind::Watch, engine, nullptr);
    LaneRouter open(RouterKind::Watch, engine, nullptr);
    QVERIFY(open.Listen(QHostAddress(QHostAddress::AnyIPv4), 0));
    for (LaneRouter* router : {&idle, &open}) {
        RouterFaults& faults = router->Faults();
        QVERIFY(!faults.DropConnections(100));
        QVERIFY(!faults.Stall(100));
        QVERIFY(!faults.DelayLines(10, 100));
        QVERIFY(!faults.SendGarbage(1));
        QVERIFY(!faults.SendOverLong(1, 10));
        QVERIFY(!faults.FloodPrices(10, 100));
        QVERIFY(!faults.Stalled() && !faults.Refusing() && !faults.Delaying() && !faults.Flooding());
    }
}

void TstLaneRouter::fastLiveAuction() {
    // Two lanes on their own timers at a fast pace whose gauge leaves time to answer; the member
    // bids on every lot of lane A as soon as bidding opens, nobody bids on lane B.
    QList<LaneEngineConfig> configs;
    for (int lane = 0; lane < 2; ++lane) {
        LaneEngineConfig config;
        config.siteNumber = 12;
        config.pace = EnginePace::Fast();
        config.pace.gaugeStepMs = 100;
        config.seed = 3 + static_cast<quint32>(lane);
        config.floorOutbidPercent = 0;
        config.resetPercent = 0;
        for (int i = 0; i < 3; ++i)
            config.lots.append(AuctionLot{12, 100 * (lane + 1) + i, 1000, 0, i == 1, 0});
        configs.append(config);
    }
    AuctionLanes lanes;
    QVERIFY(lanes.OpenLive(configs));
    LaneClient bidder;
    LaneClient watcher;
    QVERIFY(Join(bidder, lanes.Router(0, RouterKind::Bidding), "1234"));
    QVERIFY(Join(watcher, lanes.Router(1, RouterKind::Watch), "5678"));
    lanes.Run();

    QList<QByteArray> wins;
    qsizetype seen = 0;
    bool ended = false;
    QVERIFY(QTest::qWaitFor(
        [&] {
            bidder.Pump();
            for (; seen < bidder.lines.size(); ++seen) {
                const QByteArray line = bidder.lines.at(seen);
                const QByteArray payload = line.sliced(qMin<qsizetype>(3, line.size()));
                if (line == "AS:9")
                    ended = true;
                if (!line.startsWith("PR:"))
                    continue;
                if ((WireInt(payload, 4, 0) & 2) && WireField(payload, 6).isEmpty())
                    bidder.SendBid("1234", WireInt(payload, 1, 0), WireInt(payload, 2, 0),
                                   WireInt(payload, 3, 0));
                if (WireInt(payload, 4, 0) == 1 && WireField(payload, 7) == "1234") {
                    wins.append(payload);
                    bidder.SendLine("CF:12," + WireField(payload, 2) + ',' + WireField(payload, 3) + ',' +
                                    LineCipher("1234") + ",C");
                }
            }
            return ended;
        },
        30'000));
    QCOMPARE(wins.size(), 3);
    QCOMPARE(watcher.WaitCode("AS:"), QByteArray("AS:9"));
    for (const LotResult& result : lanes.Engine(0)->Results())
        QCOMPARE(result.winner, QByteArray("1234"));
    for (const LotResult& result : lanes.Engine(1)->Results())
        QVERIFY(!result.sold);
    QVERIFY(QTest::qWaitFor([&] { return lanes.Recorder().Confirmations().size() == 3; }, 5000));
    for (const RecordedLine& line : lanes.Recorder().Confirmations())
        QVERIFY(line.matchesWin);
}

void TstLaneRouter::recorderIsBoundedAndReentrant() {
    BidRecorder recorder(4);
    for (int i = 0; i < 5; ++i)
        recorder.Record(
            RecordedLine{i, 0, RouterKind::Bidding, "BD", QByteArray::number(i), "1234", {}, false});
    QCOMPARE(recorder.Lines().size(), 3);
    QCOMPARE(recorder.Dropped(), 2);
    QCOMPARE(recorder.Lines().constFirst().payload, QByteArray("2"));

    // A handler may empty the recorder and drop itself while being called.
    int calls = 0;
    recorder.OnRecorded = [&](BidRecorder& sender, const RecordedLine& line) {
        ++calls;
        QCOMPARE(line.code, QByteArray("CF"));
        sender.Clear();
        sender.OnRecorded = nullptr;
    };
    recorder.Record(RecordedLine{9, 0, RouterKind::Bidding, "CF", "x", "1234", {}, false});
    recorder.Record(RecordedLine{10, 0, RouterKind::Bidding, "CF", "y", "1234", {}, false});
    QCOMPARE(calls, 1);
    QCOMPARE(recorder.Lines().size(), 1);
}

void TstLaneRouter::clientLimit() {
    Lanes lanes;
    QVERIFY(lanes.ok);
    LaneRouter& router = lanes.Router(RouterKind::Watch);
    std::vector<std::unique_ptr<LaneClient>> clients;
    for (int i = 0; i < LaneRouter::kMaxClients; ++i) {
        clients.push_back(std::make_unique<LaneClient>());
        QVERIFY(clients.back()->Connect(router.Port()));
        QTRY_COMPARE(router.ClientCount(), i + 1);
    }
    LaneClient extra;
    QVERIFY(extra.Connect(router.Port()));
    QVERIFY(extra.WaitClosed());
    // A place freed is a place taken again.
    clients.pop_back();
    QTRY_COMPARE(router.ClientCount(), LaneRouter::kMaxClients - 1);
    LaneClient late;
    QVERIFY(late.Connect(router.Port()));
    QCOMPARE(late.WaitCode("ST:"), QByteArray("ST:0"));
}

QTEST_GUILESS_MAIN(TstLaneRouter)
#include "tst_lanerouter.moc"
