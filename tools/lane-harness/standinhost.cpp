#include "tools/lane-harness/standinhost.h"

#include <QStringEncoder>

namespace qev {

namespace {

class CountingVoice final : public EffectVoice {
public:
    CountingVoice(SoundLog& log, QString name)
        : m_log(log)
        , m_name(std::move(name)) {}
    bool Ready() const override { return true; }
    void Start() override { m_log.started.append(m_name); }
    void Stop() override {}
    bool IsSounding() const override { return false; }
    void SetAttenuation(int) override {}

private:
    SoundLog& m_log;
    QString m_name;
};

} // namespace

TLotRecord RecordFromText(const QString& lines) {
    QStringEncoder sjis("windows-31j");
    const QByteArray bytes = sjis(lines);
    return TLotRecord::FromPlain(bytes);
}

EffectVoiceFactory SoundLog::Factory() {
    return [this](const QString& resource) -> std::unique_ptr<EffectVoice> {
        return std::make_unique<CountingVoice>(*this, resource);
    };
}

StandInHost::StandInHost()
    : effects(std::make_unique<TSESForm>(sounds.Factory(), 3)) {}

int StandInHost::Pushes() const {
    return sounds.Count(effects->push()->resource());
}

int StandInHost::Alarms() const {
    return sounds.Count(effects->alarm()->resource());
}

} // namespace qev
