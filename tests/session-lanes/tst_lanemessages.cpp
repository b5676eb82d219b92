// The lane processing pass fed byte by byte, without a router: filters, safeguards, events.
#include "common/clock.h"
#include "session/codec/linecodec.h"
#include "session/procsdm.h"
#include "tests/session/fixedfacts.h"

#include <QTest>

using namespace qev;

namespace {

QByteArray SignInWire(const QByteArray& plain) {
    return LineCipher(plain) + '\r';
}

QByteArray Lane(const QByteArray& plain) {
    return LineScramble(plain) + '\r';
}

// Wire day count of a local wall-clock time given as UTC milliseconds.
QByteArray DayCount(qint64 localWallMs) {
    return QByteArray::number(25569.0 + static_cast<double>(localWallMs) / 86400000.0, 'f', 10);
}

// A module with a current two-lane site (number 12), member 1234, its events written down.
struct Fixture {
    ManualClock clock;
    ScopedClock scoped{clock};
    std::unique_ptr<TProcsDm> dm = std::make_unique<TProcsDm>(std::make_unique<FixedFacts>());
    QByteArrayList events;

    explicit Fixture(int lanes = 2, bool inSession = false) {
        dm->SetMemberNumber("1234");
        if (!dm->SignIn("127.0.0.1:1", LineCipher("1234"), LineCipher("pw")))
            qFatal("sign-in did not start");
        dm->ReceiveSignIn(SignInWire("AN:12," + QByteArray::number(lanes) + '|'));
        if (inSession)
            dm->ReceiveSignIn(SignInWire("SV:"));
        dm->SelectSite("QEV");
        Record();
    }
    void Add(const QByteArray& e) { events.append(e); }
    static QByteArray N(int v) { return QByteArray::number(v); }
    void Record() {
        dm->OnSessionStateChanged = [this](TProcsDm&, TSessionState o, TSessionState n) {
            Add("state " + N(o) + '>' + N(n));
        };
        dm->OnLaneStateChanged = [this](TProcsDm&) { Add("lanestate"); };
        dm->OnSiteStateChanged = [this](TProcsDm&, TSiteInfo&) { Add("site"); };
        dm->OnAuctionStatus = [this](TProcsDm&, int lane, int v) { Add("status " + N(lane) + ' ' + N(v)); };
        dm->OnLotEntered = [this](TProcsDm&, int lane, int s, int e, int n, int a, int f5, int, int, int f8) {
            Add("entered " + N(lane) + ' ' + N(s) + ',' + N(e) + ',' + N(n) + ',' + N(a) + ',' + N(f5) + ',' +
                N(f8));
        };
        dm->OnLotRefreshed = [this](TProcsDm&, int lane, int, int e, int, int, int, int, int, int) {
            Add("refreshed " + N(lane) + ' ' + N(e));
        };
        dm->OnLotPrefetch = [this](TProcsDm&, int lane, int s, int e) {
            Add("prefetch " + N(lane) + ' ' + N(s) + ',' + N(e));
        };
        dm->OnLotPrefetchRefreshed = [this](TProcsDm&, int lane, int, int e) {
            Add("prefetch again " + N(lane) + ' ' + N(e));
        };
        dm->OnPriceChanged = [this](TProcsDm&, int lane, int, int e, int p, int lf, int bf,
                                    const QByteArray& top, const QByteArray& winner) {
            Add("price " + N(lane) + ' ' + N(e) + ',' + N(p) + ',' + N(lf) + ',' + N(bf) + ',' + top + ',' +
                winner);
        };
        dm->OnLaneActiveChanged = [this](TProcsDm&, int lane, bool a) {
            Add("active " + N(lane) + ' ' + N(a));
        };
        dm->OnVoiceCue = [this](TProcsDm&, int lane, int c) { Add("voice " + N(lane) + ' ' + N(c)); };
        dm->OnLotReset = [this](TProcsDm&, int lane) { Add("reset " + N(lane)); };
        dm->OnMemberFlags = [this](TProcsDm&, int lane, int, int f2, int flags) {
            Add("flags " + N(lane) + ' ' + N(f2) + ' ' + N(flags));
        };
        dm->OnMemberCalled = [this](TProcsDm&, int lane, int, int f2) {
            Add("called " + N(lane) + ' ' + N(f2));
        };
        dm->OnExhibitList = [this](TProcsDm&) { Add("exhibits"); };
        dm->OnInformation = [this](TProcsDm&, const QByteArray& t) { Add("info " + t); };
        dm->OnAlarmList = [this](TProcsDm&, int lane, const QList<AlarmItem>& items) {
            QByteArray text = "alarms " + N(lane);
            for (const AlarmItem& i : items)
                text += ' ' + i.text + (i.mine ? "*" : "");
            Add(text);
        };
    }
    QByteArrayList Take() {
        QByteArrayList out;
        out.swap(events);
        return out;
    }
    QByteArrayList Only(const QByteArray& prefix) const {
        QByteArrayList out;
        for (const QByteArray& e : events)
            if (e.startsWith(prefix))
                out.append(e);
        return out;
    }
};

} // namespace

