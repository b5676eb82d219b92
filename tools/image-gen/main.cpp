// Draws every PNG the program embeds into the folder given as the only argument.
#include "headerimages.h"
#include "laneimages.h"
#include "loginimages.h"
#include "priceimages.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: qev-image-gen OUTDIR\n");
        return 2;
    }
    const QDir out(args.at(1));
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(args.at(1)));
        return 1;
    }
    QList<qev::art::Named> images;
    images += qev::art::LoginImages();
    images += qev::art::LaneImages();
    images += qev::art::HeaderImages();
    images += qev::art::PriceImages();
    for (const auto& [name, image] : images) {
        const QString path = out.filePath(name + QStringLiteral(".png"));
        if (!image.save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
