#include "tools/qev-tool/toolcommand.h"

#include <QCoreApplication>
#include <QFile>
#include <unistd.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QByteArrayList args;
    for (int i = 1; i < argc; ++i)
        args.append(QByteArray(argv[i]));

    QFile in;
    QFile out;
    QFile err;
    // Descriptor-based and unbuffered input: a read returns whatever a pipe has delivered.
    in.open(STDIN_FILENO, QIODevice::ReadOnly | QIODevice::Unbuffered);
    out.open(STDOUT_FILENO, QIODevice::WriteOnly);
    err.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    const int status = qev::RunTool(args, in, out, err);
    out.flush();
    return status;
}