class TestLaneMessages : public QObject {
    Q_OBJECT

private slots:
    void messagesAndTheirEvents_data();
    void messagesAndTheirEvents();
    void repeatedPieceIsHandledOnce();
    void lotEnteredRepeatWindow_data();
    void lotEnteredRepeatWindow();
    void lotEnteredResetsTheLot();
    void anotherSiteStartsTheSignOut_data();
    void anotherSiteStartsTheSignOut();
    void priceOfAnotherSiteEndsThePass();
    void delayCheck();
    void jumpGuard_data();
    void jumpGuard();
    void activeMark();
    void fivePricesPerPassAndNoLineLost();
    void newerPriceNeverHidesAChangeOfStanding();
    void everyPriceModeHandlesEveryPrice();
    void backlogEndsEveryPriceMode();
    void bidWarBurstIsShownWhole();
    void laneFarBehindIsALaneFault();
    void alarmLists_data();
    void alarmLists();
    void dataChannelMessages();
    void handlerMayDestroyTheModuleMidPass();
    void handlerMayRebuildTheLanesMidPass();
    void handlerMayClearTheSessionOnALaneNotice();
    void closedSessionDropsTheRestOfTheRead();
    void hostileLaneBytes_data();
    void hostileLaneBytes();
    void accessorsOutsideTheLanes();
};

void TestLaneMessages::messagesAndTheirEvents_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArrayList>("expected");
    QTest::newRow("prefetch") << QByteArray("GR:12,106") << QByteArrayList{"prefetch 0 12,106"};
    QTest::newRow("prefetch again") << QByteArray("LG:12,107") << QByteArrayList{"prefetch again 0 107"};
    QTest::newRow("voice cue") << QByteArray("RV:5") << QByteArrayList{"voice 0 5"};
    QTest::newRow("voice cue default") << QByteArray("RV:x") << QByteArrayList{"voice 0 0"};
    QTest::newRow("lot reset") << QByteArray("RB:") << QByteArrayList{"reset 0"};
    QTest::newRow("member flags A and B")
        << QByteArray("FC:12,105,A9999A1234B1234") << QByteArrayList{"flags 0 105 3"};
    QTest::newRow("member flags B only") << QByteArray("FC:12,105,B1234") << QByteArrayList{"flags 0 105 2"};
    QTest::newRow("member flags other member") << QByteArray("FC:12,105,A9999") << QByteArrayList{};
    QTest::newRow("member flags unknown letter") << QByteArray("FC:12,105,C1234") << QByteArrayList{};
    QTest::newRow("member called") << QByteArray("FP:12,107,99991234") << QByteArrayList{"called 0 107"};
    QTest::newRow("member not called") << QByteArray("FP:12,107,9999123") << QByteArrayList{};
    QTest::newRow("exhibit list") << QByteArray("FE:12") << QByteArrayList{"exhibits"};
    QTest::newRow("auction status 3") << QByteArray("AS:3") << QByteArrayList{"status 0 3"};
    QTest::newRow("auction status -1") << QByteArray("AS:-1") << QByteArrayList{};
    QTest::newRow("auction status 9")
        << QByteArray("AS:9") << QByteArrayList{"lanestate", "site", "status 0 9"};
    QTest::newRow("lane state") << QByteArray("AP:1000") << QByteArrayList{"lanestate", "site"};
    QTest::newRow("refresh") << QByteArray("LE:12,105,106,107") << QByteArrayList{"refreshed 0 105"};
    QTest::newRow("unknown code") << QByteArray("ZZ:1") << QByteArrayList{};
    QTest::newRow("lower-case code") << QByteArray("rv:1") << QByteArrayList{};
    QTest::newRow("no colon in third place") << QByteArray("RV1") << QByteArrayList{};
    QTest::newRow("blanks trimmed") << QByteArray("  RV:2 \t") << QByteArrayList{"voice 0 2"};
    QTest::newRow("several lines in a piece")
        << QByteArray("RV:1\r\rRB:\rRV:2") << QByteArrayList{"voice 0 1", "reset 0", "voice 0 2"};
}

