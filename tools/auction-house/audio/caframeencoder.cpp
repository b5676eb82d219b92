#include "tools/auction-house/audio/caframeencoder.h"

#include "audio/core/audioframeparser.h"
#include "tools/auction-house/audio/gsmstreamencoder.h"

#include <zlib.h>

namespace qev {

namespace {

QByteArray header(bool audio, int codec, int rate, int sequence, int percentage) {
    return QByteArrayLiteral("CA ") + (audio ? '1' : '0') + ',' + QByteArray::number(codec) + ",0,0," +
           QByteArray::number(CaFrameEncoder::BitsOf(codec)) + ',' + QByteArray::number(rate) + ',' +
           QByteArray::number(sequence) + ',' + QByteArray::number(percentage) + ',';
}

QByteArray toUnsigned8(const QList<qint16>& samples) {
    QByteArray out(samples.size(), '\0');
    for (qsizetype i = 0; i < samples.size(); ++i)
        out[i] = char((samples[i] >> 8) + 128);
    return out;
}

QByteArray deflate(const QByteArray& data) {
    uLongf size = compressBound(uLong(data.size()));
    QByteArray out(qsizetype(size), '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size,
                  reinterpret_cast<const Bytef*>(data.constData()), uLong(data.size()), Z_BEST_SPEED) != Z_OK)
        return {};
    out.resize(qsizetype(size));
    return out;
}

} // namespace

QByteArray CaFrameEncoder::Payload(int codec, const QList<qint16>& samples) {
    switch (codec) {
    case Raw8:
        return toUnsigned8(samples);
    case Gsm: {
        GsmStreamEncoder alone;
        return alone.Encode(samples);
    }
    default:
        return deflate(toUnsigned8(samples));
    }
}

QByteArray CaFrameEncoder::Audio(int codec, int rate, int sequence, int percentage,
                                 const QList<qint16>& samples, GsmStreamEncoder* gsm) {
    const QByteArray payload = codec == Gsm && gsm ? gsm->Encode(samples) : Payload(codec, samples);
    QByteArray body = header(true, codec, rate, sequence, percentage) + payload;
    if (body.size() > 0xFFFF)
        body.truncate(0xFFFF);
    return EncodeAudioFrame(body);
}

QByteArray CaFrameEncoder::FlushMark(int codec, int rate, int sequence, int percentage) {
    return EncodeAudioFrame(header(false, codec, rate, sequence, percentage));
}

QByteArray CaFrameEncoder::SubscriptionRequest() {
    return EncodeAudioFrame(QByteArrayView("QN "));
}

} // namespace qev
