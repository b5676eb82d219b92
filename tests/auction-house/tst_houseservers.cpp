// The house's sign-in and data servers against a hand-driven client: hostile input, records.
#include "common/pumpwait.h"
#include "session/codec/linecodec.h"
#include "tools/auction-house/auctionhouse.h"
#include "tools/auction-house/dataserver.h"
#include "tools/auction-house/signinserver.h"

#include <QTcpSocket>
#include <QTest>

using namespace qev;

namespace {

constexpr int kWaitMs = 10000;

struct Fixture {
    AuctionHouse house{[] {
        HouseConfig c = HouseConfig::Default();
        c.signInPort = 0;
        return c;
    }()};
    QTcpSocket client;

    Fixture() { QVERIFY(house.Start()); }
    bool Connect(quint16 port) {
        client.connectToHost(QHostAddress::LocalHost, port);
        return client.waitForConnected(kWaitMs);
    }
    // Everything received, each piece deciphered.
    QByteArrayList Deciphered() {
        QByteArrayList lines;
        for (const QByteArray& piece : client.readAll().split('\r')) {
            if (!piece.isEmpty())
                lines.append(LineDecipher(piece));
        }
        return lines;
    }
};

} // namespace

class TestHouseServers : public QObject {
    Q_OBJECT

private slots:
    void signInServerSurvivesGarbageAndAnswers();
    void signInServerDropsAnOverlongLine();
    void dataServerRecordsPlainAndScrambledLines();
    void dataServerKeepsClientsToldOfStandingLines();
};

void TestHouseServers::signInServerSurvivesGarbageAndAnswers() {
    Fixture f;
    QVERIFY(f.Connect(f.house.SignIn().Port()));
    QVERIFY(PumpWait([&] { return f.client.bytesAvailable() > 0; }, kWaitMs));
    QCOMPARE(f.Deciphered(), QByteArrayList{"ST:0"});
    f.client.write(QByteArray("\x00\xff garbage\r====\r%\r\r", 19));
    f.client.write(LineCipher("LI:a,b") + '\r'); // too few fields: an unknown member
    QVERIFY(PumpWait([&] { return f.client.bytesAvailable() > 0; }, kWaitMs));
    QCOMPARE(f.Deciphered(), QByteArrayList{"ST:101"});
    QCOMPARE(f.house.SignIn().LinesWithCode("LI"), QByteArrayList{"LI:a,b"});
}

void TestHouseServers::signInServerDropsAnOverlongLine() {
    Fixture f;
    QVERIFY(f.Connect(f.house.SignIn().Port()));
    f.client.write(QByteArray(70000, 'A'));
    QVERIFY(PumpWait([&] { return f.client.state() == QAbstractSocket::UnconnectedState; }, kWaitMs));
    QVERIFY(f.house.SignIn().ReceivedLines().isEmpty());
}

void TestHouseServers::dataServerRecordsPlainAndScrambledLines() {
    Fixture f;
    QVERIFY(f.Connect(f.house.Data().Port()));
    f.client.write("KA:\r" + LineScramble("RP:1,2,3") + "\r!!!\r");
    QVERIFY(PumpWait([&] { return f.house.Data().ReceivedLines().size() == 2; }, kWaitMs));
    QCOMPARE(f.house.Data().ReceivedLines(), (QByteArrayList{"KA:", "RP:1,2,3"}));
    f.house.Data().SendKeepAlive();
    QVERIFY(PumpWait([&] { return f.client.canReadLine() || f.client.bytesAvailable() > 0; }, kWaitMs));
    QCOMPARE(LineUnscramble(f.client.readAll().chopped(1)), QByteArray("KA:"));
}

void TestHouseServers::dataServerKeepsClientsToldOfStandingLines() {
    Fixture f;
    DataServer& data = f.house.Data();
    data.Publish("NI", "NI:1");
    QVERIFY(f.Connect(data.Port()));
    QByteArray received;
    const auto lines = [&](int n) {
        QByteArrayList out;
        PumpWait(
            [&] {
                received += f.client.readAll();
                return received.count('\r') >= n;
            },
            kWaitMs);
        for (const QByteArray& piece : received.split('\r')) {
            if (!piece.isEmpty())
                out.append(LineUnscramble(piece));
        }
        received.clear();
        return out;
    };
    QCOMPARE(lines(1), QByteArrayList{"NI:1"}); // on connecting
    data.Publish("NI", "NI:1");                 // unchanged: not sent again
    data.Publish("AM0", "AM:0,");
    QCOMPARE(lines(1), QByteArrayList{"AM:0,"});
    data.TimeKeepAlive(); // the keep-alive brings every standing line again
    QCOMPARE(lines(3), (QByteArrayList{"KA:", "AM:0,", "NI:1"}));
}

QTEST_GUILESS_MAIN(TestHouseServers)
#include "tst_houseservers.moc"
