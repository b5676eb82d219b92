#pragma once

#include "audio/core/waveimage.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace qev {

// One of the program's effect sounds, ready to be written as a WAVE file.
struct EffectSound {
    QString name; // resource name, "S_CLICK" …
    WaveFormat format;
    QByteArray pcm;
};

// Every effect sound, in the formats and lengths the program carries.
QList<EffectSound> MakeEffectSounds();

} // namespace qev
