#pragma once

#include "tools/qev-tool/toolcommand.h"

#include <QByteArray>
#include <QByteArrayView>

namespace qev {

// Prints transform(TEXT) for each argument, or with none for each line of the input (cut at
// LF, the LF removed, every other byte kept), one output line per input. A failed transform
// prints an empty line and the tool goes on.
int RunLineTransform(ToolContext& context, QByteArray (*transform)(QByteArrayView));

// Longest input line handled; a longer one gives an empty output line.
inline constexpr qsizetype MaxToolLine = 1 << 20;

} // namespace qev
