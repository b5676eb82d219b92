#include "audio/core/clockaudiodevice.h"

namespace qev {

bool ClockAudioDevice::Open() {
    ++opens;
    return !failOpen;
}

bool ClockAudioDevice::SetPrimaryFormat(int rate, int bits, int channels) {
    primaryFormat = {rate, bits, channels};
    return true;
}

std::unique_ptr<TAudioStream> ClockAudioDevice::CreateStream(int) {
    auto state = std::make_shared<ClockStreamState>();
    state->failNextStart = std::exchange(failNextStart, false);
    m_states.push_back(state);
    auto stream = std::make_unique<ClockAudioStream>(state, bufferMs);
    m_live.push_back(stream.get());
    return stream;
}

void ClockAudioDevice::Refresh() {
    for (std::size_t i = 0; i < m_states.size(); ++i) {
        if (m_states[i]->exists)
            m_live[i]->Refresh();
    }
}

ClockStreamState& ClockAudioDevice::last() {
    return m_states.empty() ? m_none : *m_states.back();
}

QByteArray ClockAudioDevice::heard() const {
    QByteArray all;
    for (const auto& s : m_states)
        all += s->heard;
    return all;
}

bool ClockAudioDevice::sounding() const {
    for (std::size_t i = 0; i < m_states.size(); ++i) {
        if (m_states[i]->exists && m_states[i]->playing && m_live[i]->Held() > 0)
            return true;
    }
    return false;
}

} // namespace qev
