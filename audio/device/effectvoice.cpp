#include "audio/device/effectvoice.h"

namespace qev {

EffectVoice::~EffectVoice() = default;

} // namespace qev
