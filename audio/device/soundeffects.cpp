#include "audio/device/soundeffects.h"

#include "common/texthelpers.h"

namespace qev {

SoundEffects::SoundEffects(const EffectVoiceFactory& factory)
    : m_factory(factory)
    , m_click(factory, QStringLiteral("S_CLICK"), 0)
    , m_alarm(factory) {}

SoundEffects::~SoundEffects() {
    for (auto& l : m_lanes)
        l->StopAll();
}

void SoundEffects::PlayClickSound() {
    m_click.Play();
}

void SoundEffects::ApplyClickVolume(int level) {
    m_click.SetAttenuation(VolumeToAttenuation(level));
}

void SoundEffects::CreateLaneEffects(int count, int level) {
    for (auto& l : m_lanes)
        l->StopAll();
    m_lanes.clear();
    for (int i = 0; i < qBound(0, count, 16); ++i)
        m_lanes.push_back(std::make_unique<TSESForm>(m_factory, level));
}

TSESForm* SoundEffects::lane(int index) {
    if (index < 0 || index >= int(m_lanes.size()))
        return nullptr;
    return m_lanes[std::size_t(index)].get();
}

void SoundEffects::MuteEffects() {
    for (auto& l : m_lanes)
        l->SetVolumeLevel(0);
    m_alarm.SetVolumeLevel(0);
}

void SoundEffects::RestoreEffectsVolume(int level) {
    for (auto& l : m_lanes)
        l->SetVolumeLevel(level);
    m_alarm.SetVolumeLevel(level);
}

} // namespace qev
