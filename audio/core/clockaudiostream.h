#pragma once

#include "audio/core/audiostream.h"
#include "audio/core/waveimage.h"

#include <QByteArray>
#include <functional>
#include <memory>

namespace qev {

// What a test sees of one player of ClockAudioDevice; it outlives the player itself.
struct ClockStreamState {
    bool exists = false;
    bool playing = false;
    qint64 startedAtMs = 0;
    qint64 durationMs = 0;
    int volume = 0;
    int plays = 0;
    int stops = 0;
    WaveFormat format;
    QByteArray pcm; // the chunk now (or last) playing
    bool failNextPlay = false;
    // Called whenever a chunk starts (tests that need every chunk, not only the last).
    std::function<void(const ClockStreamState&)> onPlay;
};

// A player that "plays" on the injectable clock: a chunk lasts its byte length at the format's
// byte rate, and Refresh() ends it once that time has passed, with the same end-report order as
// the real player.
class ClockAudioStream final : public TAudioStream {
public:
    explicit ClockAudioStream(std::shared_ptr<ClockStreamState> state);
    ~ClockAudioStream() override;

    bool Play(const QByteArray& wave) override;
    void Stop() override;
    bool IsPlaying() const override { return m_state->playing; }
    bool SetVolume(int attenuation) override;

    // The 50 ms progress check: reports the end once the chunk has played out.
    void Refresh();

private:
    std::shared_ptr<ClockStreamState> m_state;
    std::shared_ptr<int> m_generation = std::make_shared<int>(0);
};

} // namespace qev
