#include "tools/auction-house/lanes/bidrecorder.h"

namespace qev {

void BidRecorder::Record(RecordedLine line) {
    if (m_lines.size() >= m_limit) {
        const qsizetype half = m_limit / 2;
        m_lines.remove(0, half);
        m_dropped += half;
    }
    m_lines.append(std::move(line));
    if (OnRecorded) {
        // Copies: a handler may clear the recorder or replace the handler.
        const auto handler = OnRecorded;
        const RecordedLine kept = m_lines.constLast();
        handler(*this, kept);
    }
}

void BidRecorder::Clear() {
    m_lines.clear();
    m_dropped = 0;
}

QList<RecordedLine> BidRecorder::WithCode(const char* code) const {
    QList<RecordedLine> out;
    for (const RecordedLine& line : m_lines) {
        if (line.code == code)
            out.append(line);
    }
    return out;
}

} // namespace qev
