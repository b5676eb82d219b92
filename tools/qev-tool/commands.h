#pragma once

#include "tools/qev-tool/toolcommand.h"

namespace qev {

// One function per command, each in its own file.
int RunCipherCommand(ToolContext& context);
int RunDecipherCommand(ToolContext& context);
int RunScrambleCommand(ToolContext& context);
int RunUnscrambleCommand(ToolContext& context);
int RunTokenCommand(ToolContext& context);
int RunSessionCommand(ToolContext& context);

} // namespace qev
