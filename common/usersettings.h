#pragma once

#include <QSettings>

namespace qev {

// Value names of the per-user store.
namespace UserKeys {
inline constexpr char Volume[] = "Volume";
inline constexpr char Id[] = "id";
inline constexpr char Password[] = "password";
inline constexpr char RegisterPassword[] = "registerPassword";
inline constexpr char SavePassword[] = "sp";
inline constexpr char DisableAudio[] = "Tweaks/DisableAudio";
inline constexpr char SystemLog[] = "Tweaks/SystemLog";
} // namespace UserKeys

inline constexpr int DefaultVolume = 3;

// "Volume" as stored (any integer is used unchanged); 3 when missing or not a number.
int LoadVolume(QSettings& user);
void SaveVolume(QSettings& user, int level);

// The switches under "Tweaks", which only the user or support staff set.
struct Tweaks {
    bool disableAudio = false;
    bool systemLog = false;
};

// Reads each switch on its own; a missing or unreadable value keeps what tweaks held.
void LoadTweaks(QSettings& user, Tweaks& tweaks);

} // namespace qev
