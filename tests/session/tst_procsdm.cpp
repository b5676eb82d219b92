// The session module fed byte by byte, without a server: guards, messages, events, hostile input.
#include "common/clock.h"
#include "session/codec/linecodec.h"
#include "session/procsdm.h"
#include "tests/session/fixedfacts.h"

#include <QTest>
#include <limits>

using namespace qev;

namespace {

QByteArray Wire(const QByteArray& plain) {
    return LineCipher(plain) + '\r';
}

// A module in a known state with its events written down as text, in order.
struct Fixture {
    ManualClock clock;
    ScopedClock scoped{clock};
    std::unique_ptr<TProcsDm> dm = std::make_unique<TProcsDm>(std::make_unique<FixedFacts>());
    QByteArrayList events;

    Fixture() {
        dm->OnSessionStateChanged = [this](TProcsDm&, TSessionState o, TSessionState n) {
            events.append("state " + QByteArray::number(o) + '>' + QByteArray::number(n));
        };
        dm->OnSessionNotice = [this](TProcsDm&, int lane, int code) {
            events.append("notice " + QByteArray::number(lane) + ' ' + QByteArray::number(code));
        };
        dm->OnLaneStatusChanged = [this](TProcsDm&, int lane, TConnectionStatus o, TConnectionStatus n) {
            events.append("lane " + QByteArray::number(lane) + ' ' + QByteArray::number(o) + '>' +
                          QByteArray::number(n));
        };
        dm->OnLaneStateChanged = [this](TProcsDm&) { events.append("lanestate"); };
        dm->OnSiteStateChanged = [this](TProcsDm&, TSiteInfo& s) {
            events.append("site " + QByteArray::number(s.SiteState()));
        };
    }
    // Signing in towards a port where nobody listens: the state is ssSigningIn.
    void StartSigningIn() {
        QVERIFY(dm->SignIn("127.0.0.1:1", LineCipher("1001"), LineCipher("pw")));
        events.clear();
    }
    // A two-lane site made current, as the lanes would find it after sign-in.
    void InSiteWithTwoLanes() {
        StartSigningIn();
        dm->ReceiveSignIn(Wire("AN:12,2|"));
        dm->SelectSite("QEV");
        events.clear();
    }
};

} // namespace

class TestProcsDm : public QObject {
    Q_OBJECT

private slots:
    void signInGuards_data();
    void signInGuards();
    void signInWhileNotOfflineChangesNothing();
    void memberNumber_data();
    void memberNumber();
    void statusCodesEndTheDialogue_data();
    void statusCodesEndTheDialogue();
    void statusZeroOnlyWhileSigning();
    void refusalDropsTheRestOfTheRead_data();
    void refusalDropsTheRestOfTheRead();
    void announcements();
    void emptyAnnouncementGroupStopsThePiece();
    void signedInReadsLaneTimesOfAnnouncedSites();
    void serverTimeSetsTheClockOffset();
    void clientParams();
    void closeAllEventOrder();
    void laneStateEvents_data();
    void laneStateEvents();
    void placeholderSiteQueries();
    void laneStatusQueries();
    void hostileSignInBytes_data();
    void hostileSignInBytes();
    void hostileDataBytes();
    void handlerMayDestroyTheModule();
    void handlerMaySignInAgainFromTheNotice();
};

void TestProcsDm::signInGuards_data() {
    QTest::addColumn<QByteArray>("hostPort");
    QTest::newRow("no port after the colon") << QByteArray("127.0.0.1:");
    QTest::newRow("blank port") << QByteArray("127.0.0.1:  ");
    QTest::newRow("no colon") << QByteArray("127.0.0.1");
    QTest::newRow("no host") << QByteArray(":11120");
    QTest::newRow("empty") << QByteArray("");
}

void TestProcsDm::signInGuards() {
    QFETCH(QByteArray, hostPort);
    Fixture f;
    QVERIFY(!f.dm->SignIn(hostPort, "id", "pw"));
    QCOMPARE(f.dm->State(), ssOffline);
    QVERIFY(f.events.isEmpty());
}

void TestProcsDm::signInWhileNotOfflineChangesNothing() {
    Fixture f;
    f.StartSigningIn();
    f.dm->ReceiveSignIn(Wire("AN:12,2|"));
    QVERIFY(!f.dm->SignIn("127.0.0.1:2", "id", "pw"));
    QCOMPARE(f.dm->State(), ssSigningIn);
    QCOMPARE(f.dm->Sites().size(), size_t(1)); // the site list was not reset
    QVERIFY(f.events.isEmpty());
}

