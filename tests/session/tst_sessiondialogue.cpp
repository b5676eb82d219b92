// The sign-in dialogue end to end against the in-process auction house.
#include "audio/core/audioframeparser.h"
#include "common/clock.h"
#include "common/pumpwait.h"
#include "session/codec/linecodec.h"
#include "session/procsdm.h"
#include "tests/session/fixedfacts.h"
#include "tools/auction-house/auctionhouse.h"
#include "tools/auction-house/dataserver.h"
#include "tools/auction-house/signinserver.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace qev;

namespace {

constexpr int kWaitMs = 10000; // generous bound on real time, never an assertion about speed

struct Recorded {
    QList<QPair<int, int>> states;
    QList<QPair<int, int>> notices;
    QList<int> lastNoticeDuringEvent;
};

HouseConfig TestConfig(const QByteArray& audioAddress = {}) {
    HouseConfig c = HouseConfig::Default();
    c.audioAddress = audioAddress;
    c.signInPort = 0;
    c.dataPort = 0;
    c.webBase = QByteArrayLiteral("127.0.0.1:8080");
    c.lanes[0].biddingRouter = QByteArrayLiteral("127.0.0.1:20001");
    c.lanes[0].watchRouter = QByteArrayLiteral("127.0.0.1:20002");
    c.lanes[1].biddingRouter = QByteArrayLiteral("127.0.0.1:20003");
    c.lanes[1].watchRouter = QByteArrayLiteral("127.0.0.1:20004");
    HouseLane third;
    third.code = QByteArrayLiteral("C");
    third.exhibits = 7;
    third.timeFrom = QByteArrayLiteral("93000"); // 09:30 without its leading zero
    c.lanes.append(third);
    return c;
}

// A fresh module and house for each test, with every session event recorded.
struct Fixture {
    ManualClock clock;
    ScopedClock scoped{clock};
    AuctionHouse house;
    TProcsDm dm{std::make_unique<FixedFacts>()};
    Recorded rec;

    explicit Fixture(const QByteArray& audioAddress = {})
        : house(TestConfig(audioAddress)) {
        QString error;
        if (!house.Start(&error))
            qFatal("house: %s", qPrintable(error));
        dm.OnSessionStateChanged = [this](TProcsDm&, TSessionState o, TSessionState n) {
            rec.states.append({o, n});
        };
        dm.OnSessionNotice = [this](TProcsDm& m, int lane, int code) {
            rec.notices.append({lane, code});
            rec.lastNoticeDuringEvent.append(m.LastNoticeCode());
        };
    }

