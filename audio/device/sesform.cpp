#include "audio/device/sesform.h"

#include "common/tempfolder.h"
#include "common/texthelpers.h"

#include <QDir>

namespace qev {

TSESForm::TSESForm(const EffectVoiceFactory& factory, int level)
    : m_level(level) {
    // The lane's downloads land in the cache folder; a failure shows later as a failed download.
    QDir().mkpath(TempFolder());
    const int att = VolumeToAttenuation(level);
    m_alarm.emplace(factory, QStringLiteral("S_ALARM"), att);
    if (!m_alarm->HasVoice())
        return;
    m_push.emplace(factory, QStringLiteral("S_PUSH"), att);
    if (!m_push->HasVoice())
        return;
    m_click.emplace(factory, QStringLiteral("S_CLICK"), att);
}

void TSESForm::PlayAlarm() {
    if (m_alarm)
        m_alarm->Play();
}

void TSESForm::PlayPush() {
    if (m_push)
        m_push->Play();
}

void TSESForm::PlayClick() {
    if (m_click)
        m_click->Play();
}

void TSESForm::SetVolumeLevel(int level) {
    m_level = level;
    const int att = VolumeToAttenuation(level);
    for (auto* p : {&m_alarm, &m_push, &m_click}) {
        if (*p)
            (*p)->SetAttenuation(att);
    }
}

void TSESForm::StopAll() {
    for (auto* p : {&m_alarm, &m_push, &m_click}) {
        if (*p)
            (*p)->Stop();
    }
}

} // namespace qev
