#pragma once

#include <QSettings>

namespace qev {

class TProcsDm;

// Hands the user's "Tweaks" that the session honours ("DisableAudio") to the module; a missing
// value keeps what the module had. The window calls it right after creating the module, as
// qev-tool session does; the audio tick then reads the switch on every tick.
void LoadSessionTweaks(TProcsDm& dm, QSettings& user);

} // namespace qev