    bool SignIn(QByteArrayView id, QByteArrayView password = "demo") {
        dm.SetMemberNumber(id.toByteArray());
        return dm.SignIn(house.SignInAddress(), LineCipher(id), LineCipher(password));
    }
    bool WaitSettled() {
        return PumpWait([this] { return dm.State() == ssOffline || dm.State() == ssInSession; }, kWaitMs);
    }
};

// A host that drops connection attempts: a listener whose backlog is full, so the system ignores
// every further SYN and a client stays connecting until it gives up.
class DroppingHost {
public:
    DroppingHost() {
        m_fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (m_fd < 0 || bind(m_fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(m_fd, 0) != 0 ||
            getsockname(m_fd, reinterpret_cast<sockaddr*>(&a), &len) != 0)
            return;
        m_port = ntohs(a.sin_port);
        for (auto& filler : m_fillers)
            filler.connectToHost(QHostAddress::LocalHost, m_port);
        PumpFor(100);
    }
    ~DroppingHost() {
        if (m_fd >= 0)
            close(m_fd);
    }
    DroppingHost(const DroppingHost&) = delete;
    DroppingHost& operator=(const DroppingHost&) = delete;
    QByteArray Address() const { return "127.0.0.1:" + QByteArray::number(m_port); }

private:
    int m_fd = -1;
    quint16 m_port = 0;
    QTcpSocket m_fillers[3];
};

} // namespace

class TestSessionDialogue : public QObject {
    Q_OBJECT

private slots:
    void signsInAndLearnsTheSite();
    void identifiesTheClientInEverySignInLine();
    void refusals_data();
    void refusals();
    void signsOutAndRecordsTheReport();
    void silentServerEndsAtTheFirstTickAfterTheDeadline();
    void refusedConnectionsAreRetriedEveryTwoSeconds();
    void signInAfterATimeoutAgainstADroppingHost();
    void unresolvableHostGivesNotice109();
    void dataChannelKeepAliveAndWatchdog();
    void audioChannelFollowsTheSession_data();
    void audioChannelFollowsTheSession();
    void shutdownInSessionAndOffline();
};

void TestSessionDialogue::signsInAndLearnsTheSite() {
    Fixture f;
    f.clock.advance(3600 * 1000); // the house's clock and ours move together: offset stays ~0
    QVERIFY(f.SignIn("1001"));
    QVERIFY(f.WaitSettled());
    QCOMPARE(f.dm.State(), ssInSession);
    QCOMPARE(f.rec.states, (QList<QPair<int, int>>{{ssOffline, ssSigningIn}, {ssSigningIn, ssInSession}}));
    QVERIFY(f.rec.notices.isEmpty());
    QVERIFY(qAbs(f.dm.ClockOffsetMs()) < 1000);

    QCOMPARE(f.dm.FirstSiteName(), QByteArray("QEV"));
    QCOMPARE(f.dm.Sites().size(), size_t(1));
    const TSiteInfo& site = *f.dm.Sites().front();
    QCOMPARE(site.SiteNumber(), 12);
    QCOMPARE(site.LaneCount(), 3);
    QCOMPARE(site.SiteState(), quint8(1));
    QCOMPARE(site.LaneState(0), 930); // from "AP:"
    QCOMPARE(site.ExhibitCount(2), 7);
    QCOMPARE(site.OpeningTime(1), QTime(10, 0));
    QCOMPARE(site.OpeningTime(2), QTime(9, 30));
    QCOMPARE(site.ClosingTime(0), QTime(17, 0));
    QCOMPARE(site.LaneCode(1), QByteArray("B"));
    QCOMPARE(site.BiddingRouter(1), QByteArray("127.0.0.1:20003"));
    QCOMPARE(site.WatchRouter(0), QByteArray("127.0.0.1:20002"));
    QCOMPARE(site.DetailUrlBase(0), QByteArray("http://127.0.0.1:8080/lane1/detail/"));
    QCOMPARE(site.PhotoUrlBase(2), QByteArray("http://127.0.0.1:8080/lane3/photo/"));

    QCOMPARE(f.dm.MemberClass(), QByteArray("2"));
    QCOMPARE(f.dm.SessionNumber(), 1);
    QCOMPARE(f.dm.PriceJumpThreshold(), 30000);
    QVERIFY(!f.dm.EveryPriceMode());
    QCOMPARE(f.dm.PriceJumpLockMs(), 1500);
    QCOMPARE(f.dm.MaxPriceDelayMs(), 3000);
    QCOMPARE(f.dm.DataHost(), QByteArray("127.0.0.1"));
    QCOMPARE(f.dm.DataPort(), QByteArray::number(f.house.Data().Port()));
    QVERIFY(f.dm.AudioHost().isEmpty());
    QVERIFY(f.dm.SiteInformation().contains(QByteArray("AUTO_BID_INTERVAL=500")));

    // The client answered "ST:100" with its query line, and the sign-in channel is closed.
    QTRY_COMPARE_WITH_TIMEOUT(f.house.SignIn().LinesWithCode("QV").size(), 1, kWaitMs);
}

void TestSessionDialogue::identifiesTheClientInEverySignInLine() {
    Fixture f;
    QVERIFY(f.SignIn("1001"));
    QVERIFY(f.WaitSettled());
    QTRY_COMPARE_WITH_TIMEOUT(f.house.SignIn().LinesWithCode("QV").size(), 1, kWaitMs);
    const QByteArrayList li = f.house.SignIn().LinesWithCode("LI").value(0).mid(3).split(',');
    QCOMPARE(li.size(), 9);
    QCOMPARE(LineDecipher(li[0]), QByteArray("1A2B3C4D"));
    QCOMPARE(LineDecipher(li[1]), QByteArray("DEALER-PC"));
    QCOMPARE(LineDecipher(li[2]), QByteArray("1001"));
    QCOMPARE(LineDecipher(li[3]), QByteArray("demo"));
    QCOMPARE(li[4], f.dm.VersionText());
    QCOMPARE(li[5], li[1]);
    const QDate today = f.clock.now().date();
    QCOMPARE(LineUnscramble(li[6]),
             QString::asprintf("%02d1A2B3C4D%02d", today.day(), today.month()).toLatin1());
    QCOMPARE(LineDecipher(li[7]), QByteArray("6.1.0.2.test(0X0:0)"));
    QCOMPARE(LineDecipher(li[8]), QByteArray("6.1.0.2.test,0,0,0,2,0,1024,10"));

    const QByteArrayList qv = f.house.SignIn().LinesWithCode("QV").value(0).mid(3).split(',');
    QCOMPARE(qv.size(), 4);
    QCOMPARE(LineDecipher(qv[0]), QByteArray("1001"));
    QCOMPARE(qv[1], f.dm.VersionText());
    QCOMPARE(LineDecipher(qv[2]), QByteArray("DEALER-PC"));
}

void TestSessionDialogue::refusals_data() {
    QTest::addColumn<QByteArray>("id");
    QTest::addColumn<QByteArray>("password");
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("refusalText");
    QTest::newRow("unknown id") << QByteArray("9999") << QByteArray("demo") << 101 << QByteArray();
    QTest::newRow("wrong password") << QByteArray("1001") << QByteArray("nope") << 101 << QByteArray();
    QTest::newRow("101") << QByteArray("1101") << QByteArray("demo") << 101 << QByteArray();
    QTest::newRow("102 closed now") << QByteArray("1102") << QByteArray("demo") << 102 << QByteArray();
    QTest::newRow("103 no text") << QByteArray("1103") << QByteArray("demo") << 103 << QByteArray();
    QTest::newRow("103 with text") << QByteArray("1113") << QByteArray("demo") << 103
                                   << QByteArray("Opens at 09:30");
    QTest::newRow("107") << QByteArray("1107") << QByteArray("demo") << 107 << QByteArray();
    QTest::newRow("111 restricted") << QByteArray("1111") << QByteArray("demo") << 111 << QByteArray();
    QTest::newRow("112 withdrawn") << QByteArray("1112") << QByteArray("demo") << 112 << QByteArray();
    QTest::newRow("other") << QByteArray("1199") << QByteArray("demo") << 199 << QByteArray();
}

void TestSessionDialogue::refusals() {
    QFETCH(QByteArray, id);
    QFETCH(QByteArray, password);
    QFETCH(int, code);
    QFETCH(QByteArray, refusalText);
    Fixture f;
    QVERIFY(f.SignIn(id, password));
    QVERIFY(f.WaitSettled());
    QCOMPARE(f.dm.State(), ssOffline);
    QCOMPARE(f.rec.notices, (QList<QPair<int, int>>{{-1, code}}));
    QCOMPARE(f.rec.lastNoticeDuringEvent, QList<int>{0}); // kept only after the event
    QCOMPARE(f.dm.LastNoticeCode(), code);
    QCOMPARE(f.dm.RefusalText(), refusalText);
    QCOMPARE(f.rec.states.last(), (QPair<int, int>{ssSigningIn, ssOffline}));
    // The module can sign in again once the refused channel has closed.
    bool started = false; // PumpWait asks again at the end, so latch the first success
    QVERIFY(PumpWait([&] { return started = started || f.SignIn("1001"); }, kWaitMs));
    QVERIFY(f.WaitSettled());
    QCOMPARE(f.dm.State(), ssInSession);
}

void TestSessionDialogue::signsOutAndRecordsTheReport() {
    Fixture f;
    QVERIFY(f.SignIn("1001"));
    QVERIFY(f.WaitSettled());
    f.rec.states.clear();
    // The pause between the sign-out line and the close keeps handling events.
    QByteArray order;
    const auto record = f.dm.OnSessionStateChanged;
    f.dm.OnSessionStateChanged = [&](TProcsDm& m, TSessionState o, TSessionState n) {
        record(m, o, n);
        if (o == ssSigningOut && n == ssOffline)
            QTimer::singleShot(0, &f.dm, [&order] { order += "event;"; });
        if (o == ssOffline && n == ssOffline)
            order += "closed;";
    };
    QVERIFY(f.dm.SignOut());
    QVERIFY(!f.dm.SignOut()); // only once, from the session
    QVERIFY(PumpWait([&] { return f.dm.State() == ssOffline && order.contains("closed"); }, kWaitMs));
    QCOMPARE(f.rec.states,
             (QList<QPair<int, int>>{
                 {ssInSession, ssSigningOut}, {ssSigningOut, ssOffline}, {ssOffline, ssOffline}}));
    QCOMPARE(order, QByteArray("event;closed;"));
    QVERIFY(f.dm.SignOutSent());
    QTRY_COMPARE_WITH_TIMEOUT(f.house.SignIn().LinesWithCode("LO").size(), 1, kWaitMs);
    const QByteArrayList lo = f.house.SignIn().LinesWithCode("LO").value(0).mid(3).split(',');
    QCOMPARE(lo.size(), 5);
    QCOMPARE(LineDecipher(lo[0]), QByteArray("1001"));
    // "Q_Name" and "Q_OnCreate" are answered, "Q_Version" is not an attribute of the module.
    QCOMPARE(lo[4], QByteArray("Name=ProcsDm;OnCreate=DataModuleCreate"));
    QVERIFY(f.rec.notices.isEmpty());
}

void TestSessionDialogue::silentServerEndsAtTheFirstTickAfterTheDeadline() {
    Fixture f;
    QVERIFY(f.SignIn("1120"));
    QTRY_COMPARE_WITH_TIMEOUT(f.house.SignIn().LinesWithCode("LI").size(), 1, kWaitMs);
    for (int s = 2; s <= 14; s += 2) {
        f.clock.advance(2000);
        f.dm.TimeSingInTimer();
        QCOMPARE(f.dm.State(), ssSigningIn);
    }
    f.clock.advance(1000); // exactly the deadline: not yet later than it
    f.dm.TimeSingInTimer();
    QCOMPARE(f.dm.State(), ssSigningIn);
    f.clock.advance(1000);
    f.dm.TimeSingInTimer();
    QCOMPARE(f.dm.State(), ssOffline);
    QCOMPARE(f.rec.notices, (QList<QPair<int, int>>{{-1, 105}}));
    QCOMPARE(f.house.SignIn().ConnectionCount(), 1); // connected once, never reconnected
}

void TestSessionDialogue::refusedConnectionsAreRetriedEveryTwoSeconds() {
    ManualClock clock;
    ScopedClock scoped(clock);
    // Accepts and drops every connection at once, counting the attempts.
    QTcpServer refuser;
    QVERIFY(refuser.listen(QHostAddress::LocalHost, 0));
    int attempts = 0;
    QObject::connect(&refuser, &QTcpServer::newConnection, [&] {
        while (QTcpSocket* s = refuser.nextPendingConnection()) {
            ++attempts;
            s->abort();
            s->deleteLater();
        }
    });
    TProcsDm dm(std::make_unique<FixedFacts>());
    QList<int> notices;
    dm.OnSessionNotice = [&](TProcsDm&, int, int code) { notices.append(code); };
    QVERIFY(dm.SignIn(QByteArray("127.0.0.1:" + QByteArray::number(refuser.serverPort())), "id", "pw"));
    // The sign-in channel is the module's first socket; a retry needs it closed again.
    QTcpSocket* channel = dm.findChildren<QTcpSocket*>().value(0);
    QVERIFY(channel);
    for (int expected = 1; expected <= 8; ++expected) {
        QVERIFY(PumpWait(
            [&] { return attempts == expected && channel->state() == QAbstractSocket::UnconnectedState; },
            kWaitMs));
        clock.advance(2000);
        dm.TimeSingInTimer();
    }
    // Attempts at 0, 2, ... 14 s; at 16 s the deadline has passed.
    QCOMPARE(dm.State(), ssOffline);
    QCOMPARE(notices, QList<int>{105});
    PumpFor(50);
    QCOMPARE(attempts, 8);

    // A port with nobody listening ends the same way.
    const quint16 closedPort = refuser.serverPort();
    refuser.close();
    notices.clear();
    bool started = false; // PumpWait asks again at the end, so latch the first success
    QVERIFY(PumpWait(
        [&] {
            return started = started ||
                             dm.SignIn(QByteArray("127.0.0.1:" + QByteArray::number(closedPort)), "id", "pw");
        },
        kWaitMs));
    for (int i = 0; i < 8; ++i) {
        PumpFor(5);
        clock.advance(2000);
        dm.TimeSingInTimer();
    }
    QCOMPARE(notices, QList<int>{105});
}

void TestSessionDialogue::signInAfterATimeoutAgainstADroppingHost() {
    DroppingHost dropping;
    Fixture f;
    QVERIFY(f.dm.SignIn(dropping.Address(), "id", "pw"));
    QTcpSocket* channel = f.dm.findChildren<QTcpSocket*>().value(0);
    QVERIFY(channel);
    PumpFor(100);
    if (channel->state() != QAbstractSocket::ConnectingState)
        QSKIP("this system does not drop connection attempts to a full backlog");
    f.clock.advance(16000);
    f.dm.TimeSingInTimer();
    QCOMPARE(f.dm.State(), ssOffline);
    QCOMPARE(f.rec.notices, (QList<QPair<int, int>>{{-1, 105}}));
    // The attempt that never connected is given up with the sign-in: the next one starts at once.
    QVERIFY(f.SignIn("1001"));
    QVERIFY(f.WaitSettled());
    QCOMPARE(f.dm.State(), ssInSession);
}

void TestSessionDialogue::unresolvableHostGivesNotice109() {
    ManualClock clock;
    ScopedClock scoped(clock);
    TProcsDm dm(std::make_unique<FixedFacts>());
    QList<QPair<int, int>> events;
    dm.OnSessionNotice = [&](TProcsDm&, int lane, int code) { events.append({code, lane}); };
    dm.OnSessionStateChanged = [&](TProcsDm&, TSessionState, TSessionState n) { events.append({-100, n}); };
    QVERIFY(!dm.SignIn("no-such-host.invalid:11120", "id", "pw"));
    QCOMPARE(dm.State(), ssOffline);
    QCOMPARE(events, (QList<QPair<int, int>>{{-100, ssSigningIn}, {109, -1}, {-100, ssOffline}}));
    QCOMPARE(dm.LastNoticeCode(), 109);
}

void TestSessionDialogue::dataChannelKeepAliveAndWatchdog() {
    Fixture f;
    QVERIFY(f.SignIn("1001"));
    QVERIFY(f.WaitSettled());
    // Entering the session ran one tick, which started the data channel.
    QVERIFY(PumpWait([&] { return f.house.Data().ClientCount() == 1; }, kWaitMs));
    const auto keepAlives = [&] { return f.house.Data().ReceivedLines().count(QByteArray("KA:")); };
    // Ticks without moving time: the first one that finds the channel connected sends the only
    // keep-alive until 17 s have passed.
    QVERIFY(PumpWait(
        [&] {
            f.dm.TimeTickTimer();
            return keepAlives() == 1;
        },
        kWaitMs));
    f.clock.advance(17000);
    f.dm.TimeTickTimer();
    f.clock.advance(1);
    f.dm.TimeTickTimer();
    QTRY_COMPARE_WITH_TIMEOUT(keepAlives(), 2, kWaitMs);

    // The server's keep-alive is answered and counts as traffic.
    f.house.Data().SendKeepAlive();
    QTRY_COMPARE_WITH_TIMEOUT(f.house.Data().ReceivedLines().count(QByteArray("KR:")), 1, kWaitMs);
    f.clock.advance(30000);
    f.dm.TimeTickTimer();
    QCOMPARE(f.house.Data().ConnectionCount(), 1); // 30 s exactly is not yet silence
    f.clock.advance(1);
    f.dm.TimeTickTimer(); // silence: closed
    f.dm.TimeTickTimer(); // and reopened
    QVERIFY(PumpWait([&] { return f.house.Data().ConnectionCount() == 2; }, kWaitMs));
    QCOMPARE(f.dm.State(), ssInSession);
}

void TestSessionDialogue::audioChannelFollowsTheSession_data() {
    QTest::addColumn<bool>("disabled");
    QTest::newRow("audio on") << false;
    QTest::newRow("DisableAudio tweak") << true;
}

// The tick opens the audio channel at the address of "SV:", the server's "QN" is answered with the
// subscription for the site's first lane, and leaving the session closes the channel.
void TestSessionDialogue::audioChannelFollowsTheSession() {
    QFETCH(bool, disabled);
    QTcpServer audioServer;
    QVERIFY(audioServer.listen(QHostAddress::LocalHost));
    Fixture f("127.0.0.1:" + QByteArray::number(audioServer.serverPort()));
    f.dm.SetAudioDisabled(disabled);
    QVERIFY(f.SignIn("1001"));
    QVERIFY(f.WaitSettled());
    QCOMPARE(f.dm.State(), ssInSession);

    if (disabled) {
        for (int i = 0; i < 3; ++i)
            f.dm.TimeTickTimer();
        QVERIFY(!audioServer.waitForNewConnection(200));
        QVERIFY(f.dm.Audio().isClosed());
        return;
    }
    QVERIFY(PumpWait([&] { return audioServer.hasPendingConnections(); }, kWaitMs));
    QTcpSocket* peer = audioServer.nextPendingConnection();
    QVERIFY(PumpWait([&] { return f.dm.Audio().isConnected(); }, kWaitMs));
    peer->write(EncodeAudioFrame("QN"));
    QByteArray received;
    QVERIFY(PumpWait(
        [&] {
            received += peer->readAll();
            return received.endsWith('\r');
        },
        kWaitMs));
    QCOMPARE(received, QByteArray("NM:0,?,0\r")); // no site selected yet: no lane either

    // Once the site is current, a change of wish names it and its first lane's code.
    f.dm.SelectSite(f.dm.FirstSiteName());
    f.dm.SetAudioWanted(true);
    received.clear();
    QVERIFY(PumpWait(
        [&] {
            received += peer->readAll();
            return received.endsWith('\r');
        },
        kWaitMs));
    QCOMPARE(received, QByteArray("NM:12,A,1\r"));

    QVERIFY(f.dm.SignOut());
    QVERIFY(f.WaitSettled());
    QCOMPARE(f.dm.State(), ssOffline);
    QVERIFY(f.dm.Audio().isClosed());
    QVERIFY(PumpWait([&] { return peer->state() == QAbstractSocket::UnconnectedState; }, kWaitMs));
}

void TestSessionDialogue::shutdownInSessionAndOffline() {
    {
        Fixture f;
        f.dm.Shutdown(); // offline: returns at once, nothing happens
        QVERIFY(f.rec.states.isEmpty());
    }
    {
        Fixture f;
        QVERIFY(f.SignIn("1001"));
        QVERIFY(f.WaitSettled());
        f.dm.Shutdown();
        QCOMPARE(f.dm.State(), ssOffline);
        QTRY_COMPARE_WITH_TIMEOUT(f.house.SignIn().LinesWithCode("LO").size(), 1, kWaitMs);
        QVERIFY(f.rec.notices.isEmpty());
    }
    {
        // A sign-out already under way is seen through before the lanes go.
        Fixture f;
        QVERIFY(f.SignIn("1001"));
        QVERIFY(f.WaitSettled());
        f.dm.SelectSite(f.dm.FirstSiteName());
        QVERIFY(f.dm.SignOut());
        f.dm.Shutdown();
        QCOMPARE(f.dm.State(), ssOffline);
        QCOMPARE(f.dm.LaneCount(), 0);
        QVERIFY(f.dm.SignOutSent());
        QTRY_COMPARE_WITH_TIMEOUT(f.house.SignIn().LinesWithCode("LO").size(), 1, kWaitMs);
    }
    {
        // The house is gone: the 5 s deadline ends the sign-out quietly while the program closes.
        Fixture f;
        QVERIFY(f.SignIn("1001"));
        QVERIFY(f.WaitSettled());
        f.house.SignIn().Close();
        QTimer::singleShot(0, [&f] { f.clock.advance(5001); });
        f.dm.Shutdown(); // the retry timer notices the passed deadline
        QCOMPARE(f.dm.State(), ssOffline);
        QVERIFY(f.rec.notices.isEmpty());
        QCOMPARE(f.house.SignIn().LinesWithCode("LO").size(), 0);
        QVERIFY(!f.dm.SignOutSent());
    }
}

QTEST_GUILESS_MAIN(TestSessionDialogue)
#include "tst_sessiondialogue.moc"
