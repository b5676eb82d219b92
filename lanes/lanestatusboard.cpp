#include "lanes/lanestatusboard.h"

#include "lanes/wirefields.h"

namespace qev {

TLaneStatusBoard::TLaneStatusBoard() {
    for (int i = 0; i < RecordCount; ++i)
        m_records[size_t(i)].laneNumber = i;
}

TQEV2016LaneInfo* TLaneStatusBoard::RecordOfLane(int lane) {
    for (TQEV2016LaneInfo& record : m_records) {
        if (record.laneNumber == lane)
            return &record;
    }
    return nullptr;
}

void TLaneStatusBoard::ApplyInformation(QByteArrayView text) {
    QByteArray rest = text.first(qMin(text.size(), MaxInformationBytes)).toByteArray();
    while (true) {
        const QByteArray piece = TrimBlanks(SplitHead(rest, '|'));
        if (piece.isEmpty())
            return;
        ApplyLaneLine(piece, false);
    }
}

QTime TLaneStatusBoard::ReadTimeOfDay(int value) {
    const QByteArray digits = QByteArray::number(value).rightJustified(6, '0');
    const int hour = ReadDecimal(QByteArrayView(digits).first(2), -1);
    const int minute = ReadDecimal(QByteArrayView(digits).sliced(2, 2), -1);
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59)
        return QTime(0, 0);
    return QTime(hour, minute);
}

void TLaneStatusBoard::ApplyLaneLine(QByteArrayView line, bool force) {
    QByteArray rest = line.toByteArray();
    auto field = [&rest](int fallback) { return ReadDecimal(SplitHead(rest, ','), fallback); };

    SplitHead(rest, ','); // field 1: not used
    TQEV2016LaneInfo* target = RecordOfLane(field(99));
    if (!target)
        return;
    if (!force && line == target->lastLine)
        return;
    target->lastLine = line.toByteArray();

    const int state = field(-3);
    if (state == -3)
        target->laneState = TQEV2016LaneInfo::lnNone;
    else if (state < 0)
        target->laneState = TQEV2016LaneInfo::lnClosed;
    else if (state == 0)
        target->laneState = TQEV2016LaneInfo::lnOpen;
    else
        target->laneState = TQEV2016LaneInfo::lnPositive;

    SplitHead(rest, ','); // field 4: not used
    target->lotNumber = field(0);
    target->value6 = field(0);
    int flagsA = field(0);
    int flagsB = field(0);
    target->value9 = field(-1);
    if (target->lotNumber <= 0) {
        flagsA = 0;
        flagsB = 0;
        target->value9 = -1;
    }
    if (flagsA & 1)
        target->lotStatus = TQEV2016LaneInfo::lsSold;
    else if (flagsB & 1)
        target->lotStatus = TQEV2016LaneInfo::lsNotSold;
    else if (flagsA & 8)
        target->lotStatus = TQEV2016LaneInfo::lsNoReserve;
    else if (flagsA & 2)
        target->lotStatus = TQEV2016LaneInfo::lsStarted;
    else
        target->lotStatus = TQEV2016LaneInfo::lsNone;

    const int value10 = field(-1);
    if (value10 >= 0)
        target->value10 = value10;
    for (QTime* time : {&target->timeA, &target->timeB}) {
        const int raw = field(-1);
        if (raw < 0)
            continue;
        const QTime read = ReadTimeOfDay(raw);
        if (read != QTime(0, 0))
            *time = read;
    }
    const int countA = field(0);
    if (countA > 0)
        target->countA = countA;
    const int countB = field(0);
    if (countB > 0)
        target->countB = countB;
}

bool TLaneStatusBoard::IsLaneClosed(int lane) const {
    for (const TQEV2016LaneInfo& record : m_records) {
        if (record.laneNumber == lane)
            return record.laneState == TQEV2016LaneInfo::lnClosed;
    }
    return false;
}

} // namespace qev
