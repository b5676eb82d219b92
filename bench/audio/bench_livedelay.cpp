// The delay the client adds between an audio frame's arrival and its first sample leaving the
// sound device, measured on a private PulseAudio null sink: the frame goes through the receiver,
// the output queue and a Qt Multimedia player; the sink's monitor is recorded and the tone's
// onset is timed by when its recorded bytes reach this process. That includes the recorder's own
// capture latency (about 20 ms), so the figure is an upper bound.
#include "audio/core/audioframeparser.h"
#include "audio/core/soundform.h"
#include "audio/device/qtaudiodevice.h"
#include "common/pumpwait.h"
#include "pulsenullsink.h"
#include "session/audio/audioreceiver.h"

#include <QCoreApplication>
#include <QMediaDevices>
#include <QtEndian>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>

using namespace qev;

namespace {

qint64 nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// 200 ms of a loud 1 kHz tone as one raw 8-bit frame that makes a chunk by itself.
QByteArray toneFrame() {
    QByteArray pcm(1600, '\0');
    for (int i = 0; i < pcm.size(); ++i)
        pcm[i] = char(128 + int(110 * std::sin(2 * M_PI * 1000 * i / 8000.0)));
    return EncodeAudioFrame(QByteArray("CA 1,0,,,8,8000,1,20," + pcm));
}

qsizetype onsetFrom(const QByteArray& rec, qsizetype from) {
    for (qsizetype i = from & ~qsizetype(1); i + 1 < rec.size(); i += 2) {
        if (qAbs(qFromLittleEndian<qint16>(rec.constData() + i)) > 3000)
            return i;
    }
    return -1;
}

} // namespace

static void BM_FrameToDeviceNullSink(benchmark::State& state) {
    static PulseNullSink pulse;
    static bool ready = pulse.start() &&
                        PumpWait([] { return !QMediaDevices::defaultAudioOutput().isNull(); }, 10000) &&
                        pulse.startRecording();
    if (!ready) {
        state.SkipWithError("no PulseAudio null sink");
        return;
    }
    TSoundForm out(std::make_unique<QtAudioDevice>());
    out.InitAudio(8000, 8, 1);
    AudioReceiver rx(out);
    rx.SetServerFormat(8000);
    const QByteArray frame = toneFrame();
    double worst = 0;
    for (auto _ : state) {
        PumpFor(400);
        const qsizetype from = pulse.recorded().size();
        const qint64 t0 = nowNs();
        rx.HandleBytes(frame);
        qsizetype onset = -1;
        PumpWait([&] { return (onset = onsetFrom(pulse.recorded(), from)) >= 0; }, 3000);
        const double seconds = onset >= 0 ? (pulse.arrivalNs(onset) - t0) / 1e9 : 3.0;
        worst = qMax(worst, seconds);
        if (qEnvironmentVariableIsSet("QEV_BENCH_VERBOSE"))
            fprintf(stderr, "delay %.1f ms backlog %lld queued %d\n", seconds * 1000,
                    static_cast<long long>(out.backlog()), int(out.queued()));
        state.SetIterationTime(seconds);
    }
    state.counters["worst_ms"] = worst * 1000;
}
BENCHMARK(BM_FrameToDeviceNullSink)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
