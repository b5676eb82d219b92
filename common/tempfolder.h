#pragma once

#include <QString>

namespace qev {

// The download cache, the user's own: "<user cache folder>/QEV2016/" (the system's temporary
// folder is shared by every user, who could read or plant lot files and photos there), or
// "<executable folder>/temp/" when the system names no cache folder. Always ends in "/".
// TempFolder creates it when missing and keeps it owner-only; TempFolderFor only names it.
QString TempFolder();
QString TempFolderFor(const QString& userCache, const QString& executableDir);

// Empties folder: every subfolder and file whose name does not start with "." goes, read-only
// ones included; the folder itself stays. Symbolic links are removed as links and never
// followed, so a link in the cache cannot reach files outside it; a folder that is itself a
// link, or that belongs to another user, is left alone. Errors are ignored.
void DeleteFolderContents(const QString& folder);

} // namespace qev
