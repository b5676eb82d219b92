// Price drawing: a price step arrives -> the back buffer is redrawn -> the widget paints it.
#include "lanes/widgets/auctiongauge.h"
#include "lanes/widgets/qev2016pricepanel.h"
#include "skin/skinimages.h"

#include <QApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

using namespace qev;

namespace {

void BM_PriceSetValue(benchmark::State& state) {
    TQEV2016PricePanel panel;
    panel.SetOneLane(state.range(0) == 1);
    int v = 10000;
    for (auto _ : state) {
        panel.SetValue(v);
        v = v >= 99999 ? 10000 : v + 13;
        benchmark::DoNotOptimize(panel.BackBuffer().constBits());
    }
}
BENCHMARK(BM_PriceSetValue)->Arg(1)->Arg(2);

void BM_PriceSetValueAndPaint(benchmark::State& state) {
    TQEV2016PricePanel panel;
    QImage screen(panel.size(), QImage::Format_RGB32);
    int v = 10000;
    for (auto _ : state) {
        panel.SetValue(v);
        panel.render(&screen);
        v = v >= 99999 ? 10000 : v + 13;
        benchmark::DoNotOptimize(screen.constBits());
    }
}
BENCHMARK(BM_PriceSetValueAndPaint);

void BM_GaugeCompose(benchmark::State& state) {
    TAuctionGauge gauge;
    gauge.resize(150, 36);
    gauge.SetBitmapOn(LoadSkinImage(QStringLiteral("1_GAUGE_ON")));
    gauge.SetBitmapOff(LoadSkinImage(QStringLiteral("1_GAUGE_OFF")));
    int level = 0;
    for (auto _ : state) {
        level = (level + 1) % 4;
        gauge.SetValue(level);
        benchmark::DoNotOptimize(gauge.Compose().constBits());
    }
}
BENCHMARK(BM_GaugeCompose);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
