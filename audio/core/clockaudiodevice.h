#pragma once

#include "audio/core/audiodevice.h"
#include "audio/core/clockaudiostream.h"

#include <array>
#include <memory>

namespace qev {

// Test double of the sound device: players that play on the injectable clock. Tests move the
// clock and call Refresh() where the real players' 50 ms check would run.
class ClockAudioDevice final : public AudioDevice {
public:
    static constexpr int kMaxStreams = 8;

    ClockAudioDevice();

    bool Open() override;
    bool SetPrimaryFormat(int rate, int bits, int channels) override;
    std::unique_ptr<TAudioStream> CreateStream(int index) override;

    // Runs every live player's progress check once, in index order.
    void Refresh();

    const ClockStreamState& state(int index) const { return *m_states.at(std::size_t(index)); }
    ClockStreamState& state(int index) { return *m_states.at(std::size_t(index)); }

    // Given to every player created afterwards: called with its state when a chunk starts.
    std::function<void(const ClockStreamState&)> OnPlay;
    bool failOpen = false;
    int opens = 0;
    WaveFormat primaryFormat;

private:
    std::array<std::shared_ptr<ClockStreamState>, kMaxStreams> m_states;
    std::array<ClockAudioStream*, kMaxStreams> m_streams{};
};

} // namespace qev
