#include "session/sessiontweaks.h"

#include "common/usersettings.h"
#include "session/procsdm.h"

namespace qev {

void LoadSessionTweaks(TProcsDm& dm, QSettings& user) {
    Tweaks tweaks;
    tweaks.disableAudio = dm.AudioDisabled();
    LoadTweaks(user, tweaks);
    dm.SetAudioDisabled(tweaks.disableAudio);
}

} // namespace qev
