#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QTime>
#include <optional>

namespace qev {

// The sign-in channel's wire format, byte in and values out, with no socket and no state, so
// every rule (defaults, caps, normalisation) is testable on plain byte arrays and fuzzable.

struct SignInLine {
    QByteArray code;
    QByteArray payload;
};

// One enciphered piece deciphered into its message lines; reading stops at the first empty line.
QList<SignInLine> DecipherSignInPiece(QByteArrayView piece);

// Complete pieces of a receipt (the bytes up to the last CR); reading stops at the first empty
// piece. Each inner list is one piece's messages.
QList<QList<SignInLine>> SplitSignInReceipt(QByteArrayView bytes);

// Cuts spaces and every control character off both ends, as every received line is trimmed.
QByteArray TrimWireBlanks(QByteArrayView text);

// A field read as a decimal integer; def when empty or not a number.
int IntegerOr(QByteArrayView field, int def);

// Day count with a fraction (day 0 = 30 December 1899), "." as the decimal point.
std::optional<double> ParseDayCount(QByteArrayView text);

struct StatusMessage {
    int code = 109;
    QByteArray refusalText;  // 103
    QByteArray siteInfoText; // 100, deciphered
    QByteArray memberClass;  // 100, deciphered, "2" when empty
    int sessionNumber = 0;   // 100
};
StatusMessage ParseStatus(QByteArrayView payload);

struct ClientParams {
    int jumpThreshold = 0;
    int jumpLockMs = 0;
    int maxPriceDelayMs = -1; // below 0: keep the current value
};
ClientParams ParseClientParams(QByteArrayView payload);

struct SiteAnnouncement {
    bool firstGroupEmpty = false;
    int siteNumber = -1;
    int laneCount = 0;
    bool creates() const { return siteNumber >= 0 && laneCount > 0; }
};
SiteAnnouncement ParseSiteAnnouncement(QByteArrayView payload);

// The lane-0 states that "AP:" assigns, in order (groups whose first field is 0).
QList<int> ParseLaneAppearance(QByteArrayView payload);

struct LaneServers {
    int lane = -1;
    QByteArray biddingRouter;
    QByteArray watchRouter;
    QByteArray detailUrlBase;
    QByteArray photoUrlBase;
    QByteArray laneCode;
};

struct ServerInformation {
    QByteArray dataHost;
    QByteArray dataPort;
    int audioSampleRate = 0;
    QByteArray audioHost;
    QByteArray audioPort;
    QList<LaneServers> lanes; // groups with a lane index of 0 or more, in order
};
ServerInformation ParseServerInformation(QByteArrayView payload);

// "http://" in front unless present anywhere, "/" at the end unless already there.
QByteArray NormaliseUrlBase(QByteArray url);

// A lane time value: zero-padded to six digits, HHMM read from the front; 00:00 when unusable.
QTime LaneTime(QByteArrayView value);

// The site-information text split at line breaks and sorted case-insensitively.
QByteArrayList SiteInformationLines(QByteArrayView text);

// The value of name=value in sorted site-information lines; empty when absent.
QByteArray SiteInformationValue(const QByteArrayList& lines, QByteArrayView name);

} // namespace qev