void TestLaneMessages::messagesAndTheirEvents() {
    QFETCH(QByteArray, line);
    QFETCH(QByteArrayList, expected);
    Fixture f;
    f.dm->ReceiveLane(0, Lane(line));
    QCOMPARE(f.events, expected);
}

void TestLaneMessages::repeatedPieceIsHandledOnce() {
    Fixture f;
    const QByteArray cue = Lane("RV:1");
    f.dm->ReceiveLane(0, cue + Lane("RV:1")); // scrambled differently, the same text
    QCOMPARE(f.Take(), QByteArrayList{"voice 0 1"});
    f.dm->ReceiveLane(0, Lane("RV:2") + cue);
    QCOMPARE(f.Take(), (QByteArrayList{"voice 0 2", "voice 0 1"}));
    // The filter is per lane.
    f.dm->ReceiveLane(1, cue);
    QCOMPARE(f.Take(), QByteArrayList{"voice 1 1"});
}

void TestLaneMessages::lotEnteredRepeatWindow_data() {
    QTest::addColumn<int>("afterMs");
    QTest::addColumn<QByteArrayList>("expected");
    QTest::newRow("1 s later: a repeat") << 1000 << QByteArrayList{"status 0 0"};
    QTest::newRow("2 s later: still a repeat") << 2000 << QByteArrayList{"status 0 0"};
    QTest::newRow("3 s later: the lot again")
        << 3000 << QByteArrayList{"status 0 0", "site", "entered 0 12,105,106,107,150,8"};
}

void TestLaneMessages::lotEnteredRepeatWindow() {
    QFETCH(int, afterMs);
    QFETCH(QByteArrayList, expected);
    Fixture f;
    const QByteArray en = "EN:12,105,106,107,150,0,0,8";
    f.dm->ReceiveLane(0, Lane(en));
    QCOMPARE(f.Take(), (QByteArrayList{"status 0 0", "lanestate", "site", "entered 0 12,105,106,107,150,8"}));
    f.dm->ReceiveLane(0, Lane("RV:1")); // another piece in between, so the duplicate filter lets it pass
    f.Take();
    f.clock.advance(afterMs);
    f.dm->ReceiveLane(0, Lane(en));
    QCOMPARE(f.events, expected);
}

void TestLaneMessages::lotEnteredResetsTheLot() {
    Fixture f;
    f.dm->ReceiveLane(1, Lane("EN:12,105,106,107") + Lane("PR:12,105,1000,2,2,1234,,0"));
    QCOMPARE(f.dm->LanePrice(1), 1000);
    QCOMPARE(f.dm->LaneExhibit(1), 105);
    f.dm->ReceiveLane(1, Lane("EN:12,106,107,0"));
    QCOMPARE(f.dm->LanePrice(1), 0);
    QCOMPARE(f.dm->LaneExhibit(1), 106);
    QCOMPARE(f.dm->LaneNextExhibit(1), 107);
    QCOMPARE(f.dm->CurrentSite().CurrentExhibit(1), 106);
    QCOMPARE(f.dm->CurrentSite().NextExhibit(1), 107);
    QCOMPARE(f.dm->LaneState(1), 0);
    // Lane 0 is untouched.
    QCOMPARE(f.dm->LaneExhibit(0), 0);
}

void TestLaneMessages::anotherSiteStartsTheSignOut_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("lot entered") << QByteArray("EN:13,105,106,107");
    QTest::newRow("lot refreshed") << QByteArray("LE:13,105,106,107");
    QTest::newRow("prefetch") << QByteArray("GR:13,105");
    QTest::newRow("prefetch again") << QByteArray("LG:13,105");
    QTest::newRow("member flags") << QByteArray("FC:13,105,A1234");
    QTest::newRow("member called") << QByteArray("FP:13,105,1234");
    QTest::newRow("exhibit list") << QByteArray("FE:13");
    QTest::newRow("price") << QByteArray("PR:13,105,1000,2,2,,,0");
}

void TestLaneMessages::anotherSiteStartsTheSignOut() {
    QFETCH(QByteArray, line);
    Fixture f(2, true);
    QCOMPARE(f.dm->State(), ssInSession);
    f.dm->ReceiveLane(0, Lane(line));
    QVERIFY(f.events.contains("state 2>1"));
    QCOMPARE(f.dm->State(), ssSigningOut);
    for (const QByteArray& e : f.events)
        QVERIFY2(!e.startsWith("entered") && !e.startsWith("refreshed") && !e.startsWith("prefetch") &&
                     !e.startsWith("flags") && !e.startsWith("called") && !e.startsWith("price") &&
                     e != "exhibits",
                 e.constData());
}

