#pragma once

#include <QByteArrayView>
#include <optional>

namespace qev {

// Major and minor number of an installed browser version text such as "9.11.19041.0";
// -1 for a part that is missing or not a number.
struct BrowserVersion {
    int major = -1;
    int minor = -1;
};
BrowserVersion ParseBrowserVersion(QByteArrayView text);

// The emulation mode the embedded browser is switched to for that version; none when the
// version asks for no setting. Only Windows has a place to write it.
std::optional<int> BrowserEmulationMode(BrowserVersion version);

} // namespace qev
