#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace qev {

// PCM format of a chunk or a sound.
struct WaveFormat {
    int rate = 0;
    int bits = 0;
    int channels = 0;

    int blockAlign() const { return channels * bits / 8; }
    qint64 bytesPerSecond() const { return qint64(blockAlign()) * rate; }
    // Formats a player can take: 8- or 16-bit PCM, 1 or 2 channels, a sane rate.
    bool playable() const;
    friend bool operator==(const WaveFormat&, const WaveFormat&) = default;
};

// A RIFF/WAVE image: an 18-byte PCM format chunk (extra size 0) and a data chunk.
QByteArray BuildWaveImage(const WaveFormat& format, QByteArrayView pcm);

// Reads a PCM RIFF/WAVE image; false when it is not one. pcm is a view into image.
bool ParseWaveImage(QByteArrayView image, WaveFormat& format, QByteArrayView& pcm);

} // namespace qev
