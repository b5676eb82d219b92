#pragma once

#include <QString>

namespace qev {

// The program's four-part version (major.minor.release.build), compiled in from the build.
QString FileVersion();

// Part n (0..3) of version split at ".", each part cut to 10 characters and trimmed; empty when
// the version has fewer parts.
QString VersionPartOf(const QString& version, int n);
// Part n of the program's own version; part 3 is the build number.
QString VersionPart(int n);

} // namespace qev
