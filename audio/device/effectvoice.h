#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace qev {

// One preloaded effect sound on a device: the part of an effect player that touches the device.
class EffectVoice {
public:
    virtual ~EffectVoice();
    // The sound is loaded and can be started.
    virtual bool Ready() const = 0;
    virtual void Start() = 0;
    virtual void Stop() = 0;
    virtual bool IsSounding() const = 0;
    // Attenuation in hundredths of a decibel.
    virtual void SetAttenuation(int attenuation) = 0;

    // The sound has finished loading (it loads in the background after creation).
    std::function<void(EffectVoice& sender)> OnReady;
};

// Makes the voice of a sound resource ("S_CLICK" ...); nullptr when no device can hold it.
using EffectVoiceFactory = std::function<std::unique_ptr<EffectVoice>(const QString& resource)>;

} // namespace qev
