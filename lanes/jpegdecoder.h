#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>

namespace qev {

// Decodes JPEG lot pictures with libjpeg-turbo into Format_RGB32 images. Every libjpeg error
// (and a picture cut short) returns a null image; nothing here ends the process.
class TJpegDecoder {
public:
    // Pictures above this many pixels are not decoded (a lot photo has about 0.3 million).
    static constexpr qint64 MaxPixels = 40'000'000;
    // Files above this size are not read.
    static constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;
    // Progressive pictures with more scans than this are refused (each scan is a full pass).
    static constexpr int MaxScans = 256;

    struct Request {
        // When both are set, DCT scaling shrinks the picture by 2, 4 or 8 while it stays at
        // least this large, so a large photo is not decoded at full size only to be scaled down.
        QSize atLeast;
        // When both are set, only this much of the top-left corner is decoded.
        QSize topLeft;
    };

    QImage Decode(QByteArrayView jpeg, const Request& request) const;
    QImage DecodeFile(const QString& path, const Request& request) const;
};

} // namespace qev
