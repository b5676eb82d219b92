// A whole dealer's session against the auction house's live lanes at test pace: sign in, watch
// both lanes, switch to bidding, bid until a lot is won, confirm it, switch back, sign out.
#include "common/pumpwait.h"
#include "session/codec/linecodec.h"
#include "session/procsdm.h"
#include "tests/session/fixedfacts.h"
#include "tools/auction-house/auctionhouse.h"
#include "tools/auction-house/dataserver.h"
#include "tools/auction-house/lanes/auctionlanes.h"

#include <QSet>
#include <QTest>

using namespace qev;

namespace {
constexpr int kWaitMs = 30000; // a bound on real time, never an assertion about speed
}

class TestLiveAuction : public QObject {
    Q_OBJECT

private slots:
    void dealerWinsAndConfirmsALot();
};

void TestLiveAuction::dealerWinsAndConfirmsALot() {
    HouseConfig config = HouseConfig::Default();
    config.signInPort = 0;
    config.dataPort = 0;
    config.webBase = QByteArrayLiteral("127.0.0.1:8080");
    config.liveLanes = true;
    config.fastPace = true;
    AuctionHouse house(config);
    QString error;
    QVERIFY2(house.Start(&error), qPrintable(error));
    QVERIFY(house.Lanes());

    TProcsDm dm(std::make_unique<FixedFacts>());
    QList<int> pricesSeen{0, 0};
    QSet<QByteArray> bidOn; // one bid per lot and price
    QByteArray won;         // "site,exhibit,price" of the first lot won
    int refusedBids = 0;
    dm.OnPriceChanged = [&](TProcsDm& m, int lane, int site, int exhibit, int price, int lotFlags, int,
                            const QByteArray& top, const QByteArray& winner) {
        ++pricesSeen[lane];
        if (lane != 0 || m.LaneStatus(0) != icsConnectedBD || !won.isEmpty())
            return;
        const QByteArray lot =
            QByteArray::number(site) + ',' + QByteArray::number(exhibit) + ',' + QByteArray::number(price);
        if ((lotFlags & 1) && winner == "1001") {
            won = lot;
            QVERIFY(m.SendConfirmation(0, site, exhibit, price, "C"));
        } else if ((lotFlags & 2) && !(lotFlags & 1) && top != "1001" && !bidOn.contains(lot)) {
            bidOn.insert(lot);
            if (!m.SendBid(0))
                ++refusedBids;
        }
    };

    dm.SetMemberNumber("1001");
    QVERIFY(dm.SignIn(house.SignInAddress(), LineCipher("1001"), LineCipher("demo")));
    QVERIFY(PumpWait([&dm] { return dm.State() == ssInSession; }, kWaitMs));
    dm.SelectSite(dm.FirstSiteName());
    QCOMPARE(dm.LaneCount(), 2);

    QVERIFY(dm.ConnectLanes(rcNB));
    QVERIFY(PumpWait([&] { return pricesSeen[0] > 0 && pricesSeen[1] > 0; }, kWaitMs));
    QCOMPARE(dm.LaneStatus(0), icsConnectedNB);

    QVERIFY(dm.ConnectLanes(rcBD));
    QVERIFY(PumpWait([&] { return dm.CombinedLaneStatus() == icsConnectedBD; }, kWaitMs));
    QVERIFY(PumpWait([&] { return !won.isEmpty() || dm.LaneState(0) == -2; }, kWaitMs));
    QVERIFY2(!won.isEmpty(), "the lane ended before the dealer won a lot");
    QCOMPARE(refusedBids, 0);

    // The router recorded the dealer's bids and the confirmation of the lot won.
    BidRecorder& recorder = house.Lanes()->Recorder();
    QVERIFY(PumpWait([&] { return !recorder.Confirmations().isEmpty(); }, kWaitMs));
    const RecordedLine confirmation = recorder.Confirmations().first();
    QCOMPARE(confirmation.payload, won + ',' + LineCipher("1001") + ",C");
    QVERIFY(confirmation.matchesWin);
    QVERIFY(!recorder.Bids().isEmpty());
    // Every bid went out after its report.
    QVERIFY(PumpWait(
        [&] {
            int reports = 0;
            for (const QByteArray& l : house.Data().ReceivedLines())
                reports += l.startsWith("RP:0,") && l.endsWith(",0,") ? 1 : 0;
            return reports >= recorder.Bids().size();
        },
        kWaitMs));

    QVERIFY(dm.ConnectLanes(rcNB));
    QVERIFY(PumpWait([&] { return dm.CombinedLaneStatus() == icsConnectedNB; }, kWaitMs));
    QVERIFY(dm.SignOut());
    QVERIFY(PumpWait([&dm] { return dm.State() == ssOffline; }, kWaitMs));
    QCOMPARE(dm.CombinedLaneStatus(), nsDisconnected);
}

QTEST_GUILESS_MAIN(TestLiveAuction)
#include "tst_liveauction.moc"
