// One whole auction house in fast mode against a signing-in client: every address the client is
// given leads to a live server, and the data channel carries the house's lane bulletins.
#include "common/pumpwait.h"
#include "session/codec/linecodec.h"
#include "session/procsdm.h"
#include "tests/session/fixedfacts.h"
#include "tools/auction-house/auctionhouse.h"
#include "tools/auction-house/audio/audioserver.h"
#include "tools/auction-house/dataserver.h"
#include "tools/auction-house/housebulletins.h"
#include "tools/auction-house/lanes/auctionlanes.h"
#include "tools/auction-house/lanes/laneengine.h"

#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace qev;

namespace {

constexpr int kWaitMs = 15000; // generous bound on real time, never an assertion about speed
constexpr int kWatched = 400;  // far enough down lane A that the lane is still before it

HouseConfig WholeHouse() {
    HouseConfig c = HouseConfig::Default();
    c.signInPort = 0;
    c.dataPort = 0;
    c.webPort = 0;
    c.audioPort = 0;
    c.liveLanes = true;
    c.webServer = true;
    c.audioServer = true;
    c.fastPace = true;
    c.lanes[0].exhibits = 600;
    c.watches = {{QByteArrayLiteral("1001"), 0, kWatched, 'A'},
                 {QByteArrayLiteral("2002"), 0, kWatched, 'B'}};
    return c;
}

struct Fixture {
    AuctionHouse house{WholeHouse()};
    TProcsDm dm{std::make_unique<FixedFacts>()};

    Fixture() {
        QString error;
        if (!house.Start(&error))
            qFatal("house: %s", qPrintable(error));
    }
    bool SignIn() {
        dm.SetMemberNumber(QByteArrayLiteral("1001"));
        if (!dm.SignIn(house.SignInAddress(), LineCipher("1001"), LineCipher("demo")))
            return false;
        return PumpWait([this] { return dm.State() == ssOffline || dm.State() == ssInSession; }, kWaitMs) &&
               dm.State() == ssInSession;
    }
};

// host:port as the client was told it.
bool Connect(QTcpSocket& socket, const QByteArray& hostPort) {
    const qsizetype colon = hostPort.lastIndexOf(':');
    if (colon <= 0)
        return false;
    socket.connectToHost(QString::fromLatin1(hostPort.left(colon)), hostPort.mid(colon + 1).toUShort());
    return socket.waitForConnected(kWaitMs);
}

// Reads scrambled lines from a socket until one satisfies found.
QByteArray WaitForLine(QTcpSocket& socket, const std::function<bool(const QByteArray&)>& found) {
    QByteArray buffer;
    QByteArray hit;
    PumpWait(
        [&] {
            buffer += socket.readAll();
            qsizetype cr;
            while (hit.isEmpty() && (cr = buffer.indexOf('\r')) >= 0) {
                const QByteArray line = LineUnscramble(buffer.left(cr));
                buffer.remove(0, cr + 1);
                if (found(line))
                    hit = line;
            }
            return !hit.isEmpty();
        },
        kWaitMs);
    return hit;
}

QByteArray Get(QNetworkAccessManager& http, const QByteArray& url, int& status) {
    QNetworkReply* reply = http.get(QNetworkRequest(QUrl::fromEncoded(url)));
    PumpWait([reply] { return reply->isFinished(); }, kWaitMs);
    status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QByteArray body = reply->readAll();
    reply->deleteLater();
    return body;
}

} // namespace

class TestWholeHouse : public QObject {
    Q_OBJECT

private slots:
    void announcedServersAnswer();
    void dataChannelCarriesWatchesAndLaneStates();
    void informationAndAlarmsFollowTheLane();
    void audioFollowsLaneAAtLivePace_data();
    void audioFollowsLaneAAtLivePace();
    void busyPortNamesTheServer_data();
    void busyPortNamesTheServer();
};

