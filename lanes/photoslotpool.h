#pragma once

#include "common/imageholder.h"

#include <array>

namespace qev {

// Twenty photo slots shared by both lanes. A slot is found by its key; a new key takes a
// never-used slot, else the least recently used one, so two lanes never fight over one slot.
class TPhotoSlotPool {
public:
    static constexpr int SlotCount = 20;

    // The slot holding (site, lot, lane), unchanged; otherwise a cleared slot given that key.
    // Either way its last-use time becomes now.
    TImageHolder& AcquireImageHolder(int site, int lot, int lane);

    TImageHolder& Slot(int i) { return m_slots.at(size_t(i)); }
    const TImageHolder& Slot(int i) const { return m_slots.at(size_t(i)); }

private:
    void Touch(TImageHolder& slot);

    std::array<TImageHolder, SlotCount> m_slots;
    qint64 m_lastStamp = 0;
};

} // namespace qev
