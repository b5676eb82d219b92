#include "audio/device/qtaudiodevice.h"

#include "audio/device/qtaudiostream.h"

#include <QMediaDevices>

namespace qev {

bool QtAudioDevice::Open() {
    m_device = QMediaDevices::defaultAudioOutput();
    if (m_device.isNull()) {
        const QList<QAudioDevice> outputs = QMediaDevices::audioOutputs();
        if (!outputs.isEmpty())
            m_device = outputs.first();
    }
    return !m_device.isNull();
}

bool QtAudioDevice::SetPrimaryFormat(int rate, int bits, int channels) {
    // Each stream's sink takes its own format; this only says whether the device can play it.
    const QAudioFormat f = QtAudioStream::FormatOf({rate, bits, channels});
    return f.isValid() && !m_device.isNull() && m_device.isFormatSupported(f);
}

std::unique_ptr<TAudioStream> QtAudioDevice::CreateStream(int) {
    if (m_device.isNull())
        return {};
    return std::make_unique<QtAudioStream>(m_device);
}

} // namespace qev
