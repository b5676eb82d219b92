#include "audio/device/seform.h"

#include "common/texthelpers.h"

namespace qev {

TSEForm::TSEForm(const EffectVoiceFactory& factory)
    : m_alarm(factory, QStringLiteral("S_ALARM"), VolumeToAttenuation(0)) {}

TSEForm::~TSEForm() {
    StopAlarm();
}

void TSEForm::PlayAlarm() {
    if (m_alarm.IsSounding())
        return;
    m_alarm.Play();
}

void TSEForm::SetVolumeLevel(int level) {
    m_level = level;
    m_alarm.SetAttenuation(VolumeToAttenuation(level));
}

void TSEForm::StopAlarm() {
    m_alarm.Stop();
}

} // namespace qev
