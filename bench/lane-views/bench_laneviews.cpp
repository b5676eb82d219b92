// The lane views on screen: a price step on a shown lot (price, gauge, bid button) until the
// view's pixels are painted, for both view kinds; and a press of the bid button until the
// router has read the "BD:" line, beside a bare loopback socket carrying the same bytes.
#include "bench/support/baresocket.h"
#include "bench/support/paintcounter.h"
#include "bench/support/percentiles.h"
#include "common/pumpwait.h"
#include "lanes/views/laneviewimages.h"
#include "lanes/views/twin1of2.h"
#include "lanes/views/twin1of4.h"
#include "session/codec/linecodec.h"
#include "skin/fontsetup.h"
#include "skin/qev2016resbutton.h"
#include "tools/auction-house/lanes/bidrecorder.h"
#include "tools/lane-harness/signedinsession.h"
#include "tools/lane-harness/standinhost.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>

using namespace qev;

namespace {

constexpr int kWaitMs = 10000;

// Made by main, which outlives every benchmark (the sockets must go before the application).
SignedInSession* g_session = nullptr;

SignedInSession& Session() {
    return *g_session;
}

const LaneViewImages& Images() {
    static const LaneViewImages images = LaneViewImages::Load();
    return images;
}

// A shown view of lane 0 with lot 105 on the block and bidding open.
std::unique_ptr<TLaneView> ShownView(StandInHost& host, bool oneLane) {
    std::unique_ptr<TLaneView> view;
    if (oneLane)
        view = std::make_unique<TWin1Of2>(host, Images());
    else
        view = std::make_unique<TWin1Of4>(host, Images());
    QWidget parking;
    view->Attach(&parking, Session().dm.get());
    view->setParent(nullptr);
    view->SiteNumber = 12;
    view->ExhibitNo = 105;
    host.record = RecordFromText(QStringLiteral("REAL_EXHIBIT_NO=105\nREAL_CAR_NAME=プリウス\n"));
    host.exhibitor = "2002";
    view->ShowCurrentLot(*host.record, true, false);
    view->SetLotState(2);
    view->show();
    QCoreApplication::processEvents();
    return view;
}

void BM_PriceStepToPixels(benchmark::State& state) {
    StandInHost host;
    auto view = ShownView(host, state.range(0) == 1);
    PaintCounter counter;
    for (QWidget* part : view->findChildren<QWidget*>())
        part->installEventFilter(&counter);
    int price = 1000;
    std::vector<double> us;
    for (auto _ : state) {
        ++price;
        QElapsedTimer t;
        t.start();
        view->SetPrice(price);
        view->SetGauge(1 + price % 3);
        view->UpdateBidButton();
        // The repaint of what changed, into the window's backing store.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        us.push_back(static_cast<double>(t.nsecsElapsed()) / 1000.0);
    }
    state.counters["paints_per_step"] = double(counter.paints) / double(us.size());
    Percentiles(state, us);
}
BENCHMARK(BM_PriceStepToPixels)->Arg(1)->Arg(2)->Iterations(5000)->Unit(benchmark::kMicrosecond);

void BM_BidPressToRouter(benchmark::State& state) {
    SignedInSession& s = Session();
    StandInHost host;
    auto view = ShownView(host, state.range(0) == 1);
    TQEV2016ResButton& bid = *view->BidButton();
    if (!bid.isEnabled()) {
        state.SkipWithError("bid button disabled");
        return;
    }
    bool read = false;
    s.lanes.Recorder().OnRecorded = [&read](BidRecorder&, const RecordedLine&) { read = true; };
    const QPoint centre = bid.rect().center();
    std::vector<double> us;
    for (auto _ : state) {
        s.clock.advance(TTrrFrame::kBidWindowMs); // each press opens a new bid window
        read = false;
        QElapsedTimer t;
        t.start();
        bid.Press(centre);
        while (!read)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        us.push_back(static_cast<double>(t.nsecsElapsed()) / 1000.0);
        state.PauseTiming();
        bid.ReleaseAt(centre);
        view->TimeBDTimer();
        if (s.lanes.Recorder().Lines().size() > 1000)
            s.lanes.Recorder().Clear();
        state.ResumeTiming();
    }
    s.lanes.Recorder().OnRecorded = nullptr;
    Percentiles(state, us);
}
BENCHMARK(BM_BidPressToRouter)->Arg(1)->Arg(2)->Iterations(5000)->Unit(benchmark::kMicrosecond);

// A bid line's bytes over a bare loopback socket: written, read whole at the other end.
void BM_BareSocketOneWay(benchmark::State& state) {
    BareSocketOneWay(state, LineScramble(Session().dm->BidLineText(0)) + '\r');
}
BENCHMARK(BM_BareSocketOneWay)->Iterations(5000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallFontSubstitutions();
    SignedInSession session;
    if (!session.Start())
        qFatal("the local auction house did not take the session");
    g_session = &session;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
