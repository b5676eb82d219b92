#include "audio/core/clockaudiostream.h"

#include "common/clock.h"

namespace qev {

ClockAudioStream::ClockAudioStream(std::shared_ptr<ClockStreamState> state, int bufferMs)
    : m_state(std::move(state))
    , m_bufferMs(bufferMs) {
    m_state->exists = true;
}

ClockAudioStream::~ClockAudioStream() {
    m_state->exists = false;
    m_state->playing = false;
}

bool ClockAudioStream::Start(const WaveFormat& format) {
    if (m_state->failNextStart) {
        m_state->failNextStart = false;
        return false;
    }
    if (!format.playable())
        return false;
    m_state->format = format;
    m_state->startedAtMs = Clock::current().nowMs();
    m_state->playing = true;
    ++m_state->starts;
    m_held.clear();
    m_playedBytes = 0;
    m_pendingSilence = 0;
    Refresh();
    return true;
}

void ClockAudioStream::Stop() {
    if (!m_state->playing)
        return;
    advance();
    m_state->playing = false;
    ++m_state->stops;
    m_held.clear();
}

void ClockAudioStream::advance() const {
    if (!m_state->playing)
        return;
    const WaveFormat& f = m_state->format;
    const qint64 align = qMax(1, f.blockAlign());
    const qint64 due =
        (Clock::current().nowMs() - m_state->startedAtMs) * f.bytesPerSecond() / 1000 / align * align;
    qint64 delta = due - m_playedBytes;
    if (delta <= 0)
        return;
    m_playedBytes = due;
    const qint64 take = qMin<qint64>(delta, m_held.size());
    if (take > 0) {
        if (m_pendingSilence > 0 && !m_state->heard.isEmpty()) {
            m_state->heard.append(
                QByteArray(qsizetype(m_pendingSilence), f.bits == 8 ? char(0x80) : char(0)));
            ++m_state->gaps;
        }
        m_pendingSilence = 0;
        m_state->heard.append(m_held.constData(), qsizetype(take));
        m_held.remove(0, qsizetype(take));
    }
    m_pendingSilence += delta - take;
}

qint64 ClockAudioStream::Held() const {
    advance();
    return m_held.size();
}

void ClockAudioStream::Refresh() {
    advance();
    if (!m_state->playing || !Source)
        return;
    const WaveFormat& f = m_state->format;
    const qint64 align = qMax(1, f.blockAlign());
    const qint64 room = f.bytesPerSecond() * m_bufferMs / 1000 / align * align - m_held.size();
    if (room <= 0)
        return;
    QByteArray buf(qsizetype(room), Qt::Uninitialized);
    const qsizetype n = Source(buf.data(), buf.size());
    if (n > 0)
        m_held.append(buf.constData(), n);
}

bool ClockAudioStream::SetVolume(int attenuation) {
    m_state->volume = attenuation;
    return true;
}

} // namespace qev
