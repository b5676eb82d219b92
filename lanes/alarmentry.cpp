#include "lanes/alarmentry.h"

#include "lanes/wirefields.h"

namespace qev {

TAlarmEntry TAlarmEntry::Read(QByteArrayView entry) {
    QByteArray rest = entry.toByteArray();
    const QByteArray head = SplitHead(rest, ',');
    TAlarmEntry out;
    out.exhibit = ReadDecimal(head, -1);
    out.display = head;
    out.display.append(' ').append(rest);
    return out;
}

} // namespace qev
