// Costs of the house's lanes, and the loopback path a price and a bid take, each beside a bare
// QTcpSocket carrying the same bytes.
#include "session/codec/linecodec.h"
#include "tools/auction-house/lanes/auctionlanes.h"
#include "tools/auction-house/lanes/clientlinereader.h"
#include "tools/auction-house/lanes/laneengine.h"
#include "tools/auction-house/lanes/lanerouter.h"
#include "tools/auction-house/lanes/routerfaults.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <vector>

using namespace qev;

namespace {

using Clock = std::chrono::steady_clock;

const QByteArray kPrice = QByteArrayLiteral("PR:12,105,1234,2,2,0000,,45000.5000000000");

void Percentiles(benchmark::State& state, std::vector<double>& us) {
    if (us.empty())
        return;
    std::sort(us.begin(), us.end());
    state.counters["p50_us"] = us[us.size() / 2];
    state.counters["p99_us"] = us[std::min(us.size() - 1, us.size() * 99 / 100)];
}

template <typename Done> bool Spin(Done done, int seconds = 5) {
    const auto limit = Clock::now() + std::chrono::seconds(seconds);
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (Clock::now() > limit)
            return false;
    }
    return true;
}

LaneEngineConfig OneLot() {
    LaneEngineConfig config;
    config.siteNumber = 12;
    config.lots = {AuctionLot{12, 105, 1000, 0, false, 0}};
    config.floorOutbidPercent = 0;
    config.resetPercent = 0;
    return config;
}

// A connected client of a router that has greeted and identified.
struct Client {
    QTcpSocket socket;
    QByteArray buffer;
    int Lines() {
        buffer += socket.readAll();
        int n = 0;
        qsizetype start = 0;
        for (qsizetype cr = buffer.indexOf('\r'); cr >= 0; cr = buffer.indexOf('\r', start)) {
            benchmark::DoNotOptimize(LineUnscramble(QByteArrayView(buffer).sliced(start, cr - start)));
            start = cr + 1;
            ++n;
        }
        buffer.remove(0, start);
        return n;
    }
    bool Join(LaneRouter& router) {
        socket.connectToHost(QHostAddress(QHostAddress::LocalHost), router.Port());
        if (!socket.waitForConnected(5000))
            return false;
        socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        if (!Spin([&] { return Lines() > 0; }))
            return false;
        const int identified = router.IdentifiedCount();
        socket.write(LineScramble(QByteArray("NM:" + LineCipher("1234") + ",1.0.0.1,x,y,1")) + '\r');
        socket.flush();
        return Spin([&] { return router.IdentifiedCount() > identified; });
    }
};

// A bare pair of loopback sockets.
struct BarePair {
    QTcpServer server;
    QTcpSocket client;
    QTcpSocket* accepted = nullptr;
    bool Open() {
        if (!server.listen(QHostAddress(QHostAddress::LocalHost), 0))
            return false;
        client.connectToHost(QHostAddress(QHostAddress::LocalHost), server.serverPort());
        if (!client.waitForConnected(5000) || !Spin([&] { return server.hasPendingConnections(); }))
            return false;
        accepted = server.nextPendingConnection();
        accepted->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        client.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        return true;
    }
};

void BM_EngineAuction(benchmark::State& state) {
    LaneEngineConfig config = OneLot();
    config.lots.clear();
    for (int i = 0; i < 100; ++i)
        config.lots.append(AuctionLot{12, 100 + i, 1000, 1050, i % 3 == 0, -1});
    qint64 lines = 0;
    for (auto _ : state) {
        LaneEngine engine(config);
        QObject::connect(&engine, &LaneFeed::lineReady, [&](const QByteArray&) { ++lines; });
        while (engine.Step() >= 0) {
        }
    }
    state.counters["lines_per_s"] =
        benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_EngineAuction);

