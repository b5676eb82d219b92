#pragma once

#include "audio/device/effectvoice.h"

#include <memory>

namespace qev {

// One effect sound: plays once on request, never restarts a sound that is still sounding, and
// never starts one at silence (-10000), so a later volume change cannot reveal it. A request made
// while the sound is still loading is kept and played once it has loaded.
class EffectPlayer {
public:
    static constexpr int kSilence = -10000;

    EffectPlayer(const EffectVoiceFactory& factory, const QString& resource, int attenuation);
    // The voice reports back to this very object.
    EffectPlayer(const EffectPlayer&) = delete;
    EffectPlayer& operator=(const EffectPlayer&) = delete;

    // False when the voice could not be made (no device): such a player plays nothing.
    bool HasVoice() const { return bool(m_voice); }
    void Play();
    void Stop();
    bool IsSounding() const;
    // A request is waiting for the sound to load.
    bool IsPending() const { return m_pending; }
    void SetAttenuation(int attenuation);
    int attenuation() const { return m_attenuation; }
    const QString& resource() const { return m_resource; }

private:
    std::unique_ptr<EffectVoice> m_voice;
    QString m_resource;
    int m_attenuation = 0;
    bool m_pending = false;
};

} // namespace qev