void TestLaneMessages::priceOfAnotherSiteEndsThePass() {
    Fixture f(2, true);
    f.dm->ReceiveLane(0, Lane("PR:13,105,1000,2,2,,,0") + Lane("RV:4"));
    QVERIFY(!f.events.contains("voice 0 4"));
    // The rest waits for the next pass; it is not lost.
    f.Take();
    f.dm->ReceiveLane(0, QByteArray());
    QCOMPARE(f.Only("voice"), QByteArrayList{"voice 0 4"});
}

void TestLaneMessages::delayCheck() {
    Fixture f;
    f.dm->ReceiveSignIn(SignInWire("CI:30000,1500,300"));
    const auto localWall = [&f] { return LocalWallMs(f.clock.nowMs()) + f.dm->ClockOffsetMs(); };
    f.dm->ReceiveLane(0, Lane("PR:12,105,1000,2,2,,," + DayCount(localWall() - 412)));
    QVERIFY(f.dm->LaneLate(0));
    QVERIFY(qAbs(f.dm->LaneDelayMs(0) - 412) <= 1);
    f.dm->ReceiveLane(0, Lane("PR:12,105,1003,2,2,,," + DayCount(localWall() - 950)));
    QVERIFY(qAbs(f.dm->MaxDelayMs() - 950) <= 1);
    f.dm->ReceiveLane(0, Lane("PR:12,105,1006,2,2,,," + DayCount(localWall() - 100)));
    QVERIFY(!f.dm->LaneLate(0));
    QVERIFY(qAbs(f.dm->MaxDelayMs() - 950) <= 1); // the largest is never lowered
    // The other lane is not late; a price without a time stamp changes nothing.
    QVERIFY(!f.dm->LaneLate(1));
    f.dm->ReceiveLane(0, Lane("PR:12,105,1009,2,2,,," + DayCount(localWall() - 5000)));
    QVERIFY(f.dm->LaneLate(0));
    f.dm->ReceiveLane(0, Lane("PR:12,105,1012,2,2,,,"));
    QVERIFY(f.dm->LaneLate(0));
    // A hostile time stamp far in the past stays a number.
    f.dm->ReceiveLane(0, Lane("PR:12,105,1015,2,2,,,1"));
    QVERIFY(f.dm->LaneLate(0));
    QVERIFY(f.dm->MaxDelayMs() > 0);
}

void TestLaneMessages::jumpGuard_data() {
    QTest::addColumn<QByteArray>("lines"); // pieces separated by "|"
    QTest::addColumn<bool>("entered");     // an "EN:" for exhibit 105 came first
    QTest::addColumn<qint64>("lockedFor");
    QTest::newRow("rise of 30,000 yen")
        << QByteArray("PR:12,105,1000,2,2,,,|PR:12,105,1030,2,2,,,") << true << qint64(149);
    QTest::newRow("rise of 20,000 yen")
        << QByteArray("PR:12,105,1000,2,2,,,|PR:12,105,1020,2,2,,,") << true << qint64(0);
    QTest::newRow("rise of 27,000 yen is not above")
        << QByteArray("PR:12,105,1000,2,2,,,|PR:12,105,1027,2,2,,,") << true << qint64(0);
    QTest::newRow("first price of a lot") << QByteArray("PR:12,105,5000,2,2,,,") << true << qint64(0);
    QTest::newRow("fall") << QByteArray("PR:12,105,1000,2,2,,,|PR:12,105,100,2,2,,,") << true << qint64(0);
    // Joining mid-lot, or missing a lot's "EN:", is no jump: there is no earlier price of that lot.
    QTest::newRow("first price the lane sees") << QByteArray("PR:12,105,5000,2,2,,,") << false << qint64(0);
    QTest::newRow("then a rise of the same lot")
        << QByteArray("PR:12,105,5000,2,2,,,|PR:12,105,5030,2,2,,,") << false << qint64(149);
    QTest::newRow("next lot without its EN")
        << QByteArray("PR:12,105,1000,2,2,,,|PR:12,106,5000,2,2,,,") << true << qint64(0);
}

void TestLaneMessages::jumpGuard() {
    QFETCH(QByteArray, lines);
    QFETCH(bool, entered);
    QFETCH(qint64, lockedFor);
    Fixture f;
    f.dm->ReceiveSignIn(SignInWire("CI:27000,149,0"));
    if (entered)
        f.dm->ReceiveLane(0, Lane("EN:12,105,106,107"));
    for (const QByteArray& line : lines.split('|'))
        f.dm->ReceiveLane(0, Lane(line));
    const qint64 until = f.dm->LaneJumpLockUntilMs(0);
    QCOMPARE(until == 0 ? qint64(0) : until - f.clock.nowMs(), lockedFor);
}

