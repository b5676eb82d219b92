#include "audio/core/waveimage.h"

#include <QtEndian>

namespace qev {

namespace {

void put16(QByteArray& out, quint16 v) {
    uchar b[2];
    qToLittleEndian(v, b);
    out.append(reinterpret_cast<const char*>(b), 2);
}

void put32(QByteArray& out, quint32 v) {
    uchar b[4];
    qToLittleEndian(v, b);
    out.append(reinterpret_cast<const char*>(b), 4);
}

quint16 get16(QByteArrayView v, qsizetype at) {
    return qFromLittleEndian<quint16>(v.data() + at);
}
quint32 get32(QByteArrayView v, qsizetype at) {
    return qFromLittleEndian<quint32>(v.data() + at);
}

} // namespace

bool WaveFormat::playable() const {
    return (bits == 8 || bits == 16) && (channels == 1 || channels == 2) && rate >= 1000 && rate <= 192000;
}

QByteArray BuildWaveImage(const WaveFormat& format, QByteArrayView pcm) {
    QByteArray out;
    out.reserve(46 + pcm.size());
    out.append("RIFF", 4);
    put32(out, quint32(38 + pcm.size()));
    out.append("WAVEfmt ", 8);
    put32(out, 18);
    put16(out, 1);
    put16(out, quint16(format.channels));
    put32(out, quint32(format.rate));
    put32(out, quint32(format.bytesPerSecond()));
    put16(out, quint16(format.blockAlign()));
    put16(out, quint16(format.bits));
    put16(out, 0);
    out.append("data", 4);
    put32(out, quint32(pcm.size()));
    out.append(pcm.data(), pcm.size());
    return out;
}

bool ParseWaveImage(QByteArrayView image, WaveFormat& format, QByteArrayView& pcm) {
    if (image.size() < 12 || image.first(4) != QByteArrayView("RIFF") ||
        image.sliced(8, 4) != QByteArrayView("WAVE"))
        return false;
    bool haveFormat = false;
    qsizetype at = 12;
    while (image.size() - at >= 8) {
        const QByteArrayView id = image.sliced(at, 4);
        const quint32 size = get32(image, at + 4);
        const qsizetype body = at + 8;
        if (size > quint64(image.size() - body))
            return false;
        if (id == QByteArrayView("fmt ")) {
            if (size < 16 || get16(image, body) != 1)
                return false;
            format.channels = get16(image, body + 2);
            format.rate = int(qMin<quint32>(get32(image, body + 4), 0x7FFFFFFF));
            format.bits = get16(image, body + 14);
            haveFormat = true;
        } else if (id == QByteArrayView("data")) {
            if (!haveFormat)
                return false;
            pcm = image.sliced(body, size);
            return true;
        }
        at = body + qsizetype(size) + (size & 1);
    }
    return false;
}

} // namespace qev
