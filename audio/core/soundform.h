#pragma once

#include "audio/core/audiodevice.h"
#include "audio/core/waveimage.h"
#include "audio/core/waveitem.h"

#include <QByteArray>
#include <deque>
#include <functional>
#include <memory>
#include <stdexcept>

namespace qev {

// The live audio output: chunks play one after another on one continuous stream of their format,
// so the voice is heard gapless and never on top of itself. The delay stays bounded: past
// kMaxBacklogMs of waiting audio the oldest is dropped, and the device holds only a short buffer.
// A stream that ran dry starts again behind kLeadMs of silence, which absorbs the jitter of the
// next chunks' arrival.
class TSoundForm {
public:
    static constexpr int kMaxBacklogMs = 500;
    static constexpr int kLeadMs = 60;

    explicit TSoundForm(std::unique_ptr<AudioDevice> device);
    ~TSoundForm();
    TSoundForm(const TSoundForm&) = delete;
    TSoundForm& operator=(const TSoundForm&) = delete;

    // Opens the device; counts as started even when the device failed.
    // Throws std::logic_error("Already Initialized") when already started.
    void InitAudio(int rate, int bits, int channels);
    // The format of the chunks queued from now on.
    void SetPcmFormat(int rate, int bits, int channels);
    void QueueChunk(int sequence, QByteArray pcm);
    // Drops the waiting audio and stops the stream, with what the device still holds.
    void ResetPlayback();
    void SetVolume(int attenuation);
    void FinalizeAudio();

    bool started() const { return m_started; }
    bool volumeApplied() const { return m_volumeApplied; }
    int volume() const { return m_volume; }
    const WaveFormat& format() const { return m_format; }
    // Chunks (lead silence included) not yet wholly handed to the device.
    qsizetype queued() const { return qsizetype(m_queue.size()); }
    // Bytes of those not yet handed to the device.
    qint64 backlog() const { return m_backlog; }
    TAudioStream* stream() const { return m_stream.get(); }
    // The format of the stream now playing (the backlog's format).
    const WaveFormat& streamFormat() const { return m_streamFormat; }

    // Every chunk handed in once started, before it is queued, in the format() it is for.
    std::function<void(TSoundForm& sender, const TWaveItem& chunk)> OnChunkQueued;

private:
    bool ensureStream();
    void dropStream();
    void trimBacklog();
    qsizetype pull(char* data, qsizetype max);

    std::unique_ptr<AudioDevice> m_device;
    std::unique_ptr<TAudioStream> m_stream;
    WaveFormat m_streamFormat;
    int m_streamsMade = 0;
    std::deque<TWaveItem> m_queue;
    qsizetype m_frontOffset = 0; // bytes of the oldest chunk already handed over
    qint64 m_backlog = 0;
    WaveFormat m_format;
    int m_volume = 0;
    bool m_volumeApplied = false;
    bool m_started = false;
    bool m_deviceOpen = false;
};

} // namespace qev
