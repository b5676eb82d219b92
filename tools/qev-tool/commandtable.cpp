#include "tools/qev-tool/commands.h"

#include <array>

namespace qev {

std::span<const ToolCommand> ToolCommands() {
    static constexpr std::array commands{
        ToolCommand{"cipher", "[TEXT...]", RunCipherCommand},
        ToolCommand{"decipher", "[TEXT...]", RunDecipherCommand},
        ToolCommand{"scramble", "[TEXT...]", RunScrambleCommand},
        ToolCommand{"unscramble", "[TEXT...]", RunUnscrambleCommand},
        ToolCommand{"token", "SERIAL", RunTokenCommand},
        ToolCommand{"session", "--server HOST:PORT --id ID --password PW", RunSessionCommand},
    };
    return commands;
}

} // namespace qev
