#pragma once

#include "tools/auction-house/houseconfig.h"
#include "tools/auction-house/housedirectory.h"

#include <QByteArray>

namespace qev {

// The sign-in server's lines in plain form (the server enciphers each as a whole).
namespace SignInReplies {

// "TM:" with the house clock as a local day count (day 0 = 30 December 1899).
QByteArray ServerTime(qint64 utcMs);
// name=value lines for exhibits, lane times, the auto-bid interval, the date and a few Q_ names.
QByteArray SiteInformationText(const HouseConfig& config, qint64 utcMs);
QByteArray SignedIn(const HouseConfig& config, const HouseAccount& account, qint64 utcMs);
QByteArray Refusal(const HouseAccount& account);
QByteArray ClientParams(const HouseConfig& config);
QByteArray Announcement(const HouseConfig& config);
QByteArray Appearance(const HouseConfig& config);
QByteArray ServerInformation(const HouseDirectory& directory);

} // namespace SignInReplies

} // namespace qev
