#pragma once

#include "tools/auction-house/lanes/recordedline.h"

#include <QList>
#include <functional>

namespace qev {

// Keeps every "BD:" and "CF:" line the routers received, for tests and the house's log.
// Bounded: past the limit the oldest half is dropped and counted.
class BidRecorder {
public:
    static constexpr qsizetype kDefaultLimit = 100'000;

    explicit BidRecorder(qsizetype limit = kDefaultLimit)
        : m_limit(qMax<qsizetype>(2, limit)) {}

    void Record(RecordedLine line);

    const QList<RecordedLine>& Lines() const { return m_lines; }
    QList<RecordedLine> Bids() const { return WithCode("BD"); }
    QList<RecordedLine> Confirmations() const { return WithCode("CF"); }
    qsizetype Dropped() const { return m_dropped; }
    void Clear();

    // Fired after each line was kept.
    std::function<void(BidRecorder&, const RecordedLine&)> OnRecorded;

private:
    QList<RecordedLine> WithCode(const char* code) const;

    qsizetype m_limit;
    QList<RecordedLine> m_lines;
    qsizetype m_dropped = 0;
};

} // namespace qev