void TestProcsDm::memberNumber_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("number") << QByteArray("1001") << 1001;
    QTest::newRow("letters") << QByteArray("A12") << -1;
    QTest::newRow("empty") << QByteArray("") << -1;
}

void TestProcsDm::memberNumber() {
    QFETCH(QByteArray, text);
    QFETCH(int, value);
    Fixture f;
    f.dm->SetMemberNumber(text);
    QCOMPARE(f.dm->MemberNumber(), text);
    QCOMPARE(f.dm->MemberNumberValue(), value);
}

void TestProcsDm::statusCodesEndTheDialogue_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("code");
    QTest::newRow("101") << QByteArray("ST:101") << 101;
    QTest::newRow("103") << QByteArray("ST:103,later,,") << 103;
    QTest::newRow("empty code") << QByteArray("ST:") << 109;
    QTest::newRow("unreadable code") << QByteArray("ST:abc") << 109;
}

void TestProcsDm::statusCodesEndTheDialogue() {
    QFETCH(QByteArray, line);
    QFETCH(int, code);
    Fixture f;
    f.StartSigningIn();
    f.dm->ReceiveSignIn(Wire(line));
    QCOMPARE(f.events, (QByteArrayList{"notice -1 " + QByteArray::number(code), "state 3>0"}));
    QCOMPARE(f.dm->LastNoticeCode(), code);
    QCOMPARE(f.dm->State(), ssOffline);
}

void TestProcsDm::statusZeroOnlyWhileSigning() {
    Fixture f;
    f.dm->ReceiveSignIn(Wire("ST:0")); // offline: nothing happens
    QVERIFY(f.events.isEmpty());
    QCOMPARE(f.dm->State(), ssOffline);
}

void TestProcsDm::refusalDropsTheRestOfTheRead_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("same piece") << Wire("ST:101\rAN:12,2|\rSV:");
    QTest::newRow("later pieces") << Wire("ST:101") + Wire("AN:12,2|") + Wire("SV:");
}

// A refusal closes the session; what came with it in the same read must not open it again.
void TestProcsDm::refusalDropsTheRestOfTheRead() {
    QFETCH(QByteArray, bytes);
    Fixture f;
    f.StartSigningIn();
    f.dm->ReceiveSignIn(bytes);
    QCOMPARE(f.events, (QByteArrayList{"notice -1 101", "state 3>0"}));
    QCOMPARE(f.dm->State(), ssOffline);
    QVERIFY(f.dm->Sites().empty());
}

void TestProcsDm::announcements() {
    Fixture f;
    f.StartSigningIn();
    f.dm->ReceiveSignIn(Wire("AN:12,6|") + Wire("AN:-1,2") + Wire("AN:13,0") + Wire("AN:14,1"));
    QCOMPARE(f.dm->Sites().size(), size_t(2));
    QCOMPARE(f.dm->Sites()[0]->SiteNumber(), 12);
    QCOMPARE(f.dm->Sites()[0]->LaneCount(), 4); // capped
    QCOMPARE(f.dm->Sites()[1]->SiteNumber(), 14);
    QCOMPARE(f.dm->FirstSiteName(), QByteArray("QEV"));
    f.dm->SelectSite("QEV");
    QCOMPARE(f.dm->CurrentSiteNumber(), 12); // lookups by name find the first
    // "AP:" goes to the first site too.
    f.dm->ReceiveSignIn(Wire("AP:0,,930|1,,1000"));
    QCOMPARE(f.dm->Sites()[0]->LaneState(0), 930);
    QCOMPARE(f.dm->Sites()[1]->LaneState(0), -3);
}

void TestProcsDm::emptyAnnouncementGroupStopsThePiece() {
    Fixture f;
    f.StartSigningIn();
    f.dm->ReceiveSignIn(Wire("AN:|12,2\rAN:12,2") + Wire("AN:15,1"));
    QCOMPARE(f.dm->Sites().size(), size_t(1));
    QCOMPARE(f.dm->Sites()[0]->SiteNumber(), 15);
}

