#pragma once

#include "tools/auction-house/catalogue/cataloguelot.h"

#include <QList>
#include <QtGlobal>

namespace qev {

// Believable lots, the same for the same seed: the lane engine and the web server build
// their own catalogue from the seed and agree on every lot.
class CarCatalogue {
public:
    // Exhibit numbers of lane i start at i * LaneSpan + 1, so the lanes of one site never share one.
    static constexpr int LaneSpan = 10000;

    explicit CarCatalogue(quint32 seed)
        : m_seed(seed) {}

    quint32 Seed() const { return m_seed; }
    // The lot with this exhibit number (any positive number has one).
    CatalogueLot Lot(int exhibit) const;
    // The first count exhibit numbers that lane runs, in running order.
    QList<int> RunningOrder(int lane, int count) const;

private:
    quint32 m_seed;
};

} // namespace qev
