#pragma once

#include <QString>

namespace qev {

// The download cache: "<system temp>/QEV2016/", or "<executable folder>/temp/" when the system
// names no temporary folder. Always ends in "/". Does not create anything.
QString TempFolder();
QString TempFolderFor(const QString& systemTemp, const QString& executableDir);

// Empties folder: every subfolder and file whose name does not start with "." goes, read-only
// ones included; the folder itself stays. Symbolic links are removed as links and never
// followed, so a link in the cache cannot reach files outside it; a folder that is itself a
// link, or that belongs to another user, is left alone. Errors are ignored.
void DeleteFolderContents(const QString& folder);

} // namespace qev
