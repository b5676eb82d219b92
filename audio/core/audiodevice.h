#pragma once

#include "audio/core/audiostream.h"

#include <memory>

namespace qev {

// The sound device behind the live audio output: opened once, then asked for a stream per format.
class AudioDevice {
public:
    virtual ~AudioDevice();

    // False when there is no usable device (a headless machine included).
    virtual bool Open() = 0;
    // The device-wide PCM format; false when the device does not take it.
    virtual bool SetPrimaryFormat(int rate, int bits, int channels) = 0;
    // A new, not yet started stream; index counts the streams made so far.
    virtual std::unique_ptr<TAudioStream> CreateStream(int index) = 0;
};

} // namespace qev