void TestLaneMessages::activeMark() {
    Fixture f;
    f.dm->ReceiveLane(0, Lane("PR:12,105,1000,2,0,,,") + Lane("PR:12,105,1003,0,0,,,") +
                             Lane("PR:12,105,1006,0,1,,,") + Lane("PR:12,105,1009,3,0,,,") +
                             Lane("PR:12,105,1009,1,0,,,"));
    // Set by lot flag 2, cleared by bidder flag 1, set again (2 wins over 1), cleared by a sale.
    QCOMPARE(f.Only("active"), (QByteArrayList{"active 0 1", "active 0 0", "active 0 1", "active 0 0"}));
    f.Take();
    // The mark changes before the price is announced.
    f.dm->ReceiveLane(0, Lane("PR:12,105,1012,2,0,,,"));
    QCOMPARE(f.events, (QByteArrayList{"status 0 0", "active 0 1", "price 0 105,1012,2,0,,"}));
    f.dm->ClearLaneMarks();
    QVERIFY(!f.dm->LaneMark(0));
    f.dm->SetLaneMark(1, true);
    QVERIFY(f.dm->LaneMark(1));
}

void TestLaneMessages::fivePricesPerPassAndNoLineLost() {
    Fixture f;
    f.dm->ReceiveSignIn(SignInWire("CI:0,0,0")); // every-price mode
    // One piece of twelve prices and a voice cue, then one more piece.
    QByteArray piece;
    for (int i = 0; i < 12; ++i)
        piece += "PR:12,105," + QByteArray::number(1000 + 3 * i) + ",2,2,,,\r";
    piece += "RV:3";
    f.dm->ReceiveLane(0, Lane(piece) + Lane("RB:"));
    QCOMPARE(f.Only("price").size(), 5);
    f.dm->TmProcessingTimer(0);
    QCOMPARE(f.Only("price").size(), 10);
    f.dm->TmProcessingTimer(0);
    const QByteArrayList prices = f.Only("price");
    QCOMPARE(prices.size(), 12);
    for (int i = 0; i < 12; ++i)
        QCOMPARE(prices[i], "price 0 105," + QByteArray::number(1000 + 3 * i) + ",2,2,,");
    QCOMPARE(f.events.mid(f.events.size() - 2), (QByteArrayList{"voice 0 3", "reset 0"}));
    QCOMPARE(f.dm->LanePrice(0), 1033);
}

void TestLaneMessages::newerPriceNeverHidesAChangeOfStanding() {
    Fixture f;
    f.dm->ReceiveSignIn(SignInWire("CI:27000,149,0"));
    f.dm->ReceiveLane(0, Lane("EN:12,105,106,107"));
    f.Take();
    // Floor steps at the same standing, then the member takes the lead, then is outbid, then sold.
    QByteArray piece;
    for (int p = 1000; p <= 1030; p += 3)
        piece += "PR:12,105," + QByteArray::number(p) + ",2,4,0000,,\r";
    piece += "PR:12,105,1033,2,6,1234,,\rPR:12,105,1036,2,6,0000,,\rPR:12,105,1036,1,0,0000,0000,";
    f.dm->ReceiveLane(0, Lane(piece));
    while (f.Only("price 0 105,1036,1").isEmpty()) {
        f.dm->TmProcessingTimer(0);
    }
    const QByteArrayList prices = f.Only("price");
    // The first of the lot, the last of the floor run and every change of standing are announced.
    QCOMPARE(prices.first(), QByteArray("price 0 105,1000,2,4,0000,"));
    QVERIFY(prices.contains("price 0 105,1030,2,4,0000,"));
    QCOMPARE(prices.mid(prices.size() - 3),
             (QByteArrayList{"price 0 105,1033,2,6,1234,", "price 0 105,1036,2,6,0000,",
                             "price 0 105,1036,1,0,0000,0000"}));
    // Steps of 3 never count as a jump, skipped or not.
    QCOMPARE(f.dm->LaneJumpLockUntilMs(0), qint64(0));
}

void TestLaneMessages::everyPriceModeHandlesEveryPrice() {
    Fixture f;
    f.dm->ReceiveSignIn(SignInWire("CI:0,0,0"));
    QByteArray piece;
    for (int p = 1000; p < 1030; p += 3)
        piece += "PR:12,105," + QByteArray::number(p) + ",2,4,0000,,\r";
    f.dm->ReceiveLane(0, Lane(piece));
    for (int i = 0; i < 3; ++i)
        f.dm->TmProcessingTimer(0);
    QCOMPARE(f.Only("price").size(), 10);
    QVERIFY(f.dm->EveryPriceMode());
}

