#pragma once

#include <QtGlobal>

namespace qev {

enum TSessionState : quint8 { ssOffline = 0, ssSigningOut = 1, ssInSession = 2, ssSigningIn = 3 };

enum TConnectionStatus : quint8 {
    nsNone = 0,
    nsNotSame = 1,
    nsDisconnected = 2,
    icsCnctRouter = 3,
    icsConnectedBD = 4,
    icsConnectedNB = 5
};

enum TRouterType : quint8 { rcNone = 0, rcBD = 1, rcNB = 2 };

// Lane state values shared by the site record and the lane views.
inline constexpr int kLaneStateUnknown = -3;
inline constexpr int kLaneStateHeld = -2;
inline constexpr int kLaneStateEnded = -1;
inline constexpr int kLaneStateRunning = 0;

// Notice codes the client raises itself.
inline constexpr int kNoticeDeadline = 105;
inline constexpr int kNoticeNoAddress = 109;

} // namespace qev
