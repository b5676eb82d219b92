// Lane speed: the processing pass per price line, and over loopback against the in-process
// auction house a price from the router's write to OnPriceChanged and a bid from SendBid to the
// router's read, each beside a bare QTcpSocket carrying the same bytes one way.
#include "bench/support/baresocket.h"
#include "bench/support/percentiles.h"
#include "common/clock.h"
#include "common/pumpwait.h"
#include "session/codec/linecodec.h"
#include "session/procsdm.h"
#include "tools/auction-house/announcedlanes.h"
#include "tools/auction-house/auctionhouse.h"
#include "tools/auction-house/dataserver.h"
#include "tools/auction-house/lanes/auctionlanes.h"
#include "tools/auction-house/lanes/lanerouter.h"
#include "tools/auction-house/lanes/routerfaults.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>

using namespace qev;

namespace {

constexpr int kWaitMs = 10000;

QByteArray SignInWire(const QByteArray& plain) {
    return LineCipher(plain) + '\r';
}

QByteArray PriceLine(int i) {
    // Every price changes the bidder, so none gives way to a newer one.
    return "PR:12,105," + QByteArray::number(1000 + 3 * (i % 1000)) + ",2," +
           QByteArray::number(2 + 4 * (i % 2)) + ",000" + QByteArray::number(i % 10) + ",,46000.5";
}

void BM_ProcessLanePrice(benchmark::State& state) {
    TProcsDm dm;
    dm.SetMemberNumber("1234");
    dm.SignIn("127.0.0.1:1", LineCipher("1234"), LineCipher("pw"));
    dm.ReceiveSignIn(SignInWire("AN:12,2|"));
    dm.ReceiveSignIn(SignInWire("CI:30000,1500,3000"));
    dm.SelectSite("QEV");
    qint64 fired = 0;
    dm.OnPriceChanged = [&fired](TProcsDm&, int, int, int, int, int, int, const QByteArray&,
                                 const QByteArray&) { ++fired; };
    QByteArray wire;
    constexpr int kLines = 1000;
    for (int i = 0; i < kLines; ++i)
        wire += LineScramble(PriceLine(i)) + '\r';
    for (auto _ : state) {
        dm.ReceiveLane(0, wire);
        while (dm.LaneCount() > 0 && fired % kLines != 0)
            dm.TmProcessingTimer(0);
        if (fired % kLines != 0)
            state.SkipWithError("prices lost");
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_ProcessLanePrice)->Unit(benchmark::kMicrosecond);

// A signed-in module with both lanes on the bidding routers of scripted lanes.
struct LiveSession {
    AuctionLanes lanes;
    std::unique_ptr<AuctionHouse> house;
    TProcsDm dm;
    bool ok = false;

    // script: what the scripted lanes play once the session is up.
    explicit LiveSession(const QByteArray& script = {}) {
        Scenario scenario;
        if (!Scenario::Parse(script, scenario) || !lanes.OpenScripted(scenario, 2))
            return;
        HouseConfig c = HouseConfig::Default();
        c.signInPort = 0;
        c.dataPort = 0;
        c.webBase = QByteArrayLiteral("127.0.0.1:8080");
        AnnounceLanes(c, lanes);
        house = std::make_unique<AuctionHouse>(c);
        if (!house->Start())
            return;
        dm.SetMemberNumber("1001");
        dm.SignIn(house->SignInAddress(), LineCipher("1001"), LineCipher("demo"));
        if (!PumpWait([this] { return dm.State() == ssInSession; }, kWaitMs))
            return;
        dm.SelectSite(dm.FirstSiteName());
        dm.ConnectLanes(rcBD);
        ok =
            PumpWait([this] { return dm.CombinedLaneStatus() == icsConnectedBD; }, kWaitMs) &&
            PumpWait([this] { return lanes.Router(0, RouterKind::Bidding).IdentifiedCount() == 1; },
                     kWaitMs) &&
            PumpWait([this] { return lanes.Router(1, RouterKind::Bidding).IdentifiedCount() == 1; }, kWaitMs);
        lanes.Run();
    }
};

void BM_RouterPriceToEvent(benchmark::State& state) {
    LiveSession s;
    if (!s.ok) {
        state.SkipWithError("no session");
        return;
    }
    bool fired = false;
    s.dm.OnPriceChanged = [&fired](TProcsDm&, int, int, int, int, int, int, const QByteArray&,
                                   const QByteArray&) { fired = true; };
    LaneRouter& router = s.lanes.Router(0, RouterKind::Bidding);
    std::vector<double> us;
    int i = 0;
    for (auto _ : state) {
        fired = false;
        QElapsedTimer t;
        t.start();
        router.Deliver(PriceLine(i++));
        while (!fired)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        us.push_back(static_cast<double>(t.nsecsElapsed()) / 1000.0);
    }
    Percentiles(state, us);
}
BENCHMARK(BM_RouterPriceToEvent)->Iterations(5000)->Unit(benchmark::kMicrosecond);

void BM_SendBidToRouter(benchmark::State& state) {
    LiveSession s;
    if (!s.ok) {
        state.SkipWithError("no session");
        return;
    }
    // A lot on the block first: its first price never counts as a jump.
    s.lanes.Router(0, RouterKind::Bidding).Deliver("EN:12,105,106,107");
    s.lanes.Router(0, RouterKind::Bidding).Deliver("PR:12,105,1000,2,2,0000,,");
    PumpWait([&s] { return s.dm.LanePrice(0) == 1000; }, kWaitMs);
    s.lanes.Recorder().Clear();
    bool read = false;
    s.lanes.Recorder().OnRecorded = [&read](BidRecorder&, const RecordedLine&) { read = true; };
    std::vector<double> us;
    qsizetype reports = s.house->Data().ReceivedLines().size();
    for (auto _ : state) {
        read = false;
        QElapsedTimer t;
        t.start();
        if (!s.dm.SendBid(0)) {
            state.SkipWithError("bid refused");
            return;
        }
        while (!read)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        us.push_back(static_cast<double>(t.nsecsElapsed()) / 1000.0);
        // The bid's report reaches the in-process data server outside the timed window, as it
        // would reach a data server elsewhere: the next bid starts on a quiet loop, like the
        // bare socket's writes.
        while (s.house->Data().ReceivedLines().size() == reports)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        reports = s.house->Data().ReceivedLines().size();
        if (s.lanes.Recorder().Lines().size() > 1000)
            s.lanes.Recorder().Clear();
    }
    Percentiles(state, us);
}
BENCHMARK(BM_SendBidToRouter)->Iterations(5000)->Unit(benchmark::kMicrosecond);

// The same bytes one way over a bare loopback socket: written, read whole at the other end.
void BM_BareSocketOneWay(benchmark::State& state) {
    BareSocketOneWay(state, LineScramble(PriceLine(1)) + '\r');
}
BENCHMARK(BM_BareSocketOneWay)->Iterations(5000)->Unit(benchmark::kMicrosecond);

// A bidding war arriving as one burst: 20,000 prices, the leader changing on every one, so none
// gives way to a newer one. Time from the router's write to the last price's OnPriceChanged.
void BM_BidWarBurst(benchmark::State& state) {
    LiveSession s("0 0 EN:12,105,106,107,0,0,0,0\n");
    if (!s.ok || !PumpWait([&s] { return s.dm.LaneExhibit(0) == 105; }, kWaitMs)) {
        state.SkipWithError("no session");
        return;
    }
    constexpr int kLines = 20000;
    int base = 10000;
    int last = 0;
    qint64 shown = 0;
    s.dm.OnPriceChanged = [&](TProcsDm&, int lane, int, int, int price, int, int, const QByteArray&,
                              const QByteArray&) {
        if (lane == 0) {
            last = price;
            ++shown;
        }
    };
    LaneRouter& router = s.lanes.Router(0, RouterKind::Bidding);
    for (auto _ : state) {
        QByteArray burst;
        for (int i = 0; i < kLines; ++i)
            burst += LineScramble(QByteArray("PR:12,105," + QByteArray::number(base + i) + ",2,6,000" +
                                             QByteArray::number(i % 2) + ",,")) +
                     '\r';
        const int lastPrice = base + kLines - 1;
        base += kLines;
        shown = 0;
        QElapsedTimer t;
        t.start();
        router.DeliverRaw(burst);
        while (last != lastPrice && t.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (last != lastPrice) {
            state.SkipWithError("last price not reached");
            return;
        }
        state.SetIterationTime(static_cast<double>(t.nsecsElapsed()) / 1e9);
        state.counters["shown"] = static_cast<double>(shown);
        state.counters["max_backlog"] = s.dm.MaxPriceBacklog();
    }
}
BENCHMARK(BM_BidWarBurst)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

// Both lanes flooded with 10,000 prices a second each for 10 s, all on this one thread with the
// house: how late a 10 ms timer fires meanwhile, and whether every price line was handled.
void BM_TwoLaneFlood(benchmark::State& state) {
    LiveSession s("0 0 EN:12,105,106,107,0,0,0,0\n1 0 EN:12,205,206,207,0,0,0,0\n");
    const bool entered =
        PumpWait([&s] { return s.dm.LaneExhibit(0) == 105 && s.dm.LaneExhibit(1) == 205; }, kWaitMs);
    if (!s.ok || !entered) {
        state.SkipWithError("no session");
        return;
    }
    constexpr int kPerSecond = 10000;
    constexpr int kSpanMs = 10000;
    qint64 handled[2] = {0, 0}; // every "PR:" handled, shown or given way to a newer one
    qint64 shown[2] = {0, 0};
    s.dm.OnAuctionStatus = [&handled](TProcsDm&, int lane, int status) {
        if (status == 0)
            ++handled[lane];
    };
    s.dm.OnPriceChanged = [&shown](TProcsDm&, int lane, int, int, int, int, int, const QByteArray&,
                                   const QByteArray&) { ++shown[lane]; };
    for (auto _ : state) {
        QTimer probe;
        probe.setTimerType(Qt::PreciseTimer);
        probe.setInterval(10);
        QElapsedTimer sinceLast;
        qint64 worstLateMs = 0;
        QObject::connect(&probe, &QTimer::timeout, &probe, [&] {
            worstLateMs = std::max(worstLateMs, sinceLast.elapsed() - 10);
            sinceLast.restart();
        });
        for (int lane = 0; lane < 2; ++lane)
            s.lanes.Router(lane, RouterKind::Bidding).Faults().FloodPrices(kPerSecond, kSpanMs);
        sinceLast.start();
        probe.start();
        const qint64 expected = static_cast<qint64>(kPerSecond) * kSpanMs / 1000;
        PumpWait([&] { return handled[0] >= expected && handled[1] >= expected; }, kSpanMs + 20000);
        probe.stop();
        state.counters["session_kept"] = s.dm.State() == ssInSession ? 1 : 0;
        state.counters["worst_timer_late_ms"] = static_cast<double>(worstLateMs);
        state.counters["lane0_handled"] = static_cast<double>(handled[0]);
        state.counters["lane1_handled"] = static_cast<double>(handled[1]);
        state.counters["lane0_shown"] = static_cast<double>(shown[0]);
        state.counters["lane1_shown"] = static_cast<double>(shown[1]);
        state.counters["sent_per_lane"] = static_cast<double>(expected);
        state.counters["max_backlog"] = s.dm.MaxPriceBacklog();
        state.counters["max_delay_ms"] = s.dm.MaxDelayMs();
    }
}
BENCHMARK(BM_TwoLaneFlood)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
