#include "session/codec/linecodec.h"
#include "tools/qev-tool/commands.h"
#include "tools/qev-tool/linetransform.h"

namespace qev {

int RunDecipherCommand(ToolContext& context) {
    return RunLineTransform(context, [](QByteArrayView text) { return LineDecipher(text); });
}

} // namespace qev
