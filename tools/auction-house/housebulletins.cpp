#include "tools/auction-house/housebulletins.h"

namespace qev::HouseBulletins {

namespace {

QByteArray Num(int value) {
    return QByteArray::number(value);
}

// The entry text must not end the entry, the text or the line early.
QByteArray CleanText(QByteArray text) {
    for (char& c : text) {
        if (c == '/' || c == '\x01' || c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    }
    return text;
}

// Fields of an information line must not split it.
QByteArray CleanField(QByteArray text) {
    for (char& c : text) {
        if (c == ',' || c == '|' || c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    }
    return text;
}

} // namespace

QByteArray AlarmList(int lane, const QList<AlarmLot>& lots, const QList<HouseWatch>& watches) {
    QByteArray line = "AM:" + Num(lane) + ',';
    const qsizetype count = qMin<qsizetype>(lots.size(), kMaxAlarmEntries);
    for (qsizetype i = 0; i < count; ++i) {
        const AlarmLot& lot = lots[i];
        if (lot.exhibit <= 0)
            continue;
        QByteArray members;
        for (const HouseWatch& w : watches) {
            if (w.lane == lane && w.exhibit == lot.exhibit && w.member.toInt() > 0)
                members += (members.isEmpty() ? "" : ",") + Num(w.member.toInt());
        }
        line += Num(lot.exhibit) + '\x01' + CleanText(lot.text) + '\x01' + members + '/';
    }
    return line;
}

QByteArray InformationLine(const LaneInformation& i) {
    return Num(i.siteNumber) + ',' + Num(i.lane) + ',' + Num(i.laneState) + ',' + CleanField(i.code) + ',' +
           Num(i.exhibit) + ',' + Num(i.price) + ',' + Num(i.lotFlags) + ',' + Num(i.bidderFlags) + ',' +
           Num(i.position) + ',' + Num(i.lotsDone) + ',' + Num(i.timeFrom) + ',' + Num(i.timeTo) + ',' +
           Num(i.lotsSold) + ',' + Num(i.lotsLeft);
}

QByteArray Information(const QList<LaneInformation>& lanes) {
    QByteArray line = "NI:";
    for (qsizetype i = 0; i < lanes.size(); ++i)
        line += (i == 0 ? "" : "|") + InformationLine(lanes[i]);
    return line;
}

} // namespace qev::HouseBulletins
