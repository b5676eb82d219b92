// Lane channels against real routers on loopback: connecting, switching router kinds, bids and
// their reports, confirmations, a router that drops the client, keep-alives.
#include "common/clock.h"
#include "common/pumpwait.h"
#include "session/codec/linecodec.h"
#include "session/lanechannel.h"
#include "session/procsdm.h"
#include "tests/session/fixedfacts.h"
#include "tools/auction-house/announcedlanes.h"
#include "tools/auction-house/auctionhouse.h"
#include "tools/auction-house/dataserver.h"
#include "tools/auction-house/lanes/auctionlanes.h"
#include "tools/auction-house/lanes/lanerouter.h"
#include "tools/auction-house/lanes/routerfaults.h"
#include "tools/auction-house/signinserver.h"

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace qev;

namespace {

constexpr int kWaitMs = 10000; // a bound on real time, never an assertion about speed

QByteArray DayCount(qint64 localWallMs) {
    return QByteArray::number(25569.0 + static_cast<double>(localWallMs) / 86400000.0, 'f', 10);
}

QByteArray ClockText(qint64 ms) {
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("hh:mm:ss.zzz")).toLatin1();
}

// Scripted lanes that send nothing by themselves, a house for sign-in and data that announces
// their routers, and a module signed in as member 1001 with the lanes built.
struct Fixture {
    ManualClock clock;
    ScopedClock scoped{clock};
    AuctionLanes lanes;
    std::unique_ptr<AuctionHouse> house;
    TProcsDm dm{std::make_unique<FixedFacts>()};
    QByteArrayList events;

    // watch0: the address announced as lane 0's watch router instead of the scripted one.
    explicit Fixture(const QByteArray& watch0 = {}) {
        if (!lanes.OpenScripted(Scenario{}, 2))
            qFatal("lanes did not open");
        HouseConfig c = HouseConfig::Default();
        c.signInPort = 0;
        c.dataPort = 0;
        c.webBase = QByteArrayLiteral("127.0.0.1:8080");
        AnnounceLanes(c, lanes);
        if (!watch0.isEmpty())
            c.lanes[0].watchRouter = watch0;
        house = std::make_unique<AuctionHouse>(c);
        QString error;
        if (!house->Start(&error))
            qFatal("house: %s", qPrintable(error));
        dm.OnLaneStatusChanged = [this](TProcsDm&, int lane, TConnectionStatus o, TConnectionStatus n) {
            events.append("lane " + QByteArray::number(lane) + ' ' + QByteArray::number(o) + '>' +
                          QByteArray::number(n));
        };
        dm.OnSessionNotice = [this](TProcsDm&, int lane, int code) {
            events.append("notice " + QByteArray::number(lane) + ' ' + QByteArray::number(code));
        };
        dm.OnLaneCountChanged = [this](TProcsDm&, int n) { events.append("lanes " + QByteArray::number(n)); };
    }
    ~Fixture() {
        dm.OnLaneStatusChanged = nullptr;
        dm.OnSessionNotice = nullptr;
    }

    bool SignIn() {
        dm.SetMemberNumber("1001");
        if (!dm.SignIn(house->SignInAddress(), LineCipher("1001"), LineCipher("demo")))
            return false;
        if (!PumpWait([this] { return dm.State() == ssInSession || dm.State() == ssOffline; }, kWaitMs) ||
            dm.State() != ssInSession)
            return false;
        dm.SelectSite(dm.FirstSiteName());
        // The data channel opens with the first tick of the session.
        return PumpWait([this] { return house->Data().ClientCount() == 1; }, kWaitMs);
    }
    bool Connected(TConnectionStatus status) {
        return PumpWait([this, status] { return dm.LaneStatus(0) == status && dm.LaneStatus(1) == status; },
                        kWaitMs);
    }
    LaneRouter& Router(int lane, RouterKind kind) { return lanes.Router(lane, kind); }
    // Sends a price on both routers of a lane and waits until the module has it.
    bool Price(int lane, const QByteArray& line, int expectPrice) {
        Router(lane, RouterKind::Bidding).Deliver(line);
        Router(lane, RouterKind::Watch).Deliver(line);
        return PumpWait([this, lane, expectPrice] { return dm.LanePrice(lane) == expectPrice; }, kWaitMs);
    }
    QByteArrayList Reports() const {
        QByteArrayList out;
        for (const QByteArray& l : house->Data().ReceivedLines())
            if (l.startsWith("RP:"))
                out.append(l);
        return out;
    }
    bool WaitReports(int n) {
        return PumpWait([this, n] { return Reports().size() >= n; }, kWaitMs);
    }
};

} // namespace

