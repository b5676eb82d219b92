#pragma once

#include "audio/core/waveimage.h"

#include <QByteArray>
#include <QtGlobal>
#include <functional>

namespace qev {

// One continuous stream of the live audio in one PCM format. It pulls PCM through Source whenever
// the device has room, so chunk follows chunk without a gap or an overlap, and plays silence while
// Source has nothing. The device keeps only a short buffer of its own: the backlog, and the right
// to drop from it, stay with the caller.
class TAudioStream {
public:
    virtual ~TAudioStream();

    // Starts playing format; false when the device does not take it.
    virtual bool Start(const WaveFormat& format) = 0;
    // Stops at once; what the device still holds is not played.
    virtual void Stop() = 0;
    // Started, and not stopped by itself (a sound server that went away).
    virtual bool IsPlaying() const = 0;
    // Source has new PCM: pull it now rather than at the next refresh.
    virtual void Wake() = 0;
    // Bytes handed to the device and not yet played.
    virtual qint64 Held() const = 0;
    // attenuation in hundredths of a decibel (0 full, -10000 silence). False on failure.
    virtual bool SetVolume(int attenuation) = 0;

    // Copies up to max bytes of the next PCM into data; returns how many (0: nothing yet).
    std::function<qsizetype(char* data, qsizetype max)> Source;
};

// Linear gain of an attenuation in hundredths of a decibel: 10^(att / 2000), clamped to [0, 1].
double AttenuationToGain(int attenuation);

} // namespace qev
