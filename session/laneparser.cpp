#include "session/laneparser.h"

#include "session/signinparser.h"

#include <QDateTime>

namespace qev {

namespace {
constexpr double kUnixEpochDay = 25569.0;
constexpr double kMsPerDay = 86400000.0;
} // namespace

QList<LaneLine> SplitLanePiece(QByteArrayView plain) {
    QList<LaneLine> lines;
    qsizetype start = 0;
    while (start <= plain.size()) {
        qsizetype cr = plain.sliced(start).indexOf('\r');
        const qsizetype end = cr < 0 ? plain.size() : start + cr;
        const QByteArray line = TrimWireBlanks(plain.sliced(start, end - start));
        if (line.size() >= 3 && line[2] == ':')
            lines.append({line.left(2), line.mid(3)});
        if (cr < 0)
            break;
        start = end + 1;
    }
    return lines;
}

QByteArray LaneField(QByteArrayView payload, int n) {
    qsizetype start = 0;
    for (int i = 1; i < n; ++i) {
        const qsizetype comma = payload.sliced(start).indexOf(',');
        if (comma < 0)
            return {};
        start += comma + 1;
    }
    const qsizetype comma = payload.sliced(start).indexOf(',');
    return payload.sliced(start, comma < 0 ? payload.size() - start : comma).toByteArray();
}

int LaneIntField(QByteArrayView payload, int n, int def) {
    return IntegerOr(LaneField(payload, n), def);
}

LotAnnouncement ParseLotAnnouncement(QByteArrayView payload) {
    LotAnnouncement a;
    const QByteArrayList parts = payload.toByteArray().split(',');
    for (int i = 0; i < 8 && i < parts.size(); ++i)
        a.fields[i] = IntegerOr(parts[i], 0);
    return a;
}

PriceRecord ParsePriceRecord(QByteArrayView payload) {
    PriceRecord r;
    const QByteArrayList parts = payload.toByteArray().split(',');
    const auto field = [&parts](int n) { return n <= parts.size() ? parts[n - 1] : QByteArray(); };
    r.site = IntegerOr(field(1), 0);
    r.exhibit = IntegerOr(field(2), 0);
    r.price = IntegerOr(field(3), 0);
    r.lotFlags = IntegerOr(field(4), 0);
    r.bidderFlags = IntegerOr(field(5), 0);
    r.topBidder = field(6);
    r.winner = field(7);
    r.serverDays = ParseDayCount(field(8)).value_or(0.0);
    return r;
}

int MemberFlagsOf(QByteArrayView text, QByteArrayView member) {
    int flags = 0;
    for (qsizetype start = 0; start + 1 < text.size(); start += 5) {
        if (text.sliced(start + 1, qMin<qsizetype>(4, text.size() - start - 1)) != member)
            continue;
        if (text[start] == 'A')
            flags |= 1;
        else if (text[start] == 'B')
            flags |= 2;
    }
    return flags;
}

bool MemberAmongGroups(QByteArrayView text, QByteArrayView member) {
    for (qsizetype start = 0; start < text.size() - 1; start += 4) {
        if (text.sliced(start, qMin<qsizetype>(4, text.size() - start)) == member)
            return true;
    }
    return false;
}

AlarmList ParseAlarmList(QByteArrayView payload, int memberValue) {
    AlarmList list;
    const qsizetype comma = payload.indexOf(',');
    list.lane = IntegerOr(comma < 0 ? payload : payload.first(comma), -1);
    if (comma < 0)
        return list;
    const QByteArrayView rest = payload.sliced(comma + 1);
    qsizetype start = 0;
    int entries = 0;
    while (start < rest.size() && entries < kMaxAlarmItems) {
        const qsizetype slash = rest.sliced(start).indexOf('/');
        const QByteArrayView entry = rest.sliced(start, slash < 0 ? rest.size() - start : slash);
        if (entry.isEmpty())
            break;
        ++entries;
        start += entry.size() + 1;

        const qsizetype soh = entry.indexOf('\x01');
        const int exhibit = IntegerOr(soh < 0 ? entry : entry.first(soh), -1);
        QByteArrayView text;
        QByteArrayView members;
        if (soh >= 0) {
            const QByteArrayView after = entry.sliced(soh + 1);
            const qsizetype soh2 = after.indexOf('\x01');
            text = soh2 < 0 ? after : after.first(soh2);
            members = soh2 < 0 ? QByteArrayView() : after.sliced(soh2 + 1);
        }
        bool mine = false;
        for (const QByteArray& m : members.toByteArray().split(',')) {
            const int value = IntegerOr(m, 0);
            if (value <= 0)
                break;
            if (value == memberValue)
                mine = true;
        }
        if (exhibit > 0)
            list.items.append({QByteArray::number(exhibit) + ',' + text.toByteArray(), mine});
        if (slash < 0)
            break;
    }
    return list;
}

double DayCountToWallMs(double days) {
    return (days - kUnixEpochDay) * kMsPerDay;
}

qint64 LocalWallMs(qint64 utcMs) {
    const QDateTime t = QDateTime::fromMSecsSinceEpoch(utcMs);
    return utcMs + static_cast<qint64>(t.offsetFromUtc()) * 1000;
}

} // namespace qev
