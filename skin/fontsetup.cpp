#include "skin/fontsetup.h"

#include <QFont>
#include <QString>

namespace qev {

void InstallFontSubstitutions() {
    // "ＭＳ ゴシック" and "ＭＳ Ｐゴシック" (full-width letters).
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
}

} // namespace qev
