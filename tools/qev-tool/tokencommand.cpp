#include "session/codec/linecodec.h"
#include "tools/qev-tool/commands.h"

namespace qev {

int RunTokenCommand(ToolContext& context) {
    if (context.args.size() != 1) {
        context.err.write("usage: qev-tool token SERIAL\n");
        return 2;
    }
    context.out.write(MachineToken(context.args.first()) + '\n');
    return 0;
}

} // namespace qev