void TestProcsDm::signedInReadsLaneTimesOfAnnouncedSites() {
    const QByteArray info =
        LineCipher("LaneTimeFrom0_1=93000\r\nExhibitCount0_0=40\r\nlanetimeto0_0=170000\r\n");
    const QByteArray signedIn = "ST:100,x," + info + ",y,,5";
    {
        Fixture f;
        f.StartSigningIn();
        f.dm->ReceiveSignIn(Wire("AN:12,2") + Wire(signedIn));
        const TSiteInfo& site = *f.dm->Sites()[0];
        QCOMPARE(site.OpeningTime(1), QTime(9, 30));
        QCOMPARE(site.ClosingTime(0), QTime(17, 0)); // names match case-insensitively
        QCOMPARE(site.ExhibitCount(0), 40);
        QCOMPARE(site.SiteState(), quint8(1));
        QCOMPARE(site.CarPhotoExtension, QByteArray(".jpg"));
        QCOMPARE(f.dm->MemberClass(), QByteArray("2"));
        QCOMPARE(f.dm->SessionNumber(), 5);
        QCOMPARE(f.dm->SiteInformation().first(), QByteArray("ExhibitCount0_0=40"));
    }
    {
        Fixture f; // announced after "ST:100": no times
        f.StartSigningIn();
        f.dm->ReceiveSignIn(Wire(signedIn) + Wire("AN:12,2"));
        QCOMPARE(f.dm->Sites()[0]->OpeningTime(1), QTime(0, 0));
        QCOMPARE(f.dm->Sites()[0]->SiteState(), quint8(0));
    }
}

void TestProcsDm::serverTimeSetsTheClockOffset() {
    Fixture f;
    const qint64 now = f.clock.nowMs();
    const qint64 localWall = now + qint64(QDateTime::fromMSecsSinceEpoch(now).offsetFromUtc()) * 1000;
    const double serverDays = double(localWall + 3600 * 1000) / 86400000.0 + 25569.0;
    f.dm->ReceiveSignIn(Wire("TM:" + QByteArray::number(serverDays, 'f', 10)));
    QVERIFY(qAbs(f.dm->ClockOffsetMs() - 3600 * 1000) < 5);
    f.dm->ReceiveSignIn(Wire("TM:garbage")); // unreadable: the server time is day 0
    QVERIFY(f.dm->ClockOffsetMs() < -localWall);
}

void TestProcsDm::clientParams() {
    Fixture f;
    f.dm->ReceiveSignIn(Wire("CI:0,800,2500"));
    QVERIFY(f.dm->EveryPriceMode());
    QCOMPARE(f.dm->PriceJumpLockMs(), 800);
    QCOMPARE(f.dm->MaxPriceDelayMs(), 2500);
    f.dm->ReceiveSignIn(Wire("CI:30000,1"));
    QVERIFY(!f.dm->EveryPriceMode());
    QCOMPARE(f.dm->PriceJumpThreshold(), 30000);
    QCOMPARE(f.dm->MaxPriceDelayMs(), 2500); // absent delay keeps the value
}

void TestProcsDm::closeAllEventOrder() {
    Fixture f;
    f.InSiteWithTwoLanes();
    f.dm->CurrentSite().SetBiddingRouter(0, "r:1");
    f.dm->CloseAll();
    QCOMPARE(f.events, (QByteArrayList{"state 3>0", "lane 0 0>2", "lane 1 0>2"}));
    QCOMPARE(f.dm->CombinedLaneStatus(), nsDisconnected);
    QCOMPARE(f.dm->CurrentSite().BiddingRouter(0), QByteArray()); // lane data reset
}

void TestProcsDm::laneStateEvents_data() {
    QTest::addColumn<QList<int>>("states"); // lane 0, lane 1, then lane 0 again
    QTest::addColumn<QByteArrayList>("events");
    QTest::addColumn<int>("siteState");
    QTest::newRow("running") << QList<int>{0, 930}
                             << QByteArrayList{"lanestate", "site 2", "lanestate", "site 2"} << 2;
    QTest::newRow("held counts as running")
        << QList<int>{-2, -1} << QByteArrayList{"lanestate", "site 2", "lanestate", "site 2"} << 2;
    QTest::newRow("all ended") << QList<int>{-1, -1}
                               << QByteArrayList{"lanestate", "site 0", "lanestate", "site 4"} << 4;
    QTest::newRow("all waiting") << QList<int>{930, 1000}
                                 << QByteArrayList{"lanestate", "site 0", "lanestate", "site 3"} << 3;
    QTest::newRow("same value again: site only")
        << QList<int>{-1, -1, -1} << QByteArrayList{"lanestate", "site 0", "lanestate", "site 4", "site 4"}
        << 4;
}

void TestProcsDm::laneStateEvents() {
    QFETCH(QList<int>, states);
    QFETCH(QByteArrayList, events);
    QFETCH(int, siteState);
    Fixture f;
    f.InSiteWithTwoLanes();
    for (int i = 0; i < states.size(); ++i)
        f.dm->SetLaneState(i % 2, states[i]);
    QCOMPARE(f.events, events);
    QCOMPARE(int(f.dm->CurrentSite().SiteState()), siteState);
}

