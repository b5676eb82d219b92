#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace qev {

// A deterministic lane script: timed lines per lane.
//
// Text form, one entry per line ("#" starts a comment line, blank lines are skipped):
//   <lane> <ms from start> <line>
// e.g. "0 250 PR:12,105,1000,2,2,0000,,{now}". "{now}" in a line becomes the server time when
// the line is sent, so prices carry a fresh time stamp.
struct Scenario {
    struct Entry {
        int lane = 0;
        int atMs = 0;
        QByteArray line;
    };

    static constexpr qsizetype kMaxTextBytes = 4 * 1024 * 1024;
    static constexpr int kMaxEntries = 100'000;
    static constexpr int kMaxLineBytes = 4096;
    static constexpr int kMaxLanes = 4;
    static constexpr int kMaxAtMs = 3'600'000;

    QList<Entry> entries;

    // The entries of one lane in the order they play (by time; equal times keep text order).
    QList<Entry> ForLane(int lane) const;

    // Reads the text form; false (and error set) on the first bad entry or when a limit is passed.
    static bool Parse(QByteArrayView text, Scenario& out, QByteArray* error = nullptr);
};

} // namespace qev
