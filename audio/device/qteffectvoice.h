#pragma once

#include "audio/device/effectvoice.h"

#include <QSoundEffect>

namespace qev {

// An effect sound on QSoundEffect, loaded in advance from the program's resources
// (":/sounds/<NAME>.wav") so that starting it costs one call.
class QtEffectVoice final : public EffectVoice {
public:
    explicit QtEffectVoice(const QString& resource);

    bool Ready() const override;
    void Start() override;
    void Stop() override;
    bool IsSounding() const override;
    void SetAttenuation(int attenuation) override;

    // The factory for the real device.
    static EffectVoiceFactory Factory();

private:
    QSoundEffect m_effect;
};

} // namespace qev