void TestProcsDm::placeholderSiteQueries() {
    Fixture f;
    QVERIFY(!f.dm->HasCurrentSite());
    QCOMPARE(f.dm->LaneState(0), -1);
    QVERIFY(!f.dm->AnyLaneRunning());
    QVERIFY(f.dm->AllLanesWaiting());
    QVERIFY(f.dm->AllLanesEnded());
    QCOMPARE(f.dm->EarliestOpening(), std::numeric_limits<int>::max());
    f.dm->SetLaneState(0, 0); // ignored, no events
    QVERIFY(f.events.isEmpty());

    f.InSiteWithTwoLanes();
    f.dm->SetLaneState(0, 1000);
    f.dm->SetLaneState(1, 930);
    QCOMPARE(f.dm->EarliestOpening(), 930);
    QVERIFY(f.dm->AllLanesWaiting());
    f.dm->SetLaneState(1, 0);
    QCOMPARE(f.dm->EarliestOpening(), -1);
    QVERIFY(f.dm->AnyLaneRunning());
    QVERIFY(!f.dm->AllLanesEnded());
}

void TestProcsDm::laneStatusQueries() {
    Fixture f;
    QCOMPARE(f.dm->CombinedLaneStatus(), nsNone); // no lanes yet
    QCOMPARE(f.dm->LaneStatus(0), nsDisconnected);
    f.InSiteWithTwoLanes();
    QCOMPARE(f.dm->CombinedLaneStatus(), nsNone);
    QCOMPARE(f.dm->LaneStatus(2), nsDisconnected);
    QCOMPARE(f.dm->LaneStatus(-1), nsDisconnected);
}

void TestProcsDm::hostileSignInBytes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("garbage") << QByteArray("\x00\xff\x80garbage\r\n\r", 13);
    QTest::newRow("undecipherable pieces") << QByteArray("abc\r====\r%zz%\r%\r");
    QTest::newRow("line over the limit") << QByteArray(70000, 'A');
    QTest::newRow("deciphered control bytes") << Wire(QByteArray("\x00\x01\x02ST:0", 7));
    QTest::newRow("huge numbers") << Wire("AN:99999999999999999999,99999999999") + Wire("CI:1e99,-0,") +
                                         Wire("TM:1e308");
    QTest::newRow("many separators") << Wire("CI:" + QByteArray(5000, ',')) +
                                            Wire("AP:" + QByteArray(5000, '|'));
}

void TestProcsDm::hostileSignInBytes() {
    QFETCH(QByteArray, bytes);
    Fixture f;
    f.StartSigningIn();
    f.dm->ReceiveSignIn(bytes);
    f.dm->ReceiveSignIn(bytes);
    // Still listening: a good line after the bad ones is understood.
    f.dm->ReceiveSignIn(Wire("AN:12,2"));
    QCOMPARE(f.dm->State(), ssSigningIn);
    QVERIFY(!f.dm->Sites().empty());
}

void TestProcsDm::hostileDataBytes() {
    Fixture f;
    f.dm->ReceiveData(QByteArray(70000, 'x'));
    f.dm->ReceiveData(QByteArray("\x00\xff\r\r\r=\r", 7));
    f.dm->ReceiveData(LineScramble("KA:\r\r NI:hello \rXX") + '\r');
    QCOMPARE(f.dm->State(), ssOffline);
    QVERIFY(f.events.isEmpty());
}

void TestProcsDm::handlerMayDestroyTheModule() {
    Fixture f;
    f.StartSigningIn();
    f.dm->OnSessionNotice = [&f](TProcsDm&, int, int) { f.dm.reset(); };
    TProcsDm* raw = f.dm.get();
    raw->ReceiveSignIn(Wire("ST:102") + Wire("AN:12,2"));
    QVERIFY(!f.dm);
}

void TestProcsDm::handlerMaySignInAgainFromTheNotice() {
    Fixture f;
    f.StartSigningIn();
    int attempts = 0;
    f.dm->OnSessionStateChanged = [&](TProcsDm& m, TSessionState, TSessionState n) {
        // Immediately signing in again from the offline event must not be undone by the rest
        // of CloseAll.
        if (n == ssOffline && attempts++ == 0)
            m.SignIn("127.0.0.1:1", "id", "pw");
    };
    f.dm->ReceiveSignIn(Wire("ST:101"));
    QCOMPARE(attempts, 1);
}

QTEST_GUILESS_MAIN(TestProcsDm)
#include "tst_procsdm.moc"
