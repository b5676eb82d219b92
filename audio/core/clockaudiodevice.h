#pragma once

#include "audio/core/audiodevice.h"
#include "audio/core/clockaudiostream.h"

#include <memory>
#include <vector>

namespace qev {

// Test double of the sound device: streams that play on the injectable clock. Tests move the
// clock and call Refresh() where the real device's periodic pull would run.
class ClockAudioDevice final : public AudioDevice {
public:
    static constexpr int kBufferMs = 100;

    bool Open() override;
    bool SetPrimaryFormat(int rate, int bits, int channels) override;
    std::unique_ptr<TAudioStream> CreateStream(int index) override;

    // Runs every live stream's pull once.
    void Refresh();

    // The streams made so far, oldest first; last() is the newest (a blank state before any).
    int streams() const { return int(m_states.size()); }
    const ClockStreamState& state(int index) const { return *m_states.at(std::size_t(index)); }
    ClockStreamState& last();
    // Everything heard on every stream, in order.
    QByteArray heard() const;
    // A stream is playing and the device still holds audio of it.
    bool sounding() const;

    bool failOpen = false;
    bool failNextStart = false;
    int opens = 0;
    int bufferMs = kBufferMs;
    WaveFormat primaryFormat;

private:
    std::vector<std::shared_ptr<ClockStreamState>> m_states;
    std::vector<ClockAudioStream*> m_live; // valid while its state exists
    ClockStreamState m_none;
};

} // namespace qev
