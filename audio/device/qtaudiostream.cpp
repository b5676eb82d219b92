#include "audio/device/qtaudiostream.h"

#include <QTimer>

namespace qev {

QtAudioStream::QtAudioStream(const QAudioDevice& device)
    : m_device(device) {}

QtAudioStream::~QtAudioStream() {
    ++*m_generation;
    OnEnd = nullptr;
    haltSink();
}

QAudioFormat QtAudioStream::FormatOf(const WaveFormat& f) {
    QAudioFormat q;
    if (!f.playable())
        return q;
    q.setSampleRate(f.rate);
    q.setChannelCount(f.channels);
    q.setSampleFormat(f.bits == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
    return q;
}

void QtAudioStream::haltSink() {
    if (m_sink) {
        m_sink->disconnect(this);
        m_sink->stop();
    }
    m_buffer.close();
}

bool QtAudioStream::Play(const QByteArray& wave) {
    WaveFormat f;
    QByteArrayView pcm;
    if (!ParseWaveImage(wave, f, pcm))
        return false;
    const QAudioFormat qf = FormatOf(f);
    if (!qf.isValid())
        return false;
    ++*m_generation;
    haltSink();
    // A fresh sink per chunk: a reused one shrinks its buffer on every start until it stalls.
    m_sink = std::make_unique<QAudioSink>(m_device, qf);
    m_format = f;
    m_sink->setVolume(m_gain);
    m_pcm = pcm.toByteArray();
    m_buffer.setData(m_pcm);
    if (!m_buffer.open(QIODevice::ReadOnly))
        return false;
    connect(m_sink.get(), &QAudioSink::stateChanged, this, &QtAudioStream::stateChanged);
    m_sink->start(&m_buffer);
    if (m_sink->error() != QAudio::NoError) {
        haltSink();
        return false;
    }
    m_playing = true;
    const int generation = *m_generation;
    const qint64 lengthMs = f.bytesPerSecond() > 0 ? qint64(m_pcm.size()) * 1000 / f.bytesPerSecond() : 0;
    QTimer::singleShot(int(qMin<qint64>(lengthMs + kOverdueMs, 600'000)), this,
                       [this, generation] { overdue(generation); });
    return true;
}

void QtAudioStream::stateChanged(QAudio::State state) {
    if (!m_playing)
        return;
    if (state == QAudio::IdleState && m_buffer.atEnd()) {
        // All handed over; the sink still holds its buffered tail.
        const qint64 held = qMax<qint64>(0, m_sink->bufferSize() - m_sink->bytesFree());
        const qint64 bps = m_format.bytesPerSecond();
        const int ms = bps > 0 ? int(held * 1000 / bps) : 0;
        const int generation = *m_generation;
        if (ms <= 2) {
            playedOut(generation);
            return;
        }
        QTimer::singleShot(ms, this, [this, generation] { playedOut(generation); });
    } else if (state == QAudio::StoppedState && m_sink && m_sink->error() != QAudio::NoError) {
        // The sound server went away: the chunk is over.
        m_playing = false;
        haltSink();
        if (OnEnd) {
            auto handler = OnEnd;
            handler(*this);
        }
    }
}

void QtAudioStream::playedOut(int generation) {
    if (!m_playing || *m_generation != generation)
        return;
    // Report first, while this player still counts as playing.
    const std::shared_ptr<int> alive = m_generation;
    if (OnEnd) {
        auto handler = OnEnd;
        handler(*this);
    }
    if (*alive != generation)
        return; // restarted, stopped or destroyed by the handler
    m_playing = false;
}

void QtAudioStream::overdue(int generation) {
    if (!m_playing || *m_generation != generation)
        return;
    haltSink();
    playedOut(generation);
}

void QtAudioStream::Stop() {
    if (!m_playing)
        return;
    ++*m_generation;
    m_playing = false;
    haltSink();
    if (OnEnd) {
        auto handler = OnEnd;
        handler(*this);
    }
}

bool QtAudioStream::SetVolume(int attenuation) {
    m_gain = AttenuationToGain(attenuation);
    if (m_sink)
        m_sink->setVolume(m_gain);
    return true;
}

} // namespace qev
