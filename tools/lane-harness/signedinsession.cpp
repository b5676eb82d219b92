#include "tools/lane-harness/signedinsession.h"

#include "common/pumpwait.h"
#include "session/codec/linecodec.h"
#include "session/laneparser.h"
#include "tools/auction-house/announcedlanes.h"
#include "tools/auction-house/dataserver.h"
#include "tools/auction-house/lanes/bidrecorder.h"
#include "tools/auction-house/lanes/lanerouter.h"

namespace qev {

namespace {
constexpr int kWaitMs = 10000; // a bound on real time
} // namespace

SignedInSession::SignedInSession() = default;

SignedInSession::~SignedInSession() {
    dm.reset();
}

bool SignedInSession::Start() {
    if (!lanes.OpenScripted(Scenario{}, 2))
        return false;
    HouseConfig c = HouseConfig::Default();
    c.signInPort = 0;
    c.dataPort = 0;
    c.webBase = QByteArrayLiteral("127.0.0.1:8080");
    AnnounceLanes(c, lanes);
    house = std::make_unique<AuctionHouse>(c);
    QString error;
    if (!house->Start(&error))
        return false;
    dm = std::make_unique<TProcsDm>();
    dm->SetMemberNumber("1001");
    if (!dm->SignIn(house->SignInAddress(), LineCipher("1001"), LineCipher("demo")))
        return false;
    if (!PumpWait([this] { return dm->State() == ssInSession || dm->State() == ssOffline; }, kWaitMs) ||
        dm->State() != ssInSession)
        return false;
    dm->SelectSite(dm->FirstSiteName());
    if (!PumpWait([this] { return house->Data().ClientCount() == 1; }, kWaitMs) || !Route(rcBD))
        return false;
    lanes.Router(0, RouterKind::Bidding).Deliver("EN:12,105,106,107");
    lanes.Router(0, RouterKind::Watch).Deliver("EN:12,105,106,107");
    return PumpWait([this] { return dm->LaneExhibit(0) == 105; }, kWaitMs) && Price(1000);
}

bool SignedInSession::Route(TRouterType kind) {
    if (dm->CurrentRouterKind() != kind && !dm->ConnectLanes(kind))
        return false;
    const TConnectionStatus want = kind == rcBD ? icsConnectedBD : icsConnectedNB;
    const RouterKind router = kind == rcBD ? RouterKind::Bidding : RouterKind::Watch;
    return PumpWait(
        [this, want, router] {
            return dm->LaneStatus(0) == want && dm->LaneStatus(1) == want &&
                   lanes.Router(0, router).IdentifiedCount() == 1;
        },
        kWaitMs);
}

QByteArray SignedInSession::ServerDay() const {
    const qint64 serverMs = LocalWallMs(clock.nowMs()) + dm->ClockOffsetMs();
    return QByteArray::number(25569.0 + static_cast<double>(serverMs) / 86400000.0, 'f', 10);
}

bool SignedInSession::Price(int price) {
    const QByteArray line = "PR:12,105," + QByteArray::number(price) + ",2,2,0000,," + ServerDay();
    lanes.Router(0, RouterKind::Bidding).Deliver(line);
    lanes.Router(0, RouterKind::Watch).Deliver(line);
    return PumpWait([this, price] { return dm->LanePrice(0) == price; }, kWaitMs);
}

int SignedInSession::BidsAtRouter() {
    return int(lanes.Recorder().Bids().size());
}

} // namespace qev
