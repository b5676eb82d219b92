#pragma once

#include <QImage>
#include <QString>

namespace qev {

// ":/images/<name>.png" as a 24-bit image (QImage::Format_RGB888); a null image when the
// resource is missing or unreadable.
QImage LoadPngResource(const QString& name);

} // namespace qev
