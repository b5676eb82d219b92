// The dealer's window against the local auction house in this process: start until the login
// screen shows (the notice page served by the house, in the real browser engine); a "PR:" line
// written on the router's socket until the price is painted on the two-lane screen, beside a
// bare loopback socket; and the two-lane screen idling with both lanes running (CPU and memory).
#include "app/centerform.h"
#include "app/loginpanel.h"
#include "app/web/webengineenvironment.h"
#include "app/web/webenginewebpane.h"
#include "bench/support/paintcounter.h"
#include "bench/support/percentiles.h"
#include "common/pumpwait.h"
#include "common/settingsstore.h"
#include "lanes/views/tlaneview.h"
#include "lanes/widgets/qev2016pricepanel.h"
#include "skin/fontsetup.h"
#include "tools/auction-house/announcedlanes.h"
#include "tools/auction-house/auctionhouse.h"
#include "tools/auction-house/lanes/auctionlanes.h"
#include "tools/auction-house/lanes/lanerouter.h"
#include "tools/auction-house/web/auctionwebserver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <sys/resource.h>

using namespace qev;

namespace {

constexpr int kWaitMs = 30000;

// A house with its web server (the notice page, lot files, photos); scripted lanes when given.
struct Stage {
    QTemporaryDir dir;
    std::unique_ptr<AuctionHouse> house;
    std::unique_ptr<SettingsStore> settings;
    std::unique_ptr<TCenterForm> window;

    bool Open(HouseConfig c) {
        house = std::make_unique<AuctionHouse>(std::move(c));
        QString error;
        if (!house->Start(&error))
            return false;
        const QString ini = dir.filePath(QStringLiteral("qevreal.ini"));
        QSettings s(ini, QSettings::IniFormat);
        s.setValue(QStringLiteral("Uri/Login"), QString::fromLatin1(house->SignInAddress()));
        s.setValue(QStringLiteral("Uri/Web"),
                   QStringLiteral("http://127.0.0.1:%1").arg(house->Web()->Port()));
        s.sync();
        settings = std::make_unique<SettingsStore>(
            SettingsStore::Paths{ini, dir.filePath(QStringLiteral("user/QEV2016/QEV2016.ini"))});
        return true;
    }
    // The window, shown; true once the login screen is there.
    bool Start() {
        TCenterForm::Services services;
        services.settings = settings.get();
        services.makeWebPane = [](QWidget* parent) -> std::unique_ptr<WebPane> {
            return std::make_unique<WebEngineWebPane>(parent);
        };
        services.screen = QSize(1280, 1024);
        services.logPath = dir.filePath(QStringLiteral("qevreal.log"));
        services.cacheFolder = dir.filePath(QStringLiteral("cache/"));
        window = std::make_unique<TCenterForm>(std::move(services));
        window->show();
        return PumpWait([this] { return window->Screen() == TCenterForm::scLogin; }, kWaitMs);
    }
    bool LogIn() {
        window->LoginPanel().EdtLoginID().setText(QStringLiteral("1001"));
        window->LoginPanel().EdtLoginPassword().setText(QStringLiteral("demo"));
        window->Login(TLoginPanel::kTwoLaneTag);
        return window->Screen() == TCenterForm::scAuction;
    }
};

HouseConfig WebOnly() {
    HouseConfig c = HouseConfig::Default();
    c.signInPort = 0;
    c.dataPort = 0;
    c.webPort = 0;
    c.audioServer = false;
    c.webServer = true;
    return c;
}

void BM_StartToLoginScreen(benchmark::State& state) {
    Stage stage;
    if (!stage.Open(WebOnly())) {
        state.SkipWithError("no house");
        return;
    }
    std::vector<double> us;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        if (!stage.Start()) {
            state.SkipWithError("no login screen");
            return;
        }
        us.push_back(double(t.nsecsElapsed()) / 1000.0);
        state.PauseTiming();
        stage.window.reset();
        state.ResumeTiming();
    }
    Percentiles(state, us);
}
BENCHMARK(BM_StartToLoginScreen)->Iterations(10)->Unit(benchmark::kMillisecond);

void BM_PriceLineToPixels(benchmark::State& state) {
    AuctionLanes lanes;
    if (!lanes.OpenScripted(Scenario{}, 2)) {
        state.SkipWithError("no lanes");
        return;
    }
    HouseConfig c = WebOnly();
    AnnounceLanes(c, lanes);
    Stage stage;
    if (!stage.Open(c) || !stage.Start() || !stage.LogIn()) {
        state.SkipWithError("no auction screen");
        return;
    }
    LaneRouter& router = lanes.Router(0, RouterKind::Watch);
    router.Deliver("EN:12,45,46,47");
    auto& view = static_cast<TLaneView&>(stage.window->TwoLaneViewOf(0));
    PumpWait([&view] { return view.ExhibitNo == 45; }, kWaitMs);
    PaintCounter probe;
    view.PricePanel().installEventFilter(&probe);
    int price = 1000;
    std::vector<double> us;
    for (auto _ : state) {
        ++price;
        const int before = probe.paints;
        QElapsedTimer t;
        t.start();
        router.Deliver("PR:12,45," + QByteArray::number(price) + ",2,4,2002,,");
        while (view.PricePanel().Value() != price || probe.paints == before)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        us.push_back(double(t.nsecsElapsed()) / 1000.0);
    }
    Percentiles(state, us);
}
BENCHMARK(BM_PriceLineToPixels)->Iterations(2000)->Unit(benchmark::kMicrosecond);

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double ResidentMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

// The two-lane screen with both lanes running at live pace for a while (60 s unless
// QEV_BENCH_IDLE_SECONDS says otherwise). The house runs in this process too, so its share
// is in the figure: an upper bound for the window.
void BM_TwoLaneScreenIdle(benchmark::State& state) {
    HouseConfig c = WebOnly();
    c.liveLanes = true;
    Stage stage;
    if (!stage.Open(c) || !stage.Start() || !stage.LogIn()) {
        state.SkipWithError("no auction screen");
        return;
    }
    const int seconds = qEnvironmentVariableIsSet("QEV_BENCH_IDLE_SECONDS")
                            ? qEnvironmentVariableIntValue("QEV_BENCH_IDLE_SECONDS")
                            : 60;
    for (auto _ : state) {
        PumpFor(2000); // the first lots and pictures
        const double cpu = CpuSeconds();
        QElapsedTimer t;
        t.start();
        PumpFor(seconds * 1000);
        const double wall = double(t.elapsed()) / 1000.0;
        state.counters["cpu_percent_of_one_core"] = 100.0 * (CpuSeconds() - cpu) / wall;
        state.counters["resident_mb"] = ResidentMb();
    }
}
BENCHMARK(BM_TwoLaneScreenIdle)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    PrepareWebEngineEnvironment();
    QApplication app(argc, argv);
    InstallFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