void TestLaneMessages::backlogEndsEveryPriceMode() {
    Fixture f;
    f.dm->ReceiveSignIn(SignInWire("CI:0,0,0"));
    QByteArray bytes;
    for (int i = 0; i < 51; ++i)
        bytes += Lane("PR:12,105," + QByteArray::number(1000 + i) + ",2,2,,,");
    f.dm->ReceiveLane(0, bytes);
    QVERIFY(!f.dm->EveryPriceMode());
    QCOMPARE(f.dm->PriceJumpThreshold(), 27000);
    QCOMPARE(f.dm->PriceJumpLockMs(), 149);
    QCOMPARE(f.dm->MaxPriceBacklog(), 51);
    // A new "CI:" turns it on, and the next pass turns it off again (the largest backlog stays).
    f.dm->ReceiveSignIn(SignInWire("CI:0,0,0"));
    f.dm->ReceiveLane(0, Lane("RV:1"));
    QVERIFY(!f.dm->EveryPriceMode());
    // The next session starts from nothing: its "CI:0" holds until its own backlog grows.
    f.dm->CloseAll();
    QVERIFY(f.dm->SignIn("127.0.0.1:1", LineCipher("1234"), LineCipher("pw")));
    QCOMPARE(f.dm->MaxPriceBacklog(), 0);
    f.dm->ReceiveSignIn(SignInWire("AN:12,2|") + SignInWire("CI:0,0,0"));
    f.dm->SelectSite("QEV");
    f.dm->ReceiveLane(0, Lane("PR:12,105,1000,2,2,,,"));
    QVERIFY(f.dm->EveryPriceMode());
}

namespace {
// A bidding war of n prices from 1000 on, the leader changing on every one, in pieces of 1000.
QByteArray BidWar(int n) {
    QByteArray bytes;
    QByteArray piece;
    for (int i = 0; i < n; ++i) {
        piece +=
            "PR:12,105," + QByteArray::number(1000 + i) + ",2,6,000" + QByteArray::number(i % 2) + ",,\r";
        if ((i + 1) % 1000 == 0 || i + 1 == n) {
            bytes += Lane(piece);
            piece.clear();
        }
    }
    return bytes;
}
} // namespace

void TestLaneMessages::bidWarBurstIsShownWhole() {
    Fixture f(2, true);
    f.dm->ReceiveSignIn(SignInWire("CI:27000,149,0"));
    constexpr int kPrices = 20000;
    f.dm->ReceiveLane(0, BidWar(kPrices));
    for (int i = 0; i < kPrices && f.dm->LanePrice(0) != 1000 + kPrices - 1; ++i)
        f.dm->TmProcessingTimer(0);
    const QByteArrayList prices = f.Only("price 0");
    QCOMPARE(prices.size(), kPrices); // no leader is passed over
    QCOMPARE(prices.last(), "price 0 105," + QByteArray::number(1000 + kPrices - 1) + ",2,6,0001,");
    QCOMPARE(f.dm->MaxPriceBacklog(), kPrices);
}

void TestLaneMessages::laneFarBehindIsALaneFault() {
    Fixture f(2, true);
    QByteArrayList statuses;
    f.dm->OnLaneStatusChanged = [&](TProcsDm&, int lane, TConnectionStatus o, TConnectionStatus n) {
        statuses.append(Fixture::N(lane) + ' ' + Fixture::N(o) + '>' + Fixture::N(n));
    };
    // More lines than a lane may keep waiting: the lane starts over from its router instead of
    // dropping some of them unseen.
    f.dm->ReceiveLane(0, BidWar(70000));
    QCOMPARE(statuses, QByteArrayList{"0 0>3"});
    for (int i = 0; i < 10; ++i)
        f.dm->TmProcessingTimer(0);
    QVERIFY(f.Only("price").isEmpty());
    QCOMPARE(f.dm->State(), ssInSession);
    // Afterwards the lane takes lines again; lane 1 never noticed.
    f.dm->ReceiveLane(0, Lane("RV:7"));
    f.dm->ReceiveLane(1, Lane("RV:8"));
    QCOMPARE(f.Only("voice"), (QByteArrayList{"voice 0 7", "voice 1 8"}));
}

