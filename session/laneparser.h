#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QList>

namespace qev {

// The lane and data channels' wire format, byte in and values out, with no socket and no state,
// so every rule is testable on plain byte arrays and fuzzable.

struct LaneLine {
    QByteArray code;    // the two letters before ":"
    QByteArray payload; // everything after ":"
};

// The message lines of one unscrambled piece: cut at CR, trimmed, empty lines skipped, and only
// lines of 3 or more bytes with ":" in third place kept.
QList<LaneLine> SplitLanePiece(QByteArrayView plain);

// "EN:" and "LE:": eight integers, default 0 each.
struct LotAnnouncement {
    int fields[8] = {};
    int site() const { return fields[0]; }
    int exhibit() const { return fields[1]; }
    int next() const { return fields[2]; }
};
LotAnnouncement ParseLotAnnouncement(QByteArrayView payload);

// "PR:" price record.
struct PriceRecord {
    int site = 0;
    int exhibit = 0;
    int price = 0; // thousands of yen
    int lotFlags = 0;
    int bidderFlags = 0;
    QByteArray topBidder;
    QByteArray winner;
    double serverDays = 0; // day count of the server's send time; 0 when absent
};
PriceRecord ParsePriceRecord(QByteArrayView payload);

// Field n (from 1) of a ","-separated payload; empty when missing.
QByteArray LaneField(QByteArrayView payload, int n);
int LaneIntField(QByteArrayView payload, int n, int def);

// "A"/"B" groups of five naming the member: 1 for "A", 2 for "B", or-ed; 0 when not named.
int MemberFlagsOf(QByteArrayView text, QByteArrayView member);
// The member among the four-character groups of text.
bool MemberAmongGroups(QByteArrayView text, QByteArrayView member);

struct AlarmItem {
    QByteArray text; // exhibit number "," entry text
    bool mine = false;
    bool operator==(const AlarmItem&) const = default;
};

struct AlarmList {
    int lane = -1;
    QList<AlarmItem> items;
};
// "AM:" payload; memberValue is the member number's integer value. Entries past kMaxAlarmItems
// are ignored: a list longer than any lane's lot count is hostile.
inline constexpr int kMaxAlarmItems = 2000;
AlarmList ParseAlarmList(QByteArrayView payload, int memberValue);

// Milliseconds since the Unix epoch of a wire day count (day 0 = 30 December 1899), read as UTC.
double DayCountToWallMs(double days);
// The local wall-clock time in milliseconds, counted as if it were UTC (the wire's day counts are local).
qint64 LocalWallMs(qint64 utcMs);

} // namespace qev
