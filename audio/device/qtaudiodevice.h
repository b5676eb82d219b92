#pragma once

#include "audio/core/audiodevice.h"

#include <QAudioDevice>

namespace qev {

// The live audio output's device on Qt Multimedia: the system's default output, one QAudioSink
// per stream. No output device (a headless machine) counts as a device that failed to open.
class QtAudioDevice final : public AudioDevice {
public:
    bool Open() override;
    bool SetPrimaryFormat(int rate, int bits, int channels) override;
    std::unique_ptr<TAudioStream> CreateStream(int index) override;

private:
    QAudioDevice m_device;
};

} // namespace qev
