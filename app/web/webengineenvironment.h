#pragma once

#include <QByteArray>
#include <optional>

namespace qev {

// What the process looks like to the web engine at start.
struct WebEngineHost {
    bool root = false;
    bool display = false;                     // DISPLAY or WAYLAND_DISPLAY is set
    QByteArray platform;                      // QT_QPA_PLATFORM
    std::optional<QByteArray> sandboxSetting; // QTWEBENGINE_DISABLE_SANDBOX, when set
    std::optional<QByteArray> chromiumFlags;  // QTWEBENGINE_CHROMIUM_FLAGS, when set
};

// The two variables to set; none means leave it as it is.
struct WebEngineEnvironment {
    std::optional<QByteArray> disableSandbox;
    std::optional<QByteArray> chromiumFlags;
};

// Chromium refuses its sandbox as root, and without a display (or on the offscreen platform, as
// in CI) it finds no GPU context and renders in software only with the GPU off. Both are set
// only in those cases and only when the user has not set them. The network switches always go
// in: the engine must not fetch updates, field trials or reports on its own, since the only
// servers this client talks to are the auction house's. The user's own flags come last, so
// they win where they name the same switch.
WebEngineEnvironment DecideWebEngineEnvironment(const WebEngineHost& host);

// Reads the host facts and sets the variables. Call before the QApplication exists.
void PrepareWebEngineEnvironment();

} // namespace qev