class TestLaneChannels : public QObject {
    Q_OBJECT

private slots:
    void connectsToWatchThenBiddingRouters();
    void switchWhileStillConnecting();
    void selectingTheSameSiteKeepsTheChannels();
    void bidChecksAndReports_data();
    void bidChecksAndReports();
    void deadBiddingLaneIsNotBidReady();
    void reportOutlivesAnImmediateClose();
    void confirmations();
    void droppedRouterIsReconnected();
    void routerThatStaysAwayGivesNotice105();
    void routerRefusalCodeEndsTheSession();
    void idleLaneSendsKeepAlive();
    void closeAllAndShutdownCloseTheLanes();
};

void TestLaneChannels::connectsToWatchThenBiddingRouters() {
    Fixture f;
    QVERIFY(f.SignIn());
    f.events.clear();
    QVERIFY(f.dm.ConnectLanes(rcNB));
    QVERIFY(f.Connected(icsConnectedNB));
    QCOMPARE(f.events, (QByteArrayList{"lane 0 0>3", "lane 1 0>3", "lane 0 3>5", "lane 1 3>5"}));
    QTRY_COMPARE_WITH_TIMEOUT(f.Router(0, RouterKind::Watch).IdentifiedCount(), 1, kWaitMs);
    QCOMPARE(f.Router(0, RouterKind::Watch).Members(), QList<QByteArray>{"1001"});

    f.events.clear();
    QVERIFY(f.dm.ConnectLanes(rcNB)); // the same kind again: nothing happens
    QVERIFY(f.events.isEmpty());

    QVERIFY(f.dm.ConnectLanes(rcBD));
    QVERIFY(f.Connected(icsConnectedBD));
    QCOMPARE(f.events, (QByteArrayList{"lane 0 5>3", "lane 1 5>3", "lane 0 3>4", "lane 1 3>4"}));
    QCOMPARE(f.dm.CurrentRouterKind(), rcBD);
    QTRY_COMPARE_WITH_TIMEOUT(f.Router(1, RouterKind::Watch).ClientCount(), 0, kWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(f.Router(1, RouterKind::Bidding).IdentifiedCount(), 1, kWaitMs);

    // And back to watching.
    QVERIFY(f.dm.ConnectLanes(rcNB));
    QVERIFY(f.Connected(icsConnectedNB));
    QTRY_COMPARE_WITH_TIMEOUT(f.Router(0, RouterKind::Bidding).ClientCount(), 0, kWaitMs);
}

void TestLaneChannels::switchWhileStillConnecting() {
    Fixture f;
    QVERIFY(f.SignIn());
    QVERIFY(f.dm.ConnectLanes(rcNB));
    QVERIFY(f.dm.ConnectLanes(rcBD)); // before the watch routers greeted
    QVERIFY(f.Connected(icsConnectedBD));
    QTRY_COMPARE_WITH_TIMEOUT(f.Router(0, RouterKind::Bidding).IdentifiedCount(), 1, kWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(f.Router(1, RouterKind::Bidding).IdentifiedCount(), 1, kWaitMs);
    PumpFor(50);
    QCOMPARE(f.Router(0, RouterKind::Watch).ClientCount(), 0);
    QCOMPARE(f.Router(1, RouterKind::Watch).ClientCount(), 0);
}

void TestLaneChannels::selectingTheSameSiteKeepsTheChannels() {
    Fixture f;
    QVERIFY(f.SignIn());
    QCOMPARE(f.events.count("lanes 2"), 1);
    QVERIFY(f.dm.ConnectLanes(rcNB));
    QVERIFY(f.Connected(icsConnectedNB));
    f.events.clear();
    f.dm.SelectSite(f.dm.FirstSiteName());
    QVERIFY(f.events.isEmpty());
    QCOMPARE(f.dm.LaneStatus(0), icsConnectedNB);
}

void TestLaneChannels::bidChecksAndReports_data() {
    QTest::addColumn<QByteArray>("situation");
    QTest::newRow("watching") << QByteArray("watch");
    QTest::newRow("inside the jump lock") << QByteArray("jump");
    QTest::newRow("prices late") << QByteArray("late");
    QTest::newRow("all checks pass") << QByteArray("ok");
    QTest::newRow("jump lock over") << QByteArray("jump over");
}

void TestLaneChannels::bidChecksAndReports() {
    QFETCH(QByteArray, situation);
    Fixture f;
    QVERIFY(f.SignIn());
    QVERIFY(f.dm.ConnectLanes(situation == "watch" ? rcNB : rcBD));
    QVERIFY(f.Connected(situation == "watch" ? icsConnectedNB : icsConnectedBD));
    QTRY_COMPARE_WITH_TIMEOUT(
        f.Router(1, situation == "watch" ? RouterKind::Watch : RouterKind::Bidding).IdentifiedCount(), 1,
        kWaitMs);
    const auto serverNow = [&f] { return LocalWallMs(f.clock.nowMs()) + f.dm.ClockOffsetMs(); };

    QVERIFY(f.Price(1, "EN:12,105,106,107", 0));
    QVERIFY(f.Price(1, "PR:12,105,1000,2,2,0000,," + DayCount(serverNow()), 1000));
    QByteArray expected;
    if (situation == "watch") {
        expected = "RP:1,12,105,1001,0,2,CS=5";
    } else if (situation.startsWith("jump")) {
        // The house's threshold is 30,000 yen and its lock 1500 ms.
        QVERIFY(f.Price(1, "PR:12,105,1031,2,2,0000,," + DayCount(serverNow()), 1031));
        const qint64 until = f.dm.LaneJumpLockUntilMs(1);
        QCOMPARE(until, f.clock.nowMs() + 1500);
        if (situation == "jump") {
            f.clock.advance(100);
            expected = "RP:1,12,105,1001,0,3,FPLB=" + ClockText(f.clock.nowMs()) + '<' + ClockText(until);
        } else {
            f.clock.advance(1501);
            expected = "RP:1,12,105,1001,0,0,";
        }
    } else if (situation == "late") {
        QVERIFY(f.Price(1, "PR:12,105,1003,2,2,0000,," + DayCount(serverNow() - 3500), 1003));
        QVERIFY(f.dm.LaneLate(1));
        expected = "RP:1,12,105,1001,0,1,MPD=" + QByteArray::number(f.dm.MaxDelayMs()) +
                   " LPD=" + QByteArray::number(f.dm.LaneDelayMs(1));
        QVERIFY(qAbs(f.dm.LaneDelayMs(1) - 3500) <= 1);
    } else {
        expected = "RP:1,12,105,1001,0,0,";
    }
    const bool sent = f.dm.SendBid(1);
    QVERIFY(f.WaitReports(1));
    QCOMPARE(f.Reports(), QByteArrayList{expected});
    const bool goes = expected.endsWith(",0,0,");
    QCOMPARE(sent, goes);
    if (goes) {
        QTRY_COMPARE_WITH_TIMEOUT(f.lanes.Recorder().Bids().size(), 1, kWaitMs);
        const RecordedLine bid = f.lanes.Recorder().Bids().first();
        QCOMPARE(bid.lane, 1);
        QCOMPARE(bid.member, QByteArray("1001"));
        QCOMPARE(bid.payload, "12,105," + LineCipher("1001") + ',' + QByteArray::number(f.dm.LanePrice(1)) +
                                  ',' + f.dm.VersionText());
    } else {
        PumpFor(50);
        QVERIFY(f.lanes.Recorder().Bids().isEmpty());
    }
}

// While signing out a dropped lane is not reconnected and its status stays as it was: the bid
// must not go out as "sent".
void TestLaneChannels::deadBiddingLaneIsNotBidReady() {
    Fixture f;
    QVERIFY(f.SignIn());
    QVERIFY(f.dm.ConnectLanes(rcBD));
    QVERIFY(f.Connected(icsConnectedBD));
    QTRY_COMPARE_WITH_TIMEOUT(f.Router(0, RouterKind::Bidding).IdentifiedCount(), 1, kWaitMs);
    QVERIFY(f.Price(0, "EN:12,105,106,107", 0));
    QVERIFY(f.Price(0, "PR:12,105,1000,2,2,0000,,", 1000));
    f.house->SignIn().Close(); // the sign-out stays under way
    QVERIFY(f.dm.SignOut());
    f.Router(0, RouterKind::Bidding).DropAll();
    LaneChannel* lane0 = f.dm.findChildren<LaneChannel*>().value(0);
    QVERIFY(lane0 && lane0->Lane == 0);
    QVERIFY(PumpWait([lane0] { return lane0->IsClosed(); }, kWaitMs));
    QCOMPARE(f.dm.State(), ssSigningOut);

    QVERIFY(!f.dm.SendBid(0));
    QVERIFY(f.WaitReports(1));
    QCOMPARE(f.Reports(), QByteArrayList{"RP:0,12,105,1001,0,2,CS=2"});
    // Lane 1 is still connected and bids as ever, reported after its line went out.
    QVERIFY(f.Price(1, "EN:12,205,206,207", 0));
    QVERIFY(f.Price(1, "PR:12,205,1000,2,2,0000,,", 1000));
    QVERIFY(f.dm.SendBid(1));
    QVERIFY(f.WaitReports(2));
    QCOMPARE(f.Reports().last(), QByteArray("RP:1,12,205,1001,0,0,"));
    QTRY_COMPARE_WITH_TIMEOUT(f.lanes.Recorder().Bids().size(), 1, kWaitMs);
    QCOMPARE(f.lanes.Recorder().Bids().first().lane, 1);
}

// The session ends right after a bid (a lane refusal, the window closing): the bid's report was
// accepted and still reaches the data server.
void TestLaneChannels::reportOutlivesAnImmediateClose() {
    Fixture f;
    QVERIFY(f.SignIn());
    QVERIFY(f.dm.ConnectLanes(rcBD));
    QVERIFY(f.Connected(icsConnectedBD));
    QTRY_COMPARE_WITH_TIMEOUT(f.Router(0, RouterKind::Bidding).IdentifiedCount(), 1, kWaitMs);
    QVERIFY(f.Price(0, "EN:12,105,106,107", 0));
    QVERIFY(f.Price(0, "PR:12,105,1000,2,2,0000,,", 1000));
    QVERIFY(f.dm.SendBid(0));
    f.dm.CloseAll();
    QVERIFY(f.WaitReports(1));
    QCOMPARE(f.Reports(), QByteArrayList{"RP:0,12,105,1001,0,0,"});
}

void TestLaneChannels::confirmations() {
    Fixture f;
    QVERIFY(f.SignIn());
    // Before any connection the channel is closed: nothing goes out.
    QVERIFY(!f.dm.SendConfirmation(0, 12, 105, 1030, "N"));
    QVERIFY(f.dm.ConnectLanes(rcBD));
    QVERIFY(f.Connected(icsConnectedBD));
    QTRY_COMPARE_WITH_TIMEOUT(f.Router(0, RouterKind::Bidding).IdentifiedCount(), 1, kWaitMs);
    QVERIFY(f.dm.SendConfirmation(0, 12, 105, 1030, "C"));
    QTRY_COMPARE_WITH_TIMEOUT(f.lanes.Recorder().Confirmations().size(), 1, kWaitMs);
    QCOMPARE(f.lanes.Recorder().Confirmations().first().payload, "12,105,1030," + LineCipher("1001") + ",C");
    f.dm.CloseAll();
    QVERIFY(!f.dm.SendConfirmation(0, 12, 105, 1030, "N"));
    PumpFor(50);
    QCOMPARE(f.lanes.Recorder().Confirmations().size(), 1);
}

void TestLaneChannels::droppedRouterIsReconnected() {
    Fixture f;
    QVERIFY(f.SignIn());
    QVERIFY(f.dm.ConnectLanes(rcNB));
    QVERIFY(f.Connected(icsConnectedNB));
    QTRY_COMPARE_WITH_TIMEOUT(f.Router(0, RouterKind::Watch).IdentifiedCount(), 1, kWaitMs);
    f.events.clear();
    f.Router(0, RouterKind::Watch).DropAll();
    QVERIFY(PumpWait([&f] { return f.events.size() >= 2; }, kWaitMs));
    QCOMPARE(f.events, (QByteArrayList{"lane 0 5>3", "lane 0 3>5"}));
    // The lane still carries messages after the reconnect.
    QVERIFY(f.Price(0, "PR:12,105,1000,2,2,,,", 1000));
}

void TestLaneChannels::routerThatStaysAwayGivesNotice105() {
    Fixture f;
    QVERIFY(f.SignIn());
    QVERIFY(f.dm.ConnectLanes(rcNB));
    QVERIFY(f.Connected(icsConnectedNB));
    QTRY_COMPARE_WITH_TIMEOUT(f.Router(1, RouterKind::Watch).IdentifiedCount(), 1, kWaitMs);
    f.events.clear();
    // The router goes away for good: every retry is refused.
    f.Router(1, RouterKind::Watch).DropAll();
    f.Router(1, RouterKind::Watch).Close();
    QVERIFY(PumpWait([&f] { return f.dm.LaneStatus(1) == icsCnctRouter; }, kWaitMs));
    for (int second = 2; second <= 14; second += 2) {
        f.clock.advance(2000);
        f.dm.TmConnectingTimer(1);
        PumpFor(10);
    }
    QCOMPARE(f.events, QByteArrayList{"lane 1 5>3"}); // still trying, no notice yet
    f.clock.advance(1500);                            // 15.5 s after the drop
    f.dm.TmConnectingTimer(1);
    QCOMPARE(f.events, (QByteArrayList{"lane 1 5>3", "notice 1 105"}));
    QCOMPARE(f.dm.LaneStatus(1), icsCnctRouter);
    QCOMPARE(f.dm.LaneStatus(0), icsConnectedNB);
}

void TestLaneChannels::routerRefusalCodeEndsTheSession() {
    Fixture f;
    QVERIFY(f.SignIn());
    QVERIFY(f.dm.ConnectLanes(rcNB));
    QVERIFY(f.Connected(icsConnectedNB));
    QTRY_COMPARE_WITH_TIMEOUT(f.Router(1, RouterKind::Watch).IdentifiedCount(), 1, kWaitMs);
    f.events.clear();
    f.Router(1, RouterKind::Watch).Deliver("ST:104");
    QVERIFY(PumpWait([&f] { return f.dm.State() == ssOffline; }, kWaitMs));
    QCOMPARE(f.events, (QByteArrayList{"notice 1 104", "lane 0 5>2", "lane 1 5>2"}));
    QCOMPARE(f.dm.LastNoticeCode(), 104);
    // The closed lanes are not reconnected.
    PumpFor(50);
    QCOMPARE(f.dm.LaneStatus(0), nsDisconnected);
}

void TestLaneChannels::idleLaneSendsKeepAlive() {
    // A bare router that greets and writes down every line it receives, unscrambled.
    QTcpServer router;
    QVERIFY(router.listen(QHostAddress::LocalHost));
    QPointer<QTcpSocket> peer;
    QByteArray received;
    connect(&router, &QTcpServer::newConnection, &router, [&] {
        peer = router.nextPendingConnection();
        peer->write(LineScramble("ST:0") + '\r');
        connect(peer, &QTcpSocket::readyRead, &router, [&] { received += peer->readAll(); });
    });
    Fixture f("127.0.0.1:" + QByteArray::number(router.serverPort()));
    QVERIFY(f.SignIn());
    QVERIFY(f.dm.ConnectLanes(rcNB));
    QVERIFY(f.Connected(icsConnectedNB));
    const auto lines = [&received] {
        QByteArrayList out;
        for (const QByteArray& piece : received.split('\r'))
            if (!piece.isEmpty())
                out.append(LineUnscramble(piece));
        return out;
    };
    QVERIFY(PumpWait([&] { return lines().size() == 1; }, kWaitMs));
    QVERIFY(lines().first().startsWith("NM:"));

    f.clock.advance(24000);
    f.dm.TimeTickTimer(); // 24 s after the greeting's answer: not yet
    PumpFor(50);
    QCOMPARE(lines().size(), 1);
    f.clock.advance(1000);
    f.dm.TimeTickTimer();
    QVERIFY(PumpWait([&] { return lines().size() == 2; }, kWaitMs));
    QCOMPARE(lines().last(), QByteArray("KA:"));
    f.clock.advance(1000);
    f.dm.TimeTickTimer(); // the keep-alive counts as a send
    PumpFor(50);
    QCOMPARE(lines().size(), 2);
}

void TestLaneChannels::closeAllAndShutdownCloseTheLanes() {
    Fixture f;
    QVERIFY(f.SignIn());
    QVERIFY(f.dm.ConnectLanes(rcNB));
    QVERIFY(f.Connected(icsConnectedNB));
    QTRY_COMPARE_WITH_TIMEOUT(f.Router(0, RouterKind::Watch).IdentifiedCount(), 1, kWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(f.Router(1, RouterKind::Watch).IdentifiedCount(), 1, kWaitMs);
    f.dm.Shutdown();
    QCOMPARE(f.dm.State(), ssOffline);
    QCOMPARE(f.dm.LaneCount(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(f.Router(0, RouterKind::Watch).ClientCount(), 0, kWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(f.Router(1, RouterKind::Watch).ClientCount(), 0, kWaitMs);
}

QTEST_GUILESS_MAIN(TestLaneChannels)
#include "tst_lanechannels.moc"
