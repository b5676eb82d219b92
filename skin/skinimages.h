#pragma once

#include <QImage>
#include <QString>

namespace qev {

// One of the program's PNG images (LoadPngResource) as a 32-bit RGB picture; a null image
// when it is missing, so callers draw their plain fallback instead of failing.
QImage LoadSkinImage(const QString& name);

} // namespace qev
