// Sign-in speed: the server's whole sign-in answer cut, deciphered and parsed; data-channel lines
// cut and unscrambled by the module; and a full sign-in over loopback against the in-process house.
#include "common/pumpwait.h"
#include "session/codec/linecodec.h"
#include "session/procsdm.h"
#include "session/signinparser.h"
#include "tools/auction-house/auctionhouse.h"
#include "tools/auction-house/signinreplies.h"

#include <QCoreApplication>
#include <QTcpSocket>
#include <benchmark/benchmark.h>

using namespace qev;

namespace {

QByteArray SignInAnswer() {
    HouseConfig config = HouseConfig::Default();
    HouseDirectory directory;
    directory.dataAddress = "127.0.0.1:1200";
    for (int l = 0; l < 4; ++l)
        directory.lanes.append(
            {"A", "127.0.0.1:2000", "127.0.0.1:2001", "127.0.0.1/detail", "127.0.0.1/photo"});
    const qint64 now = 1'700'000'000'000;
    QByteArray wire;
    for (const QByteArray& line :
         {SignInReplies::ServerTime(now), SignInReplies::Announcement(config),
          SignInReplies::SignedIn(config, config.accounts.front(), now), SignInReplies::ClientParams(config),
          SignInReplies::Appearance(config), SignInReplies::ServerInformation(directory)})
        wire += LineCipher(line) + '\r';
    return wire;
}

void BM_SignInAnswerParsed(benchmark::State& state) {
    const QByteArray wire = SignInAnswer();
    for (auto _ : state) {
        for (const QList<SignInLine>& piece : SplitSignInReceipt(wire)) {
            for (const SignInLine& line : piece) {
                if (line.code == "ST")
                    benchmark::DoNotOptimize(ParseStatus(line.payload));
                else if (line.code == "SV")
                    benchmark::DoNotOptimize(ParseServerInformation(line.payload));
            }
        }
    }
    state.SetBytesProcessed(state.iterations() * wire.size());
}
BENCHMARK(BM_SignInAnswerParsed);

void BM_DataLinesReceived(benchmark::State& state) {
    QByteArray wire;
    for (int i = 0; i < 100; ++i)
        wire += LineScramble(QByteArray("NI:" + QByteArray(80, 'x'))) + '\r';
    TProcsDm dm;
    for (auto _ : state)
        dm.ReceiveData(wire);
    state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_DataLinesReceived);

void BM_SignInOverLoopback(benchmark::State& state) {
    HouseConfig config = HouseConfig::Default();
    config.signInPort = 0;
    AuctionHouse house(config);
    if (!house.Start()) {
        state.SkipWithError("house did not start");
        return;
    }
    TProcsDm dm;
    const QByteArray id = LineCipher("1001");
    const QByteArray password = LineCipher("demo");
    for (auto _ : state) {
        dm.SignIn(house.SignInAddress(), id, password);
        PumpWait([&] { return dm.State() == ssInSession || dm.State() == ssOffline; }, 5000);
        state.PauseTiming();
        dm.CloseAll();
        PumpWait(
            [&] {
                return dm.findChildren<QTcpSocket*>().first()->state() == QAbstractSocket::UnconnectedState;
            },
            5000);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SignInOverLoopback)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
