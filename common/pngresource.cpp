#include "common/pngresource.h"

namespace qev {

QImage LoadPngResource(const QString& name) {
    QImage image;
    if (!image.load(QStringLiteral(":/images/") + name + QStringLiteral(".png"), "PNG"))
        return {};
    return image.convertToFormat(QImage::Format_RGB888);
}

} // namespace qev
