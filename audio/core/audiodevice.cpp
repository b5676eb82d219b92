#include "audio/core/audiodevice.h"

namespace qev {

AudioDevice::~AudioDevice() = default;

} // namespace qev
