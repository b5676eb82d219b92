#include "audio/device/effectplayer.h"

namespace qev {

EffectPlayer::EffectPlayer(const EffectVoiceFactory& factory, const QString& resource, int attenuation)
    : m_resource(resource)
    , m_attenuation(attenuation) {
    if (factory)
        m_voice = factory(resource);
    if (m_voice)
        m_voice->SetAttenuation(attenuation);
}

void EffectPlayer::Play() {
    if (!m_voice || !m_voice->Ready() || m_attenuation <= kSilence || m_voice->IsSounding())
        return;
    m_voice->Start();
}

void EffectPlayer::Stop() {
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
