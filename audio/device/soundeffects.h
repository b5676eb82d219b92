#pragma once

#include "audio/device/effectplayer.h"
#include "audio/device/seform.h"
#include "audio/device/sesform.h"

#include <memory>
#include <vector>

namespace qev {

// The main window's effect sounds: its own click, the global alarm and one effect set per lane.
// The main window calls these operations; they hold no screen logic.
class SoundEffects {
public:
    explicit SoundEffects(const EffectVoiceFactory& factory);
    ~SoundEffects();

    // The main window's click ("S_CLICK"), loaded at full volume.
    void PlayClickSound();
    // The click's part of ApplyVolume: the click follows the level's attenuation.
    void ApplyClickVolume(int level);

    // Stops and frees the old lane sets and makes count new ones at level.
    void CreateLaneEffects(int count, int level);
    TSESForm* lane(int index);
    int laneCount() const { return int(m_lanes.size()); }
    TSEForm& globalAlarm() { return m_alarm; }

    // Level 0 on every lane set and the global alarm (launch, login and settings screens).
    void MuteEffects();
    // The user's level on every lane set and the global alarm (the auction screen).
    void RestoreEffectsVolume(int level);

private:
    EffectVoiceFactory m_factory;
    EffectPlayer m_click;
    TSEForm m_alarm;
    std::vector<std::unique_ptr<TSESForm>> m_lanes;
};

} // namespace qev
