#pragma once

#include <QImage>
#include <QString>

namespace qev {

// One of the program's PNG images (":/images/NAME.png") as a 24-bit picture; a null image
// when it is missing, so callers draw their plain fallback instead of failing.
QImage LoadSkinImage(const QString& name);

} // namespace qev
