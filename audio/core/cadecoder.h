#pragma once

#include "audio/core/caframe.h"

#include <QByteArray>
#include <QByteArrayView>
#include <memory>

namespace qev {

// Turns a "CA" payload into PCM: raw as it is, zlib streams inflated (bounded), GSM 6.10 in the
// WAVE packing (65-byte blocks of 320 samples) decoded to 16-bit little-endian mono. GSM payloads
// are slices of one continuous stream: the decoder's state runs on from payload to payload until
// resetGsm(), since a fresh state garbles the first block of every payload.
// The returned view points into the payload or into a buffer kept from frame to frame; it stays
// valid until the next call.
class CaDecoder {
public:
    static constexpr qsizetype kMaxInflated = 1 << 20;
    static constexpr qsizetype kGsmBlockBytes = 65;
    static constexpr qsizetype kGsmBlockSamples = 320;

    // False when the payload yields no PCM (broken, oversized, or nothing to decode).
    bool decode(const CaFrame& frame, QByteArrayView& pcm);

    // Inflates a zlib stream (with header) into out, at most limit bytes; false when the stream is
    // broken, truncated or would inflate past the limit. sizeHint is the first guess of the size.
    static bool inflate(QByteArrayView payload, qsizetype sizeHint, QByteArray& out,
                        qsizetype limit = kMaxInflated);

    // Decodes the whole 65-byte blocks of payload; a tail that is not a whole block is left out.
    bool decodeGsm(QByteArrayView payload, QByteArrayView& pcm);

    // Forgets the GSM set-up and the decoder's state: the next GSM payload starts a new stream
    // (a flush mark, a format change, a new subscription, a new connection).
    void resetGsm();
    void prepareGsmFormats();
    bool gsmReady() const { return m_gsmReady; }

    CaDecoder();
    ~CaDecoder();
    CaDecoder(const CaDecoder&) = delete;
    CaDecoder& operator=(const CaDecoder&) = delete;

private:
    struct GsmState;

    QByteArray m_inflateBuffer;
    QByteArray m_decodeBuffer;
    std::unique_ptr<GsmState> m_gsm;
    bool m_gsmReady = false;
    bool m_gsmPossible = false;
};

} // namespace qev
