#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace qev {

// Cuts the audio channel's byte stream into frames: a 16-bit little-endian body length, then the
// body with every byte XOR 0x9B. Byte-in / body-out, no socket.
class AudioFrameParser {
public:
    static constexpr quint8 kScrambleKey = 0x9B;

    void append(QByteArrayView bytes) { m_buffer.append(bytes.data(), bytes.size()); }
    // Takes the next whole frame off the buffer and gives its unscrambled body. False while the
    // buffer holds fewer than 3 bytes or fewer than the announced length plus 2.
    bool next(QByteArray& body);
    void clear() {
        m_buffer.clear();
        m_read = 0;
    }
    qsizetype pending() const { return m_buffer.size() - m_read; }

private:
    QByteArray m_buffer;
    qsizetype m_read = 0; // bytes of m_buffer already taken as frames
};

// The inverse, for the server side and tests: length prefix plus scrambled body.
QByteArray EncodeAudioFrame(QByteArrayView body);

} // namespace qev
