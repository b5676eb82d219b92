#pragma once

#include "session/clientfacts.h"

namespace qev {

// Pinned machine facts so the identifying fields of the sign-in lines can be checked exactly.
class FixedFacts final : public ClientFacts {
public:
    QByteArray VolumeSerialText() const override { return QByteArrayLiteral("1A2B3C4D"); }
    QByteArray ComputerNameText() const override { return QByteArrayLiteral("DEALER-PC"); }
    QByteArray ClientDescription() const override { return QByteArrayLiteral("6.1.0.2.test(0X0:0)"); }
    QByteArray SystemDescription() const override {
        return QByteArrayLiteral("6.1.0.2.test,0,0,0,2,0,1024,10");
    }
};

} // namespace qev
