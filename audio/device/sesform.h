#pragma once

#include "audio/device/effectplayer.h"

#include <optional>

namespace qev {

// A lane's effect sounds: bid push, click and alarm, at the lane's volume level.
class TSESForm {
public:
    // level: the user's volume level (0 to 3). The players are made in the order alarm, push,
    // click; when one has no device, the ones after it are not made.
    TSESForm(const EffectVoiceFactory& factory, int level);

    void PlayAlarm();
    void PlayPush();
    void PlayClick();
    void SetVolumeLevel(int level);
    void StopAll();
    int volumeLevel() const { return m_level; }

    const EffectPlayer* alarm() const { return m_alarm ? &*m_alarm : nullptr; }
    const EffectPlayer* push() const { return m_push ? &*m_push : nullptr; }
    const EffectPlayer* click() const { return m_click ? &*m_click : nullptr; }

private:
    int m_level = 0;
    std::optional<EffectPlayer> m_alarm;
    std::optional<EffectPlayer> m_push;
    std::optional<EffectPlayer> m_click;
};

} // namespace qev
