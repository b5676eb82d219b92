#include "lanes/views/alarmrows.h"

#include "lanes/alarmentry.h"
#include "lanes/views/viewstyle.h"

namespace qev {

namespace {

constexpr int kFiveAhead = 5;

qsizetype IndexOf(const QList<AlarmItem>& list, int exhibit) {
    for (qsizetype i = 0; i < list.size(); ++i)
        if (TAlarmEntry::Read(list.at(i).text).exhibit == exhibit)
            return i;
    return -1;
}

QString Display(const AlarmItem& item) {
    return WireText(TAlarmEntry::Read(item.text).display);
}

QString CountRow(qsizetype distance, const AlarmItem& item) {
    return QStringLiteral("あと") + QString::number(distance) + QStringLiteral("台で ") + Display(item);
}

} // namespace

ThisLaneAlarm ThisLaneAlarmRow(const QList<AlarmItem>& list, int current) {
    ThisLaneAlarm row;
    const qsizetype k = IndexOf(list, current);
    if (k < 0)
        return row;
    row.badge = list.at(k).mine;
    qsizetype first = -1;
    for (qsizetype c = k + 1; c < list.size(); ++c) {
        if (!list.at(c).mine)
            continue;
        if (first < 0)
            first = c;
        if (c - k == kFiveAhead)
            row.fiveAhead = true;
        if (c - k >= kFiveAhead)
            break; // nothing further can change the row or the flag
    }
    if (first >= 0)
        row.text = CountRow(first - k, list.at(first));
    return row;
}

QString OtherLaneAlarmRow(const QList<AlarmItem>& list, int current) {
    const qsizetype k = IndexOf(list, current);
    if (k < 0)
        return {};
    if (k == 0 && list.at(0).mine)
        return QStringLiteral("現在 ") + Display(list.at(0));
    for (qsizetype c = k + 1; c < list.size(); ++c)
        if (list.at(c).mine)
            return CountRow(c - k, list.at(c));
    return {};
}

} // namespace qev
