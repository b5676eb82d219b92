#include "audio/device/qteffectvoice.h"

#include "audio/core/audiostream.h"

#include <QUrl>

namespace qev {

QtEffectVoice::QtEffectVoice(const QString& resource) {
    QObject::connect(&m_effect, &QSoundEffect::statusChanged, &m_effect, [this] {
        if (m_effect.status() == QSoundEffect::Ready && OnReady) {
            auto handler = OnReady;
            handler(*this);
        }
    });
    m_effect.setLoopCount(1);
    m_effect.setSource(QUrl(QStringLiteral("qrc:/sounds/") + resource + QStringLiteral(".wav")));
}

bool QtEffectVoice::Ready() const {
    return m_effect.status() == QSoundEffect::Ready;
}

void QtEffectVoice::Start() {
    m_effect.play();
}

void QtEffectVoice::Stop() {
    m_effect.stop();
}

bool QtEffectVoice::IsSounding() const {
    return m_effect.isPlaying();
}

void QtEffectVoice::SetAttenuation(int attenuation) {
    m_effect.setVolume(float(AttenuationToGain(attenuation)));
}

EffectVoiceFactory QtEffectVoice::Factory() {
    return [](const QString& resource) -> std::unique_ptr<EffectVoice> {
        return std::make_unique<QtEffectVoice>(resource);
    };
}

} // namespace qev