void TestLaneMessages::alarmLists_data() {
    QTest::addColumn<int>("lanes");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArrayList>("expected");
    QTest::newRow("example, mine") << 2
                                   << QByteArray("AM:0,105\x01"
                                                 "abc\x01"
                                                 "12,1234,0")
                                   << QByteArrayList{"alarms 0 105,abc*"};
    QTest::newRow("lane 1 on a one-lane site") << 1
                                               << QByteArray("AM:1,105\x01"
                                                             "abc\x01"
                                                             "1234")
                                               << QByteArrayList{};
    QTest::newRow("negative lane") << 2
                                   << QByteArray("AM:-1,105\x01"
                                                 "abc\x01"
                                                 "1234")
                                   << QByteArrayList{};
    QTest::newRow("member after a zero is not read") << 2
                                                     << QByteArray("AM:1,105\x01"
                                                                   "abc\x01"
                                                                   "12,0,1234")
                                                     << QByteArrayList{"alarms 1 105,abc"};
    QTest::newRow("several, stops at an empty entry") << 2
                                                      << QByteArray("AM:0,105\x01"
                                                                    "a\x01"
                                                                    "1234/0\x01"
                                                                    "zero\x01/107\x01"
                                                                    "c\x01"
                                                                    "5//108\x01"
                                                                    "d\x01")
                                                      << QByteArrayList{"alarms 0 105,a* 107,c"};
    QTest::newRow("empty list") << 2 << QByteArray("AM:0,") << QByteArrayList{"alarms 0"};
}

void TestLaneMessages::alarmLists() {
    QFETCH(int, lanes);
    QFETCH(QByteArray, line);
    QFETCH(QByteArrayList, expected);
    Fixture f(lanes);
    f.dm->ReceiveLane(0, Lane(line));
    QCOMPARE(f.events, expected);
    // The data channel carries the same lists.
    Fixture g(lanes);
    g.dm->ReceiveData(Lane(line));
    QCOMPARE(g.events, expected);
}

void TestLaneMessages::dataChannelMessages() {
    Fixture f;
    f.dm->ReceiveData(Lane("NI:A|B|C") + Lane("PR:12,105,1000,2,2,,,") + Lane("AM:1,200\x01x\x01"));
    QCOMPARE(f.events, (QByteArrayList{"info A|B|C", "alarms 1 200,x"}));
    QCOMPARE(f.dm->LaneAlarms(1).size(), 1);
    QCOMPARE(f.dm->LaneAlarms(1).first().text, QByteArray("200,x"));
}

void TestLaneMessages::handlerMayDestroyTheModuleMidPass() {
    Fixture f;
    f.dm->OnPriceChanged = [&f](TProcsDm&, int, int, int, int, int, int, const QByteArray&,
                                const QByteArray&) { f.dm.reset(); };
    f.dm->ReceiveLane(0, Lane("PR:12,105,1000,2,2,,,\rPR:12,105,1003,2,2,,,") + Lane("RV:1"));
    QVERIFY(!f.dm);
}

