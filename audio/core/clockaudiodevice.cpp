#include "audio/core/clockaudiodevice.h"

namespace qev {

ClockAudioDevice::ClockAudioDevice() {
    for (auto& s : m_states)
        s = std::make_shared<ClockStreamState>();
}

bool ClockAudioDevice::Open() {
    ++opens;
    return !failOpen;
}

bool ClockAudioDevice::SetPrimaryFormat(int rate, int bits, int channels) {
    primaryFormat = {rate, bits, channels};
    return true;
}

std::unique_ptr<TAudioStream> ClockAudioDevice::CreateStream(int index) {
    if (index < 0 || index >= kMaxStreams)
        return {};
    auto& state = m_states[std::size_t(index)];
    *state = ClockStreamState{};
    state->onPlay = OnPlay;
    auto stream = std::make_unique<ClockAudioStream>(state);
    m_streams[std::size_t(index)] = stream.get();
    return stream;
}

void ClockAudioDevice::Refresh() {
    for (std::size_t i = 0; i < m_states.size(); ++i) {
        if (m_states[i]->exists && m_streams[i])
            m_streams[i]->Refresh();
    }
}

} // namespace qev
