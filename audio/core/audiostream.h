#pragma once

#include <QByteArray>
#include <functional>

namespace qev {

// One streaming player of the live audio output: plays one chunk (a RIFF/WAVE image) at a time.
// OnEnd runs on the GUI thread when the chunk has played out (the player still counts as playing
// during that report and becomes idle right after it) and when the player is stopped while OnEnd
// is attached. Implementations must tolerate the handler destroying or restarting the player.
class TAudioStream {
public:
    virtual ~TAudioStream();

    // Replaces the previous source with wave and plays it once from its start. False on failure.
    virtual bool Play(const QByteArray& wave) = 0;
    virtual void Stop() = 0;
    virtual bool IsPlaying() const = 0;
    // attenuation in hundredths of a decibel (0 full, -10000 silence). False on failure.
    virtual bool SetVolume(int attenuation) = 0;

    std::function<void(TAudioStream& sender)> OnEnd;
    int Tag = -1;
};

// Linear gain of an attenuation in hundredths of a decibel: 10^(att / 2000), clamped to [0, 1].
double AttenuationToGain(int attenuation);

} // namespace qev
