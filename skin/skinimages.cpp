#include "skin/skinimages.h"

namespace qev {

QImage LoadSkinImage(const QString& name) {
    QImage image(QStringLiteral(":/images/") + name + QStringLiteral(".png"));
    if (image.isNull())
        return {};
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace qev
