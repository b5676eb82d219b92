#pragma once

#include <QByteArray>

namespace qev {

// The identifying values the sign-in lines carry about this machine. An interface so tests and
// the headless tool can pin them; HostClientFacts reads the real ones.
class ClientFacts {
public:
    virtual ~ClientFacts() = default;
    // Serial of the system volume as 8 upper-case hex digits; "00000000" when unknown.
    virtual QByteArray VolumeSerialText() const = 0;
    // Network name of the computer (at most 255 characters); empty when unknown.
    virtual QByteArray ComputerNameText() const = 0;
    // Operating system, screen and processor summary; computed once at creation of the module.
    virtual QByteArray ClientDescription() const = 0;
    // Operating system, processor and memory summary; computed for each sign-in line.
    virtual QByteArray SystemDescription() const = 0;
};

// The screen as the caller sees it; 0 x 0 with no monitor when there is no screen.
struct ScreenFacts {
    int width = 0;
    int height = 0;
    int monitors = 0;
};

} // namespace qev
