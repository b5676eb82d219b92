#pragma once

#include <QByteArrayList>
#include <QIODevice>
#include <span>

namespace qev {

// What a command gets: its own arguments (as raw bytes, so Shift-JIS text passes unchanged)
// and the three standard streams.
struct ToolContext {
    QByteArrayList args;
    QIODevice& in;
    QIODevice& out;
    QIODevice& err;
};

// One qev-tool command. run returns the exit status; 2 means a usage error.
struct ToolCommand {
    const char* name;
    const char* synopsis; // the arguments, for the usage line
    int (*run)(ToolContext& context);
};

// Every command, in the order the usage line lists them (commandtable.cpp).
std::span<const ToolCommand> ToolCommands();

// Runs the command named by args[0]; an unknown or missing name prints the usage line and
// gives 2.
int RunTool(const QByteArrayList& args, QIODevice& in, QIODevice& out, QIODevice& err);

// "usage: qev-tool cipher|decipher|... [ARGS...]"
QByteArray ToolUsage();

} // namespace qev