void TestWholeHouse::announcedServersAnswer() {
    Fixture f;
    QVERIFY(f.SignIn());
    QVERIFY(f.dm.HasCurrentSite() || !f.dm.FirstSiteName().isEmpty());
    const TSiteInfo& site = *f.dm.Sites().front();
    QCOMPARE(site.LaneCount(), 2);

    // Both routers of every lane greet with "ST:0".
    for (int lane = 0; lane < site.LaneCount(); ++lane) {
        for (const QByteArray& router : {site.BiddingRouter(lane), site.WatchRouter(lane)}) {
            QTcpSocket socket;
            QVERIFY2(Connect(socket, router), router.constData());
            QCOMPARE(WaitForLine(socket, [](const QByteArray& l) { return !l.isEmpty(); }),
                     QByteArray("ST:0"));
        }
    }

    // Lot files and pictures under the announced bases, in the shapes the client builds.
    QNetworkAccessManager http;
    http.setProxy(QNetworkProxy::NoProxy);
    int status = 0;
    const QByteArray detail = Get(http, site.DetailUrlBase(0) + "0012/1/00001.html", status);
    QCOMPARE(status, 200);
    QVERIFY(LineUnscramble(detail).contains("REAL_EXHIBIT_NO=1\r\n"));
    const QByteArray photo = Get(http, site.PhotoUrlBase(1) + "0012/carphoto/10001.jpg", status);
    QCOMPARE(status, 200);
    QVERIFY(photo.startsWith("\xff\xd8"));
    Get(http, site.PhotoUrlBase(0) + "0012/exhibitcard/0001.jpg", status);
    QCOMPARE(status, 200);

    // The audio server asks each new client for its subscription.
    QVERIFY(!f.dm.AudioHost().isEmpty());
    QTcpSocket audio;
    QVERIFY(Connect(audio, f.dm.AudioHost() + ':' + f.dm.AudioPort()));
    QVERIFY(PumpWait([&] { return audio.bytesAvailable() > 0; }, kWaitMs));
    QCOMPARE(f.dm.AudioSampleRate(), 8000);
}

void TestWholeHouse::dataChannelCarriesWatchesAndLaneStates() {
    Fixture f;
    QVERIFY(f.SignIn());
    QVERIFY(PumpWait([&] { return f.house.Data().ClientCount() >= 1; }, kWaitMs));

    // The client's own alarm list of lane A shows the watched lot as its member's.
    QList<AlarmItem> alarms0;
    f.dm.OnAlarmList = [&](TProcsDm&, int lane, const QList<AlarmItem>& alarms) {
        if (lane == 0)
            alarms0 = alarms;
    };
    f.dm.SelectSite(f.dm.FirstSiteName());
    QVERIFY(PumpWait(
        [&] {
            return std::any_of(alarms0.begin(), alarms0.end(), [](const AlarmItem& a) {
                return a.mine && a.text.startsWith(QByteArray(QByteArray::number(kWatched) + ','));
            });
        },
        kWaitMs));
    QCOMPARE(std::count_if(alarms0.begin(), alarms0.end(), [](const AlarmItem& a) { return a.mine; }), 1);

    // A second reader on the announced data address sees what every client is sent.
    QTcpSocket data;
    QVERIFY(Connect(data, f.dm.DataHost() + ':' + f.dm.DataPort()));
    const QByteArray alarms = WaitForLine(data, [](const QByteArray& l) { return l.startsWith("AM:0,"); });
    QVERIFY(!alarms.isEmpty());
    // The watched lot is listed with both members who watch it; the others with nobody.
    const QByteArrayList entries = alarms.mid(5).split('/');
    const auto watched = std::find_if(entries.begin(), entries.end(), [](const QByteArray& e) {
        return e.startsWith(QByteArray(QByteArray::number(kWatched) + '\x01'));
    });
    QVERIFY(watched != entries.end());
    QVERIFY(watched->endsWith("\x01"
                              "1001,2002"));
    QVERIFY(entries.front().endsWith('\x01'));
    QVERIFY(alarms.endsWith('/'));

    // The information line names each lane once, with its fields in place.
    const QByteArray info = WaitForLine(data, [](const QByteArray& l) { return l.startsWith("NI:"); });
    QVERIFY(!info.isEmpty());
    const QByteArrayList lanes = info.mid(3).split('|');
    QCOMPARE(lanes.size(), 2);
    for (int lane = 0; lane < 2; ++lane) {
        const QByteArrayList fields = lanes[lane].split(',');
        QCOMPARE(fields.size(), 14);
        QCOMPARE(fields[0], QByteArray("12"));
        QCOMPARE(fields[1].toInt(), lane);
        QCOMPARE(fields[3], lane == 0 ? QByteArray("A") : QByteArray("B"));
    }

    // As lane A moves on, fresh bulletins follow.
    const QByteArray later =
        WaitForLine(data, [&](const QByteArray& l) { return l.startsWith("NI:") && l != info; });
    QVERIFY(!later.isEmpty());
}

// Lane A's fields of the standing information line, by field number from 1.
QByteArrayList LaneAFields(AuctionHouse& house) {
    const QByteArray ni = house.Data().Standing("NI");
    return ni.mid(3).split('|').front().split(',');
}

