// Lot detail files come from the auction house's web server: the whole file as bytes.
#include "lanes/alarmentry.h"
#include "lanes/lotrecord.h"

#include <cstddef>
#include <cstdint>

namespace {
void Exercise(const qev::TLotRecord& record) {
    (void)record.ExhibitNumberText();
    (void)record.ExhibitNumber();
    (void)record.CarLine();
    (void)record.StartPrice();
    (void)record.Correction();
    (void)record.BidLocked();
    (void)record.ExhibitorCode();
    (void)record.Value("ExhNum");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    Exercise(qev::TLotRecord::FromScrambled(bytes));
    Exercise(qev::TLotRecord::FromPlain(bytes));
    (void)qev::TAlarmEntry::Read(bytes);
    return 0;
}
