#include "audio/core/audioframeparser.h"

namespace qev {

bool AudioFrameParser::next(QByteArray& body) {
    const qsizetype avail = m_buffer.size() - m_read;
    // Fewer than 3 bytes wait, even when the prefix already reads 0.
    if (avail < 3) {
        if (avail == 0 && m_read > 0) {
            m_buffer.clear();
            m_read = 0;
        }
        return false;
    }
    const auto* p = reinterpret_cast<const uchar*>(m_buffer.constData() + m_read);
    const qsizetype n = qsizetype(p[0]) | (qsizetype(p[1]) << 8);
    if (avail < n + 2)
        return false;
    body.resize(n);
    for (qsizetype i = 0; i < n; ++i)
        body[i] = char(p[2 + i] ^ kScrambleKey);
    m_read += n + 2;
    // Compact now and then rather than shifting the buffer for every frame.
    if (m_read == m_buffer.size()) {
        m_buffer.clear();
        m_read = 0;
    } else if (m_read >= 64 * 1024) {
        m_buffer.remove(0, m_read);
        m_read = 0;
    }
    return true;
}

QByteArray EncodeAudioFrame(QByteArrayView body) {
    Q_ASSERT(body.size() <= 0xFFFF);
    QByteArray out;
    out.reserve(body.size() + 2);
    out.append(char(body.size() & 0xFF));
    out.append(char((body.size() >> 8) & 0xFF));
    for (char c : body)
        out.append(char(quint8(c) ^ AudioFrameParser::kScrambleKey));
    return out;
}

} // namespace qev
