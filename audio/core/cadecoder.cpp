#include "audio/core/cadecoder.h"

#include <QtEndian>
#include <gsm.h>
#include <memory>
#include <zlib.h>

namespace qev {

namespace {

struct GsmDeleter {
    void operator()(gsm g) const { gsm_destroy(g); }
};
using GsmHandle = std::unique_ptr<std::remove_pointer_t<gsm>, GsmDeleter>;

GsmHandle makeWav49Decoder() {
    GsmHandle g(gsm_create());
    if (!g)
        return {};
    int one = 1;
    if (gsm_option(g.get(), GSM_OPT_WAV49, &one) < 0)
        return {};
    return g;
}

} // namespace

struct CaDecoder::GsmState {
    GsmHandle handle;
};

CaDecoder::CaDecoder() = default;
CaDecoder::~CaDecoder() = default;

void CaDecoder::resetGsm() {
    m_gsm.reset();
    m_gsmReady = false;
    m_gsmPossible = false;
}

bool CaDecoder::decode(const CaFrame& frame, QByteArrayView& pcm) {
    if (frame.payload.isEmpty())
        return false;
    switch (frame.codec) {
    case CaFrame::Raw:
        pcm = frame.payload;
        return true;
    case CaFrame::Gsm:
        return decodeGsm(frame.payload, pcm);
    default:
        if (!inflate(frame.payload, frame.rate, m_inflateBuffer))
            return false;
        pcm = m_inflateBuffer;
        return !m_inflateBuffer.isEmpty();
    }
}

bool CaDecoder::inflate(QByteArrayView payload, qsizetype sizeHint, QByteArray& out, qsizetype limit) {
    out.clear();
    if (payload.isEmpty() || payload.size() > qsizetype(std::numeric_limits<uInt>::max()))
        return false;
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK)
        return false;
    const auto cleanup = qScopeGuard([&zs] { inflateEnd(&zs); });
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(payload.data()));
    zs.avail_in = uInt(payload.size());
    qsizetype capacity = qBound<qsizetype>(4096, sizeHint, limit);
    out.resize(capacity);
    qsizetype produced = 0;
    for (;;) {
        zs.next_out = reinterpret_cast<Bytef*>(out.data() + produced);
        zs.avail_out = uInt(capacity - produced);
        const int rc = ::inflate(&zs, Z_NO_FLUSH);
        produced = capacity - qsizetype(zs.avail_out);
        if (rc == Z_STREAM_END)
            break;
        if (rc != Z_OK && rc != Z_BUF_ERROR) {
            out.clear();
            return false;
        }
        if (zs.avail_out != 0) {
            // Input used up before the stream ended: truncated.
            out.clear();
            return false;
        }
        if (capacity >= limit) {
            out.clear();
            return false;
        }
        capacity = qMin(capacity * 2, limit);
        out.resize(capacity);
    }
    out.resize(produced);
    return true;
}

void CaDecoder::prepareGsmFormats() {
    m_gsmReady = true;
    m_gsm = std::make_unique<GsmState>(GsmState{makeWav49Decoder()});
    m_gsmPossible = bool(m_gsm->handle);
}

bool CaDecoder::decodeGsm(QByteArrayView payload, QByteArrayView& pcm) {
    if (!m_gsmReady)
        prepareGsmFormats();
    if (!m_gsmPossible)
        return false;
    const qsizetype blocks = payload.size() / kGsmBlockBytes;
    if (blocks == 0)
        return false;
    gsm g = m_gsm->handle.get();
    const qsizetype size = blocks * kGsmBlockSamples * 2;
    if (m_decodeBuffer.size() != size)
        m_decodeBuffer.resize(size);
    gsm_signal samples[kGsmBlockSamples];
    gsm_byte block[kGsmBlockBytes];
    auto* out = reinterpret_cast<uchar*>(m_decodeBuffer.data());
    for (qsizetype b = 0; b < blocks; ++b) {
        memcpy(block, payload.data() + b * kGsmBlockBytes, kGsmBlockBytes);
        // A WAVE block is two frames: 33 bytes, then 32 (the decoder keeps the parity).
        if (gsm_decode(g, block, samples) < 0 || gsm_decode(g, block + 33, samples + 160) < 0) {
            m_decodeBuffer.resize(b * kGsmBlockSamples * 2);
            // Half a block leaves the decoder off its two-frame rhythm: start afresh.
            prepareGsmFormats();
            break;
        }
        for (int i = 0; i < kGsmBlockSamples; ++i)
            qToLittleEndian<qint16>(samples[i], out + (b * kGsmBlockSamples + i) * 2);
    }
    pcm = m_decodeBuffer;
    return !m_decodeBuffer.isEmpty();
}

} // namespace qev