void BM_ClientLineReader(benchmark::State& state) {
    QByteArray bytes;
    for (int i = 0; i < 1000; ++i)
        bytes += LineScramble(QByteArray("BD:12,105," + LineCipher("1234") + ",1000,1.0.0.1")) + '\r';
    qint64 messages = 0;
    for (auto _ : state) {
        ClientLineReader reader;
        QList<ClientMessage> out;
        for (qsizetype pos = 0; pos < bytes.size(); pos += 1460)
            reader.Feed(QByteArrayView(bytes).sliced(pos, qMin<qsizetype>(1460, bytes.size() - pos)), out);
        messages += out.size();
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.counters["lines_per_s"] =
        benchmark::Counter(static_cast<double>(messages), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ClientLineReader);

// Router broadcasts a price -> a plain client has read and unscrambled it.
void BM_PriceRouterToClient(benchmark::State& state) {
    LaneEngine engine(OneLot());
    LaneRouter router(RouterKind::Watch, engine, nullptr);
    Client client;
    if (!router.Listen() || !client.Join(router)) {
        state.SkipWithError("router not reachable");
        return;
    }
    std::vector<double> us;
    for (auto _ : state) {
        const auto start = Clock::now();
        router.Deliver(kPrice);
        while (client.Lines() == 0)
            client.socket.waitForReadyRead(1000);
        us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    Percentiles(state, us);
}
BENCHMARK(BM_PriceRouterToClient)->Iterations(5000)->UseRealTime();

// The same scrambled bytes over a bare socket pair.
void BM_PriceBareSocket(benchmark::State& state) {
    BarePair pair;
    if (!pair.Open()) {
        state.SkipWithError("no loopback");
        return;
    }
    Client reader;
    std::vector<double> us;
    QByteArray got;
    for (auto _ : state) {
        const auto start = Clock::now();
        pair.accepted->write(LineScramble(kPrice) + '\r');
        pair.accepted->flush();
        got.clear();
        while (!got.contains('\r')) {
            pair.client.waitForReadyRead(1000);
            got += pair.client.readAll();
        }
        benchmark::DoNotOptimize(LineUnscramble(QByteArrayView(got).chopped(1)));
        us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    Percentiles(state, us);
}
BENCHMARK(BM_PriceBareSocket)->Iterations(5000)->UseRealTime();

// A client writes a bid -> the bidding router has read it, the lane answered and it is recorded.
void BM_BidClientToRouter(benchmark::State& state) {
    AuctionLanes lanes;
    if (!lanes.OpenLive({OneLot()})) {
        state.SkipWithError("lanes not open");
        return;
    }
    LaneEngine& engine = *lanes.Engine(0);
    while (engine.CurrentPhase() != LaneEngine::Phase::Bidding)
        engine.Step();
    Client client;
    if (!client.Join(lanes.Router(0, RouterKind::Bidding))) {
        state.SkipWithError("router not reachable");
        return;
    }
    const QByteArray id = LineCipher("1234");
    std::vector<double> us;
    for (auto _ : state) {
        // A stale price: the router reads, parses and judges it without moving the lot on.
        const QByteArray line = LineScramble(QByteArray("BD:12,105," + id + ",1,1.0.0.1")) + '\r';
        const qsizetype before = lanes.Recorder().Lines().size();
        const auto start = Clock::now();
        client.socket.write(line);
        client.socket.flush();
        Spin([&] { return lanes.Recorder().Lines().size() != before; });
        us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        if (lanes.Recorder().Lines().size() > 10'000)
            lanes.Recorder().Clear();
    }
    Percentiles(state, us);
}
BENCHMARK(BM_BidClientToRouter)->Iterations(5000)->UseRealTime();

// The same bytes from a bare client socket to a bare server socket read on the event loop.
void BM_BidBareSocket(benchmark::State& state) {
    BarePair pair;
    if (!pair.Open()) {
        state.SkipWithError("no loopback");
        return;
    }
    const QByteArray line = LineScramble(QByteArray("BD:12,105," + LineCipher("1234") + ",1,1.0.0.1")) + '\r';
    QByteArray got;
    QObject::connect(pair.accepted, &QTcpSocket::readyRead, [&] { got += pair.accepted->readAll(); });
    std::vector<double> us;
    for (auto _ : state) {
        got.clear();
        const auto start = Clock::now();
        pair.client.write(line);
        pair.client.flush();
        Spin([&] { return got.contains('\r'); });
        benchmark::DoNotOptimize(LineUnscramble(QByteArrayView(got).chopped(1)));
        us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    Percentiles(state, us);
}
BENCHMARK(BM_BidBareSocket)->Iterations(5000)->UseRealTime();

// How many prices a second one router pushes to two clients that keep reading.
void BM_RouterFanOut(benchmark::State& state) {
    LaneEngine engine(OneLot());
    LaneRouter router(RouterKind::Watch, engine, nullptr);
    Client a;
    Client b;
    if (!router.Listen() || !a.Join(router) || !b.Join(router)) {
        state.SkipWithError("router not reachable");
        return;
    }
    qint64 sent = 0;
    qint64 read = 0;
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i)
            router.Deliver(kPrice);
        sent += 100;
        read += a.Lines() + b.Lines();
    }
    while (read < 2 * sent &&
           Spin([&] { return a.socket.bytesAvailable() > 0 || b.socket.bytesAvailable() > 0; }))
        read += a.Lines() + b.Lines();
    state.counters["prices_per_s"] =
        benchmark::Counter(static_cast<double>(sent), benchmark::Counter::kIsRate);
    state.counters["lost"] = static_cast<double>(2 * sent - read);
}
BENCHMARK(BM_RouterFanOut)->UseRealTime();

// Both lanes flooded with prices at 10,000 a second each for ten seconds, two plain clients
// reading them on the same event loop, and a 10 ms timer that notes how late it fires.
void BM_FloodTwoLanes(benchmark::State& state) {
    const int perSecond = static_cast<int>(state.range(0));
    const int spanMs = static_cast<int>(state.range(1));
    for (auto _ : state) {
        AuctionLanes lanes;
        if (!lanes.OpenLive({OneLot(), OneLot()})) {
            state.SkipWithError("lanes not open");
            return;
        }
        Client clients[2];
        for (int lane = 0; lane < 2; ++lane) {
            if (!clients[lane].Join(lanes.Router(lane, RouterKind::Watch))) {
                state.SkipWithError("router not reachable");
                return;
            }
        }
        qint64 read[2] = {0, 0};
        for (int lane = 0; lane < 2; ++lane) {
            QObject::connect(&clients[lane].socket, &QTcpSocket::readyRead,
                             [&, lane] { read[lane] += clients[lane].Lines(); });
        }
        double maxLateMs = 0;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        auto last = Clock::now();
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const auto now = Clock::now();
            maxLateMs =
                std::max(maxLateMs, std::chrono::duration<double, std::milli>(now - last).count() - 10.0);
            last = now;
        });
        for (int lane = 0; lane < 2; ++lane)
            lanes.Router(lane, RouterKind::Watch).Faults().FloodPrices(perSecond, spanMs);
        last = Clock::now();
        tick.start(10);
        const qint64 total = static_cast<qint64>(perSecond) * spanMs / 1000;
        Spin([&] { return read[0] >= total && read[1] >= total; }, spanMs / 1000 + 5);
        tick.stop();
        state.counters["max_timer_late_ms"] = maxLateMs;
        state.counters["lost"] = static_cast<double>(2 * total - read[0] - read[1]);
        state.counters["prices"] = static_cast<double>(read[0] + read[1]);
    }
}
BENCHMARK(BM_FloodTwoLanes)
    ->Args({10'000, 10'000})
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
