// The audio channel's receiving side: frame cutting, "QN", "CA" fields, decoding, PCM gathering
// and the output queue. The first byte splits the rest into two data events.
#include "audio/core/clockaudiodevice.h"
#include "audio/core/soundform.h"
#include "session/audio/audioreceiver.h"

#include <QByteArrayView>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace qev;
    if (size == 0)
        return 0;
    auto device = std::make_unique<ClockAudioDevice>();
    ClockAudioDevice* d = device.get();
    TSoundForm out(std::move(device));
    out.InitAudio(8000, 8, 1);
    AudioReceiver rx(out);
    rx.SetServerFormat(8000);
    int requests = 0;
    rx.OnSubscriptionRequest = [&](AudioReceiver&) {
        ++requests;
        out.ResetPlayback();
    };
    const QByteArrayView all(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    const qsizetype cut = qMin<qsizetype>(all.size(), data[0] * 4);
    rx.HandleBytes(all.first(cut));
    d->Refresh();
    rx.HandleBytes(all.sliced(cut));
    // The delay behind the live voice stays bounded, whatever the frames announce.
    const WaveFormat& f = out.streamFormat();
    if (out.backlog() > f.bytesPerSecond() * TSoundForm::kMaxBacklogMs / 1000)
        __builtin_trap();
    return 0;
}
