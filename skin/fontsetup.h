#pragma once

namespace qev {

// Maps the two Windows Gothic family names the layout asks for onto the IPA Gothic faces
// (fixed-pitch and proportional). Call once after the application object exists.
void InstallFontSubstitutions();

} // namespace qev
