#pragma once

#include "lanes/qev2016laneinfo.h"

#include <QByteArray>
#include <QByteArrayView>
#include <array>

namespace qev {

// The two lane status records and the reading of information lines into them.
// Record i answers lane i, so the lane numbers in the lines and the lane indexes of the
// main window meet.
class TLaneStatusBoard {
public:
    static constexpr int RecordCount = 2;
    // Information texts longer than this are cut (the server sends a few lines of numbers).
    static constexpr qsizetype MaxInformationBytes = 64 * 1024;

    TLaneStatusBoard();

    // Applies every "|"-separated line of an information text, up to the first empty one.
    void ApplyInformation(QByteArrayView text);
    // Applies one lane line to the record of its lane; an unchanged line is skipped unless forced.
    void ApplyLaneLine(QByteArrayView line, bool force);
    // True when the record of lane index lane reports the lane closed.
    bool IsLaneClosed(int lane) const;

    const TQEV2016LaneInfo& Record(int slot) const { return m_records.at(size_t(slot)); }
    TQEV2016LaneInfo* RecordOfLane(int lane);

    // Reads a field of hhmm form (at least six digits, hour and minute first); midnight when
    // out of range.
    static QTime ReadTimeOfDay(int value);

private:
    std::array<TQEV2016LaneInfo, RecordCount> m_records;
};

} // namespace qev
