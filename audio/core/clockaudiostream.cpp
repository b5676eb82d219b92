#include "audio/core/clockaudiostream.h"

#include "common/clock.h"

namespace qev {

ClockAudioStream::ClockAudioStream(std::shared_ptr<ClockStreamState> state)
    : m_state(std::move(state)) {
    m_state->exists = true;
}

ClockAudioStream::~ClockAudioStream() {
    m_state->exists = false;
    m_state->playing = false;
    ++*m_generation;
}

bool ClockAudioStream::Play(const QByteArray& wave) {
    if (m_state->failNextPlay) {
        m_state->failNextPlay = false;
        return false;
    }
    WaveFormat f;
    QByteArrayView pcm;
    if (!ParseWaveImage(wave, f, pcm))
        return false;
    ++*m_generation;
    m_state->format = f;
    m_state->pcm = pcm.toByteArray();
    m_state->startedAtMs = Clock::current().nowMs();
    // A format without a byte rate "plays" for no time at all.
    const qint64 rate = f.bytesPerSecond();
    m_state->durationMs = rate > 0 ? (qint64(pcm.size()) * 1000 + rate - 1) / rate : 0;
    m_state->playing = true;
    ++m_state->plays;
    if (m_state->onPlay) {
        const auto report = m_state->onPlay;
        report(*m_state);
    }
    return true;
}

void ClockAudioStream::Stop() {
    if (!m_state->playing)
        return;
    ++*m_generation;
    m_state->playing = false;
    ++m_state->stops;
    if (OnEnd) {
        auto handler = OnEnd;
        handler(*this);
    }
}

bool ClockAudioStream::SetVolume(int attenuation) {
    m_state->volume = attenuation;
    return true;
}

void ClockAudioStream::Refresh() {
    if (!m_state->playing || Clock::current().nowMs() < m_state->startedAtMs + m_state->durationMs)
        return;
    // The report comes first, while this player still counts as playing.
    const std::shared_ptr<int> generation = m_generation;
    const std::shared_ptr<ClockStreamState> state = m_state;
    const int before = *generation;
    if (OnEnd) {
        auto handler = OnEnd;
        handler(*this);
    }
    // The handler may have destroyed, stopped or restarted this player.
    if (*generation == before)
        state->playing = false;
}

} // namespace qev
