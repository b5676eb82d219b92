#include "skin/skinimages.h"

#include "common/pngresource.h"

namespace qev {

QImage LoadSkinImage(const QString& name) {
    const QImage image = LoadPngResource(name);
    if (image.isNull())
        return {};
    // One pixel format for every strip, mask and picture the widgets compare and copy.
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace qev
