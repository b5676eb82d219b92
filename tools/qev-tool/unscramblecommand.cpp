#include "session/codec/linecodec.h"
#include "tools/qev-tool/commands.h"
#include "tools/qev-tool/linetransform.h"

namespace qev {

int RunUnscrambleCommand(ToolContext& context) {
    return RunLineTransform(context, [](QByteArrayView text) { return LineUnscramble(text); });
}

} // namespace qev
