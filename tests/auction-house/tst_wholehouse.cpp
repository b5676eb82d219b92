// One whole auction house in fast mode against a signing-in client: every address the client is
// given leads to a live server, and the data channel carries the house's lane bulletins.
#include "common/pumpwait.h"
#include "session/codec/linecodec.h"
#include "session/procsdm.h"
#include "tests/session/fixedfacts.h"
#include "tools/auction-house/auctionhouse.h"
#include "tools/auction-house/dataserver.h"
#include "tools/auction-house/housebulletins.h"

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
}

QTEST_MAIN(TestWholeHouse)
#include "tst_wholehouse.moc"
