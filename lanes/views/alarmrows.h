#pragma once

#include "session/laneparser.h"

#include <QList>
#include <QString>

namespace qev {

// The own lane's alarm row for the lot on the block: the badge when that lot is watched, the
// count to the next watched lot, and whether a watched lot stands exactly five places ahead.
struct ThisLaneAlarm {
    bool badge = false;
    bool fiveAhead = false;
    QString text;
};
ThisLaneAlarm ThisLaneAlarmRow(const QList<AlarmItem>& list, int current);

// The other lane's row: "現在" when its lot on the block is the first entry and watched, else the
// count to its next watched lot; empty when neither applies.
QString OtherLaneAlarmRow(const QList<AlarmItem>& list, int current);

} // namespace qev
