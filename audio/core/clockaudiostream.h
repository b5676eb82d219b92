#pragma once

#include "audio/core/audiostream.h"
#include "audio/core/waveimage.h"

#include <QByteArray>
#include <memory>

namespace qev {

// What a test sees of one stream of ClockAudioDevice; it outlives the stream itself.
struct ClockStreamState {
    bool exists = false;
    bool playing = false;
    int starts = 0;
    int stops = 0;
    int volume = 0;
    qint64 startedAtMs = 0;
    WaveFormat format;
    // Everything the device has played since the first audible byte, silence of underruns
    // included (as the format's silence); silence after the last audio is not in it yet.
    QByteArray heard;
    int gaps = 0; // underruns that audio came back after
    bool failNextStart = false;
};

// A stream that "plays" on the injectable clock at its format's byte rate out of a device buffer
// of bufferMs, which it tops up from Source on Wake() and Refresh() (the real device's periodic
// pull), exactly as the sound server would.
class ClockAudioStream final : public TAudioStream {
public:
    ClockAudioStream(std::shared_ptr<ClockStreamState> state, int bufferMs);
    ~ClockAudioStream() override;

    bool Start(const WaveFormat& format) override;
    void Stop() override;
    bool IsPlaying() const override { return m_state->playing; }
    void Wake() override { Refresh(); }
    qint64 Held() const override;
    bool SetVolume(int attenuation) override;

    // Plays what is due by now, then refills the device buffer.
    void Refresh();

private:
    void advance() const;

    std::shared_ptr<ClockStreamState> m_state;
    int m_bufferMs;
    mutable QByteArray m_held;
    mutable qint64 m_playedBytes = 0; // since the start, silence included
    mutable qint64 m_pendingSilence = 0;
};

} // namespace qev
