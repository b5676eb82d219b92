#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace qev {

// An alarm-list entry as the lane channels deliver it: exhibit number, ",", free text.
struct TAlarmEntry {
    int exhibit = -1;   // the part before the first ","; -1 when not a number
    QByteArray display; // the part before the first "," and the rest, joined by one blank

    static TAlarmEntry Read(QByteArrayView entry);
};

} // namespace qev
