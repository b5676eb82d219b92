#include "audio/device/effectplayer.h"

#include <utility>

namespace qev {

EffectPlayer::EffectPlayer(const EffectVoiceFactory& factory, const QString& resource, int attenuation)
    : m_resource(resource)
    , m_attenuation(attenuation) {
    if (factory)
        m_voice = factory(resource);
    if (!m_voice)
        return;
    m_voice->SetAttenuation(attenuation);
    // The voice is owned here, so it never reports after this player is gone.
    m_voice->OnReady = [this](EffectVoice&) {
        if (std::exchange(m_pending, false))
            Play();
    };
}

void EffectPlayer::Play() {
    if (!m_voice || m_attenuation <= kSilence)
        return;
    if (!m_voice->Ready()) {
        m_pending = true;
        return;
    }
    if (m_voice->IsSounding())
        return;
    m_voice->Start();
}

void EffectPlayer::Stop() {
    m_pending = false;
    if (m_voice)
        m_voice->Stop();
}

bool EffectPlayer::IsSounding() const {
    return m_voice && m_voice->IsSounding();
}

void EffectPlayer::SetAttenuation(int attenuation) {
    m_attenuation = attenuation;
    if (m_voice)
        m_voice->SetAttenuation(attenuation);
}

} // namespace qev
