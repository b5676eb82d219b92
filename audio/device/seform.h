#pragma once

#include "audio/device/effectplayer.h"

namespace qev {

// The global alarm that calls the user (a lane's call for the member). It starts at level 0, so
// it is silent until the auction screen restores the user's level.
class TSEForm {
public:
    explicit TSEForm(const EffectVoiceFactory& factory);
    ~TSEForm();

    // Plays "S_ALARM" unless it is still sounding.
    void PlayAlarm();
    void SetVolumeLevel(int level);
    void StopAlarm();
    int volumeLevel() const { return m_level; }
    const EffectPlayer& player() const { return m_alarm; }

private:
    int m_level = 0;
    EffectPlayer m_alarm;
};

} // namespace qev
