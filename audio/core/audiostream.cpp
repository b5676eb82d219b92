#include "audio/core/audiostream.h"

#include <cmath>

namespace qev {

TAudioStream::~TAudioStream() = default;

double AttenuationToGain(int attenuation) {
    if (attenuation >= 0)
        return 1.0;
    if (attenuation <= -10000)
        return 0.0;
    return std::pow(10.0, attenuation / 2000.0);
}

} // namespace qev
