#include "tools/qev-tool/toolcommand.h"

namespace qev {

QByteArray ToolUsage() {
    QByteArray names;
    for (const ToolCommand& c : ToolCommands()) {
        if (!names.isEmpty())
            names += '|';
        names += c.name;
    }
    return "usage: qev-tool " + names + " [ARGS...]\n";
}

int RunTool(const QByteArrayList& args, QIODevice& in, QIODevice& out, QIODevice& err) {
    if (!args.isEmpty()) {
        for (const ToolCommand& c : ToolCommands()) {
            if (args.first() == c.name) {
                ToolContext context{args.mid(1), in, out, err};
                return c.run(context);
            }
        }
    }
    err.write(ToolUsage());
    return 2;
}

} // namespace qev
