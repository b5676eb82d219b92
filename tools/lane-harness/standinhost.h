#pragma once

// A stand-in for the window around the lane views, with effect sounds that count; used by the
// view tests, the view gallery and the view benchmarks.
#include "audio/device/effectvoice.h"
#include "audio/device/sesform.h"
#include "lanes/lotrecord.h"
#include "lanes/views/laneviewhost.h"

#include <QStringList>
#include <memory>
#include <optional>

namespace qev {

// A lot record from name=value lines written as text (stored as Shift-JIS, as files are).
TLotRecord RecordFromText(const QString& lines);

struct SoundLog {
    QStringList started; // resource names, in order
    EffectVoiceFactory Factory();
    int Count(const QString& resource) const { return int(started.count(resource)); }
};

class StandInHost final : public LaneViewHost {
public:
    StandInHost();

    bool lotShown = true;
    bool active = true;
    bool noReserve = false;
    TMessageType kind = mtNone;
    std::optional<TLotRecord> record;
    QByteArray exhibitor;
    int countdownResets = 0;
    int clicks = 0;
    SoundLog sounds;
    std::unique_ptr<TSESForm> effects;

    TSESForm* LaneEffectsPlayer(int) override { return effects.get(); }
    bool LaneActiveMark(int) override { return active; }
    const TLotRecord* CurrentLotRecord(int) override { return record ? &*record : nullptr; }
    bool IsLotShown(int) override { return lotShown; }
    TMessageType LaneMessageKind(int) override { return kind; }
    void SetLaneMessageKind(int, TMessageType k) override { kind = k; }
    bool IsNoReserve(int) override { return noReserve; }
    QByteArray CurrentExhibitorCode(int) override { return exhibitor; }
    void ResetBidOffCountdown() override { ++countdownResets; }
    void PlayClickSound() override { ++clicks; }

    int Pushes() const;
    int Alarms() const;
};

} // namespace qev
