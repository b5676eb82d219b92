#pragma once

#include <QSize>

namespace qev {

// The window's client size and border for a screen size: the client is 1024 × 730 unless the
// screen is 1024 wide (1008 × 730, or 1024 × 768 on exactly 1024 × 768); screens more than 768
// high that are at least 1024 wide get a caption.
struct WindowSize {
    QSize client;
    bool captioned = false;
    // (client width - 1024) / 2: -8 or 0; the screens' panels start there.
    int horizontalOffset() const { return (client.width() - 1024) / 2; }
};

WindowSize WindowSizeFor(QSize screen);

} // namespace qev
