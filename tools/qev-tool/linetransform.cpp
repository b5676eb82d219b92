#include "tools/qev-tool/linetransform.h"

#include <QFileDevice>

namespace qev {

namespace {

void writeLine(QIODevice& out, const QByteArray& result) {
    out.write(result);
    out.write("\n", 1);
}

} // namespace

int RunLineTransform(ToolContext& context, QByteArray (*transform)(QByteArrayView)) {
    if (!context.args.isEmpty()) {
        for (const QByteArray& text : std::as_const(context.args))
            writeLine(context.out, transform(text));
        return 0;
    }

    QByteArray line;
    bool tooLong = false;
    const auto finishLine = [&] {
        writeLine(context.out, tooLong ? QByteArray() : transform(line));
        line.clear();
        tooLong = false;
    };
    QByteArray chunk;
    for (;;) {
        // Returns what has arrived (blocking until something has), empty at the end.
        chunk = context.in.read(64 * 1024);
        if (chunk.isEmpty())
            break;
        qsizetype start = 0;
        while (start < chunk.size()) {
            const qsizetype lf = chunk.indexOf('\n', start);
            const qsizetype end = lf < 0 ? chunk.size() : lf;
            if (!tooLong) {
                if (line.size() + (end - start) > MaxToolLine) {
                    tooLong = true;
                    line.clear();
                } else {
                    line.append(chunk.constData() + start, end - start);
                }
            }
            if (lf < 0)
                break;
            finishLine();
            start = lf + 1;
        }
        // Answers reach a pipe while the other side may still be writing.
        if (auto* file = qobject_cast<QFileDevice*>(&context.out))
            file->flush();
    }
    if (!line.isEmpty() || tooLong)
        finishLine();
    return 0;
}

} // namespace qev
