#include "tools/auction-house/lanes/scenario.h"

#include <algorithm>

namespace qev {

namespace {
bool Fail(QByteArray* error, int lineNo, const char* why) {
    if (error)
        *error = "line " + QByteArray::number(lineNo) + ": " + why;
    return false;
}

// Cuts the next space-separated word off text.
QByteArrayView NextWord(QByteArrayView& text) {
    text = text.trimmed();
    qsizetype end = 0;
    while (end < text.size() && text[end] != ' ' && text[end] != '\t')
        ++end;
    const QByteArrayView word = text.first(end);
    text = text.sliced(end);
    return word;
}
} // namespace

QList<Scenario::Entry> Scenario::ForLane(int lane) const {
    QList<Entry> out;
    for (const Entry& entry : entries) {
        if (entry.lane == lane)
            out.append(entry);
    }
    std::stable_sort(out.begin(), out.end(), [](const Entry& a, const Entry& b) { return a.atMs < b.atMs; });
    return out;
}

bool Scenario::Parse(QByteArrayView text, Scenario& out, QByteArray* error) {
    out.entries.clear();
    if (text.size() > kMaxTextBytes)
        return Fail(error, 0, "script too large");
    int lineNo = 0;
    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype end = text.indexOf('\n', pos);
        if (end < 0)
            end = text.size();
        QByteArrayView rest = text.sliced(pos, end - pos).trimmed();
        pos = end + 1;
        ++lineNo;
        if (rest.isEmpty() || rest.front() == '#')
            continue;
        bool ok = false;
        const int lane = NextWord(rest).toInt(&ok);
        if (!ok || lane < 0 || lane >= kMaxLanes)
            return Fail(error, lineNo, "bad lane");
        const int atMs = NextWord(rest).toInt(&ok);
        if (!ok || atMs < 0 || atMs > kMaxAtMs)
            return Fail(error, lineNo, "bad time");
        rest = rest.trimmed();
        if (rest.size() < 3 || rest[2] != ':')
            return Fail(error, lineNo, "bad line");
        if (rest.size() > kMaxLineBytes)
            return Fail(error, lineNo, "line too long");
        if (rest.contains('\r'))
            return Fail(error, lineNo, "carriage return inside a line");
        if (out.entries.size() >= kMaxEntries)
            return Fail(error, lineNo, "too many entries");
        out.entries.append({lane, atMs, rest.toByteArray()});
    }
    return true;
}

} // namespace qev
