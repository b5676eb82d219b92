#pragma once

#include <QByteArray>

namespace qev {

// Received bytes waiting for their CR. A partial line longer than the limit is dropped with
// everything buffered, so a peer that never sends a CR cannot grow memory without bound.
class LineBuffer {
public:
    explicit LineBuffer(qsizetype limit = 65536)
        : m_limit(limit) {}

    // Appends bytes; false when the partial line overran the limit and the buffer was dropped.
    bool Append(QByteArrayView bytes);
    // Cuts off the text before the first CR (and the CR); false when no whole line is buffered.
    bool TakeLine(QByteArray& line);
    // Cuts off everything up to and including the last CR; empty when no whole line is buffered.
    QByteArray TakeComplete();
    void Clear() {
        m_data.clear();
        m_head = 0;
    }
    qsizetype Size() const { return m_data.size() - m_head; }

private:
    qsizetype m_limit;
    QByteArray m_data;
    // Where the untaken bytes start: lines are taken by moving it, so cutting a burst of many
    // lines costs each line its own length, not the whole buffer's.
    qsizetype m_head = 0;
};

} // namespace qev
