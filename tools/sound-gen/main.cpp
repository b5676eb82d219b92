// Writes the program's effect sounds as WAVE files into the folder given on the command line.
#include "audio/core/waveimage.h"
#include "tools/sound-gen/effectsounds.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: qev-sound-gen OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir dir(args.at(1));
    if (!dir.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(args.at(1)));
        return 1;
    }
    for (const auto& sound : qev::MakeEffectSounds()) {
        QFile file(dir.filePath(sound.name + QStringLiteral(".wav")));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(qev::BuildWaveImage(sound.format, sound.pcm)) < 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
