#include "app/windowsize.h"

namespace qev {

WindowSize WindowSizeFor(QSize screen) {
    const int w = screen.width();
    const int h = screen.height();
    WindowSize s{{1024, 730}, false};
    if (w == 1024 && h == 768)
        s.client = {1024, 768};
    else if (w == 1024)
        s.client = {1008, 730};
    s.captioned = w >= 1024 && h > 768;
    return s;
}

} // namespace qev
