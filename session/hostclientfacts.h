#pragma once

#include "session/clientfacts.h"

namespace qev {

// The facts of the machine the client runs on (one implementation file per platform).
class HostClientFacts final : public ClientFacts {
public:
    explicit HostClientFacts(ScreenFacts screen = {});

    QByteArray VolumeSerialText() const override;
    QByteArray ComputerNameText() const override;
    QByteArray ClientDescription() const override;
    QByteArray SystemDescription() const override;

private:
    ScreenFacts m_screen;
};

} // namespace qev
