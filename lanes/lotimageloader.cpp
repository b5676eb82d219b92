#include "lanes/lotimageloader.h"

#include <QFileInfo>
#include <QPainter>

namespace qev {

bool TLotImageLoader::LoadCarPhoto(TImageHolder& slot, const QImage& decoded) {
    if (decoded.isNull())
        return false;
    const QImage main =
        decoded.scaled(TImageHolder::MainSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage thumb =
        main.scaled(TImageHolder::ThumbnailSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    slot.Main() = main.convertToFormat(QImage::Format_RGB888);
    slot.Thumbnail() = thumb.convertToFormat(QImage::Format_RGB888);
    slot.SetMainLoaded();
    return true;
}

bool TLotImageLoader::LoadExhibitCard(TImageHolder& slot, const QImage& decoded) {
    if (decoded.isNull())
        return false;
    QPainter painter(&slot.Large());
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPoint(0, 0), decoded, QRect(QPoint(0, 0), TImageHolder::LargeSize));
    painter.end();
    slot.SetLargeLoaded();
    return true;
}

TImageHolder& TLotImageLoader::LoadLotImage(int lane, int kind, const QString& path, int lot, int site) {
    TImageHolder& slot = m_pool.AcquireImageHolder(site, lot, lane);
    if (!QFileInfo(path).isFile()) {
        if (kind == CarPhoto)
            slot.ClearMain();
        else if (kind == ExhibitCard)
            slot.ClearLarge();
        return slot;
    }
    if (kind == CarPhoto && slot.MainNeedsLoading()) {
        TJpegDecoder::Request request;
        request.atLeast = TImageHolder::MainSize;
        LoadCarPhoto(slot, m_decoder.DecodeFile(path, request));
    } else if (kind == ExhibitCard && slot.LargeNeedsLoading()) {
        TJpegDecoder::Request request;
        request.topLeft = TImageHolder::LargeSize;
        LoadExhibitCard(slot, m_decoder.DecodeFile(path, request));
    }
    return slot;
}

} // namespace qev
