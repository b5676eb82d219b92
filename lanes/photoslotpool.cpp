#include "lanes/photoslotpool.h"

#include "common/clock.h"

namespace qev {

void TPhotoSlotPool::Touch(TImageHolder& slot) {
    // Strictly increasing stamps keep the order of uses within one millisecond (or under a
    // clock that stands still) well defined.
    m_lastStamp = qMax(Clock::current().nowMs(), m_lastStamp + 1);
    slot.SetLastUse(m_lastStamp);
}

TImageHolder& TPhotoSlotPool::AcquireImageHolder(int site, int lot, int lane) {
    for (TImageHolder& slot : m_slots) {
        if (slot.HasKey(site, lot, lane)) {
            Touch(slot);
            return slot;
        }
    }
    TImageHolder* chosen = nullptr;
    for (TImageHolder& slot : m_slots) {
        if (slot.LastUse() == 0) {
            chosen = &slot;
            break;
        }
        if (!chosen || slot.LastUse() < chosen->LastUse())
            chosen = &slot;
    }
    chosen->ClearMain();
    chosen->ClearLarge();
    chosen->SetKey(site, lot, lane);
    Touch(*chosen);
    return *chosen;
}

} // namespace qev
