// Decoding speed and the path of an audio frame from its bytes to a queued chunk.
#include "audio/core/cadecoder.h"
#include "audio/core/clockaudiodevice.h"
#include "audio/core/soundform.h"
#include "common/clock.h"
#include "session/audio/audioreceiver.h"
#include "tools/auction-house/audio/caframeencoder.h"
#include "tools/auction-house/audio/chantsynth.h"

#include <benchmark/benchmark.h>

using namespace qev;

namespace {

QList<qint16> chant(int samples) {
    ChantSynth synth({});
    synth.NewLot(1230);
    synth.Render(8000 * 2 / 5); // past the marker: the voice itself
    return synth.Render(samples);
}

} // namespace

// One second of GSM audio per iteration; "x_realtime" is seconds of audio decoded per second.
static void BM_GsmDecodeSecond(benchmark::State& state) {
    CaFrame frame;
    frame.codec = CaFrame::Gsm;
    frame.payload = CaFrameEncoder::Payload(CaFrameEncoder::Gsm, chant(8000));
    CaDecoder decoder;
    QByteArrayView pcm;
    for (auto _ : state) {
        decoder.decode(frame, pcm);
        benchmark::DoNotOptimize(pcm.data());
    }
    state.counters["x_realtime"] = benchmark::Counter(1.0, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_GsmDecodeSecond);

// A 40 ms "CA" frame that completes a chunk: bytes in → frame cut, decoded, gathered, queued and
// started on the (clock) player. Time per frame.
static void BM_FrameToQueuedChunk(benchmark::State& state) {
    const int codec = int(state.range(0));
    const QList<qint16> samples = chant(320);
    const QByteArray frame = CaFrameEncoder::Audio(codec, 8000, 1, 0, samples); // threshold 0
    auto device = std::make_unique<ClockAudioDevice>();
    TSoundForm out(std::move(device));
    out.InitAudio(8000, CaFrameEncoder::BitsOf(codec), 1);
    AudioReceiver rx(out);
    rx.SetServerFormat(8000);
    rx.HandleBytes(frame);
    for (auto _ : state) {
        out.ResetPlayback();
        rx.HandleBytes(frame);
    }
    state.SetLabel(codec == 0 ? "raw" : codec == 1 ? "zlib" : "gsm");
}
BENCHMARK(BM_FrameToQueuedChunk)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// The same frame in the steady state: the stream already plays, and the clock moves on by the
// frame's 40 ms each time, so every frame joins a running stream. Time per frame.
static void BM_FrameToRunningStream(benchmark::State& state) {
    const int codec = int(state.range(0));
    const QList<qint16> samples = chant(320);
    const QByteArray frame = CaFrameEncoder::Audio(codec, 8000, 1, 0, samples); // threshold 0
    ManualClock clock;
    ScopedClock scoped(clock);
    auto device = std::make_unique<ClockAudioDevice>();
    ClockAudioDevice* d = device.get();
    TSoundForm out(std::move(device));
    out.InitAudio(8000, CaFrameEncoder::BitsOf(codec), 1);
    AudioReceiver rx(out);
    rx.SetServerFormat(8000);
    rx.HandleBytes(frame);
    for (auto _ : state) {
        clock.advance(40);
        d->Refresh();
        rx.HandleBytes(frame);
    }
    state.SetLabel(codec == 0 ? "raw" : codec == 1 ? "zlib" : "gsm");
}
BENCHMARK(BM_FrameToRunningStream)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
