#pragma once

#include <QByteArray>
#include <QTime>
#include <QtGlobal>

namespace qev {

// The status of one lane as the data channel's information lines describe it.
struct TQEV2016LaneInfo {
    enum LotStatus : quint8 { lsNone = 0, lsStarted = 1, lsNoReserve = 2, lsSold = 3, lsNotSold = 4 };
    enum LaneState : quint8 { lnNone = 0, lnOpen = 1, lnPositive = 2, lnClosed = 3 };

    qint32 laneNumber = -1;
    quint8 lotStatus = lsNone;
    QByteArray lastLine;
    quint8 laneState = lnNone;
    QTime timeA{0, 0}; // midnight stands for "no time"
    QTime timeB{0, 0};
    qint32 lotNumber = 0; // 0 or less: no lot
    qint32 countA = 0;
    qint32 countB = 0;
    qint32 value10 = 0;
    qint32 value6 = 0;
    qint32 value9 = 0; // -1 when there is no lot
};

} // namespace qev
