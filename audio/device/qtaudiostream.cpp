#include "audio/device/qtaudiostream.h"

namespace qev {

QtAudioStream::QtAudioStream(const QAudioDevice& device)
    : m_device(device) {
    m_refresh.setTimerType(Qt::PreciseTimer);
    m_refresh.setInterval(kRefreshMs);
    connect(&m_refresh, &QTimer::timeout, this, &QtAudioStream::feed);
}

QtAudioStream::~QtAudioStream() {
    halt();
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

void QtAudioStream::halt() {
    m_refresh.stop();
    m_playing = false;
    m_io = nullptr;
    m_carry.clear();
    if (m_sink) {
        m_sink->disconnect(this);
        m_sink->stop();
        m_sink.reset();
    }
}

bool QtAudioStream::Start(const WaveFormat& format) {
    const QAudioFormat qf = FormatOf(format);
    if (!qf.isValid())
        return false;
    halt();
    m_format = format;
    m_sink = std::make_unique<QAudioSink>(m_device, qf);
    // A short device buffer: whatever it holds can no longer be dropped when the voice falls behind.
    m_sink->setBufferSize(qsizetype(format.bytesPerSecond() * kBufferMs / 1000));
    m_sink->setVolume(m_gain);
    connect(m_sink.get(), &QAudioSink::stateChanged, this, &QtAudioStream::stateChanged);
    m_io = m_sink->start();
    if (!m_io || m_sink->error() != QAudio::NoError) {
        halt();
        return false;
    }
    m_playing = true;
    m_refresh.start();
    feed();
    return true;
}

void QtAudioStream::feed() {
    if (!m_playing || !m_io || m_feeding)
        return;
    m_feeding = true;
    const qint64 align = qMax(1, m_format.blockAlign());
    qint64 room = m_sink->bytesFree() / align * align;
    // What the sink did not take last time goes first, so no byte is lost or reordered.
    if (!m_carry.isEmpty() && room > 0) {
        const qint64 written =
            qMax<qint64>(0, m_io->write(m_carry.constData(), qMin<qint64>(room, m_carry.size())));
        m_carry.remove(0, qsizetype(written));
        room -= written;
    }
    while (m_carry.isEmpty() && room > 0 && Source) {
        m_scratch.resize(qsizetype(room));
        const qsizetype n = Source(m_scratch.data(), m_scratch.size());
        if (n <= 0)
            break;
        const qint64 written = qMax<qint64>(0, m_io->write(m_scratch.constData(), n));
        if (written < n)
            m_carry = m_scratch.sliced(qsizetype(written), n - qsizetype(written));
        room -= written;
    }
    m_feeding = false;
}

qint64 QtAudioStream::Held() const {
    if (!m_playing || !m_sink)
        return 0;
    return qMax<qint64>(0, m_sink->bufferSize() - m_sink->bytesFree()) + m_carry.size();
}

void QtAudioStream::stateChanged(QAudio::State state) {
    // Running dry is an underrun, not an end: the stream goes on with the next write. Only a
    // sound server that went away ends it.
    if (state == QAudio::StoppedState && m_sink && m_sink->error() != QAudio::NoError && m_playing)
        halt();
}

void QtAudioStream::Stop() {
    halt();
}

bool QtAudioStream::SetVolume(int attenuation) {
    m_gain = AttenuationToGain(attenuation);
    if (m_sink)
        m_sink->setVolume(m_gain);
    return true;
}

} // namespace qev