void TestWholeHouse::informationAndAlarmsFollowTheLane() {
    HouseConfig c = HouseConfig::Default();
    c.signInPort = 0;
    c.liveLanes = true;
    c.lanes.removeLast();
    c.lanes[0].exhibits = 2;
    c.watches = {{QByteArrayLiteral("1001"), 0, 2, 'A'}};
    AuctionHouse house(c);
    QVERIFY(house.Start());
    LaneEngine& lane = *house.Lanes()->Engine(0);
    lane.Stop(); // stepped by hand from here on
    const auto step = [&] {
        lane.Step();
        house.PublishBulletins();
        return LaneAFields(house);
    };

    QByteArrayList f = LaneAFields(house);
    QCOMPARE(f.size(), 14);
    QCOMPARE(f[2], QByteArray("930")); // before the first lot: its opening time
    QCOMPARE(f[4], QByteArray("0"));
    QCOMPARE(f[13], QByteArray("2"));
    // Both lots are still to come; only the second is watched.
    const QByteArrayList entries = house.Data().Standing("AM0").mid(5).split('/');
    QCOMPARE(entries.size(), 3);
    QVERIFY(entries[0].startsWith("1\x01") && entries[0].endsWith('\x01'));
    QVERIFY(entries[1].startsWith("2\x01") && entries[1].endsWith("\x01"
                                                                  "1001"));
    QCOMPARE(entries[1].count('\x01'), 2);
    step();     // waiting for the first lot
    f = step(); // lot 1 on the block
    QCOMPARE(f[2], QByteArray("0"));
    QCOMPARE(f[4], QByteArray("1"));
    QCOMPARE(f[8], QByteArray("1")); // its place in the running order
    QCOMPARE(f[13], QByteArray("1"));
    f = step(); // opening price
    QCOMPARE(f[5].toInt(), lane.Config().lots[0].startPrice);
    QCOMPARE(f[6], QByteArray("0"));
    f = step(); // bidding
    QCOMPARE(f[6], QByteArray("2"));
    while (lane.CurrentPhase() != LaneEngine::Phase::Result)
        f = step();
    QCOMPARE(f[9], QByteArray("1")); // one lot done
    const bool sold = lane.Results().constLast().sold;
    QCOMPARE(f[6].toInt() & 1, sold ? 1 : 0);
    QCOMPARE(f[7].toInt() & 1, sold ? 0 : 1);
    QCOMPARE(f[12].toInt(), sold ? 1 : 0);
    f = step(); // lot 2: lot 1 leaves the alarm list, the watched lot stays
    QCOMPARE(f[4], QByteArray("2"));
    QVERIFY(house.Data().Standing("AM0").startsWith("AM:0,2\x01"));
    QVERIFY(house.Data().Standing("AM0").endsWith("\x01"
                                                  "1001/"));
    while (lane.CurrentPhase() != LaneEngine::Phase::Ended)
        f = step();
    QCOMPARE(f[2], QByteArray("-1"));
    QCOMPARE(f[4], QByteArray("0"));
    QCOMPARE(f[9], QByteArray("2"));
    QCOMPARE(house.Data().Standing("AM0"), QByteArray("AM:0,"));
}

void TestWholeHouse::audioFollowsLaneAAtLivePace_data() {
    QTest::addColumn<bool>("fast");
    QTest::newRow("live: lane A's lots drive the chant") << false;
    QTest::newRow("fast: the server chants on its own") << true;
}

void TestWholeHouse::audioFollowsLaneAAtLivePace() {
    QFETCH(bool, fast);
    HouseConfig c = HouseConfig::Default();
    c.signInPort = 0;
    c.audioPort = 0;
    c.liveLanes = true;
    c.audioServer = true;
    c.fastPace = fast;
    AuctionHouse house(c);
    QVERIFY(house.Start());
    house.Lanes()->Engine(0)->Stop();
    house.Lanes()->Engine(1)->Stop();
    QCOMPARE(house.Audio()->config().autoChant, fast);
    const int before = house.Audio()->Sequence();
    house.Lanes()->Engine(1)->Step();
    house.Lanes()->Engine(1)->Step(); // lane B's lot: not heard
    QCOMPARE(house.Audio()->Sequence(), before);
    house.Lanes()->Engine(0)->Step();
    house.Lanes()->Engine(0)->Step(); // lane A's lot: a new chant unless the server chants alone
    QCOMPARE(house.Audio()->Sequence(), before + (fast ? 0 : 1));
}

void TestWholeHouse::busyPortNamesTheServer_data() {
    QTest::addColumn<QString>("server");
    QTest::newRow("web") << QStringLiteral("web server");
    QTest::newRow("audio") << QStringLiteral("audio server");
}

void TestWholeHouse::busyPortNamesTheServer() {
    QFETCH(QString, server);
    QTcpServer taken;
    QVERIFY(taken.listen(QHostAddress::LocalHost));
    HouseConfig c = WholeHouse();
    (server.startsWith(QLatin1String("web")) ? c.webPort : c.audioPort) = taken.serverPort();
    AuctionHouse house(c);
    QString error;
    QVERIFY(!house.Start(&error));
    QVERIFY2(error.startsWith(server + QLatin1String(": ")), qPrintable(error));
    // Nor does a second try open a second set of servers behind the announced ones.
    taken.close();
    QVERIFY(!house.Start(&error));
    QCOMPARE(error, QStringLiteral("house: already started"));
}

QTEST_MAIN(TestWholeHouse)
#include "tst_wholehouse.moc"