void TestLaneMessages::handlerMayRebuildTheLanesMidPass() {
    Fixture f;
    int cues = 0;
    f.dm->OnVoiceCue = [&cues](TProcsDm& dm, int, int) {
        ++cues;
        dm.SelectSite("OTHER"); // frees the lane being processed
    };
    f.dm->ReceiveLane(0, Lane("RV:1\rRV:2") + Lane("RV:3"));
    QCOMPARE(cues, 1);
    QCOMPARE(f.dm->LaneCount(), 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestLaneMessages::handlerMayClearTheSessionOnALaneNotice() {
    Fixture f(2, true);
    // As the main window does: a notice clears the session from inside the event.
    f.dm->OnSessionNotice = [&f](TProcsDm& dm, int lane, int code) {
        f.Add("notice " + Fixture::N(lane) + ' ' + Fixture::N(code));
        dm.CloseAll();
        dm.SelectSite("QEV"); // unchanged name: the lanes stay
    };
    f.dm->ReceiveLane(1, Lane("ST:104\rRV:1") + Lane("RB:"));
    QCOMPARE(f.events.first(), QByteArray("notice 1 104"));
    QCOMPARE(f.dm->State(), ssOffline);
    QCOMPARE(f.dm->LaneStatus(0), nsDisconnected);
    QCOMPARE(f.dm->LaneStatus(1), nsDisconnected);
    QCOMPARE(f.dm->LastNoticeCode(), 104);
    // The lines after the refusal belonged to the closed session.
    QVERIFY(f.Only("voice").isEmpty());
    QVERIFY(f.Only("reset").isEmpty());
}

void TestLaneMessages::closedSessionDropsTheRestOfTheRead() {
    Fixture f(2, true);
    f.dm->ReceiveSignIn(SignInWire("CI:0,0,0")); // every price shown: lane 0 keeps a queue
    QByteArray prices;
    for (int i = 0; i < 8; ++i)
        prices += Lane("PR:12,105," + QByteArray::number(1000 + 3 * i) + ",2,2,0000,,");
    f.dm->ReceiveLane(0, prices);
    QCOMPARE(f.Only("price 0").size(), 5);
    f.Take();
    // Lane 1's router refuses; a new lot and a price won by this member come in the same read.
    f.dm->ReceiveLane(1, Lane("ST:104\rEN:12,200,201,202") + Lane("PR:12,200,1500,1,2,1234,1234,"));
    QCOMPARE(f.dm->State(), ssOffline);
    QVERIFY(f.Only("entered").isEmpty());
    QVERIFY(f.Only("price").isEmpty());
    QVERIFY(f.dm->LaneState(1) != 0);
    // Lane 0's waiting prices went with the session, and nothing arriving later is taken.
    f.dm->TmProcessingTimer(0);
    f.dm->ReceiveLane(1, Lane("PR:12,200,1600,1,2,1234,1234,"));
    QVERIFY(f.Only("price").isEmpty());
    QCOMPARE(f.dm->LanePrice(1), 0);

    // The same on the data channel: a handler that closes the session ends the read.
    Fixture g(2, true);
    g.dm->OnInformation = [&g](TProcsDm& dm, const QByteArray&) {
        g.Add("info");
        dm.CloseAll();
    };
    g.dm->ReceiveData(Lane("NI:x\rAM:1,200\x01x\x01") + Lane("AM:0,300\x01y\x01"));
    QVERIFY(g.Only("alarms").isEmpty());
    QVERIFY(g.dm->LaneAlarms(0).isEmpty());
}

void TestLaneMessages::hostileLaneBytes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("endsSession");
    QTest::newRow("not base64") << QByteArray("!!!!\r") << false;
    QTest::newRow("wrong length") << QByteArray("abc\r") << false;
    QTest::newRow("only CRs") << QByteArray(1000, '\r') << false;
    QTest::newRow("overlong partial line") << QByteArray(200000, 'A') << false;
    QTest::newRow("binary") << QByteArray("\x00\x01\xff\r", 4) << false;
    QTest::newRow("empty fields") << Lane("PR:\rEN:\rLE:\rGR:\rFC:\rFP:\rAM:\rAS:\rAP:") << false;
    // An empty status reads as refusal 109, which ends the session.
    QTest::newRow("empty status") << Lane("ST:") << true;
    QTest::newRow("huge numbers") << Lane("PR:99999999999,1,99999999999,-1,-1,,,1e300\rEN:12,-5,,,,,,,,,,")
                                  << false;
    QTest::newRow("alarm flood") << Lane("AM:0," + QByteArray(50000, '/')
                                                       .replace('/', "1\x01x\x01"
                                                                     "1/"))
                                 << false;
}

void TestLaneMessages::hostileLaneBytes() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, endsSession);
    Fixture f;
    f.dm->ReceiveLane(0, bytes);
    f.dm->ReceiveLane(0, Lane("RV:7"));
    for (int i = 0; i < 1000 && f.Only("voice 0 7").isEmpty(); ++i)
        f.dm->TmProcessingTimer(0);
    QCOMPARE(f.dm->State(), endsSession ? ssOffline : ssSigningIn);
    // The lane still works afterwards, unless the session ended: a closed one takes no lines.
    QCOMPARE(f.Only("voice 0 7").size(), endsSession ? 0 : 1);
    QVERIFY(f.dm->LaneAlarms(0).size() <= kMaxAlarmItems);
}

void TestLaneMessages::accessorsOutsideTheLanes() {
    Fixture f;
    for (int lane : {-1, 2, 100}) {
        f.dm->ReceiveLane(lane, Lane("RV:1"));
        f.dm->SetLaneExhibit(lane, 5);
        f.dm->SetLaneMark(lane, true);
        QCOMPARE(f.dm->LaneExhibit(lane), 0);
        QCOMPARE(f.dm->LanePrice(lane), 0);
        QCOMPARE(f.dm->LaneDelayMs(lane), 0);
        QVERIFY(!f.dm->LaneMark(lane));
        QVERIFY(!f.dm->SendBid(lane));
        QVERIFY(!f.dm->SendOnLane(lane, "KA:"));
    }
    QVERIFY(f.events.isEmpty());
    f.dm->SetLaneExhibit(1, 5);
    f.dm->SetLaneSiteNumber(1, 12);
    f.dm->SetLaneNextExhibit(1, 6);
    QCOMPARE(f.dm->LaneExhibit(1), 5);
    QCOMPARE(f.dm->LaneSiteNumber(1), 12);
    QCOMPARE(f.dm->LaneNextExhibit(1), 6);
}

QTEST_GUILESS_MAIN(TestLaneMessages)
#include "tst_lanemessages.moc"
