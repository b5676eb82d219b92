#include "session/audio/audioreceiver.h"

namespace qev {

AudioReceiver::AudioReceiver(TSoundForm& output)
    : m_output(output) {}

AudioReceiver::~AudioReceiver() {
    *m_alive = false;
}

void AudioReceiver::Reset() {
    m_parser.clear();
    m_pcm.clear();
    m_decoder.resetGsm();
}

void AudioReceiver::SetServerFormat(int rate) {
    m_rate = rate;
    m_bits = 8;
}

qsizetype AudioReceiver::Threshold(int rate, int percentage) {
    // 64-bit: the fields are whatever the server wrote.
    const qint64 t = qint64(rate) * qint64(percentage) / 100;
    return qsizetype(qBound<qint64>(0, t, kMaxAccumulated));
}

void AudioReceiver::HandleBytes(QByteArrayView bytes) {
    m_parser.append(bytes);
    const std::shared_ptr<bool> alive = m_alive;
    QByteArray body;
    while (*alive && m_parser.next(body))
        handleFrame(body);
}

void AudioReceiver::handleFrame(const QByteArray& body) {
    if (body.size() < 2)
        return;
    const QByteArrayView type = QByteArrayView(body).first(2);
    if (type == QByteArrayView("QN")) {
        if (OnSubscriptionRequest) {
            auto handler = OnSubscriptionRequest;
            handler(*this);
        }
    } else if (type == QByteArrayView("CA")) {
        handleAudio(body.size() > 3 ? QByteArrayView(body).sliced(3) : QByteArrayView());
    }
}

void AudioReceiver::handleAudio(QByteArrayView content) {
    if (!m_output.volumeApplied())
        m_output.SetVolume(m_output.volume());
    if (!m_output.started())
        return;
    const CaFrame frame = CaFrame::parse(content);
    // The GSM stream goes on only while the frames' format does; a flush mark ends it.
    if (frame.rate != m_frameRate || frame.bits != m_frameBits || frame.codec != m_frameCodec ||
        !frame.carriesAudio)
        m_decoder.resetGsm();
    m_frameRate = frame.rate;
    m_frameBits = frame.bits;
    m_frameCodec = frame.codec;
    if (frame.rate != m_rate || frame.bits != m_bits) {
        m_rate = frame.rate;
        m_bits = frame.bits;
        m_output.SetPcmFormat(m_rate, m_bits, 1);
    }
    if (!frame.carriesAudio) {
        if (!m_pcm.isEmpty())
            m_output.QueueChunk(frame.sequence, std::exchange(m_pcm, {}));
        return;
    }
    QByteArrayView pcm;
    if (!m_decoder.decode(frame, pcm))
        return;
    m_pcm.append(pcm.data(), pcm.size());
    if (m_pcm.size() >= Threshold(frame.rate, frame.percentage))
        m_output.QueueChunk(frame.sequence, std::exchange(m_pcm, {}));
}

} // namespace qev
