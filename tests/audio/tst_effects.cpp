#include "audio/device/effectvoice.h"
#include "audio/device/seform.h"
#include "audio/device/sesform.h"
#include "audio/device/soundeffects.h"

#include <QTest>

using namespace qev;

namespace {

QStringList sl(std::initializer_list<const char*> items) {
    QStringList out;
    for (const char* i : items)
        out.append(QString::fromLatin1(i));
    return out;
}

// A voice that records starts and stops and sounds until the test lets it finish.
struct FakeBoard {
    struct Voice final : EffectVoice {
        FakeBoard* board;
        QString name;
        bool sounding = false;
        int attenuation = 1;
        Voice(FakeBoard* b, QString n)
            : board(b)
            , name(std::move(n)) {}
        ~Voice() override { board->voices.removeAll(this); }
        bool ready = true;
        bool Ready() const override { return ready; }
        void Start() override {
            sounding = true;
            board->log.append(name + QStringLiteral(" start ") + QString::number(attenuation));
        }
        void Stop() override {
            if (sounding)
                board->log.append(name + QStringLiteral(" stop"));
            sounding = false;
        }
        bool IsSounding() const override { return sounding; }
        void SetAttenuation(int a) override { attenuation = a; }
    };

    QStringList log;
    QList<Voice*> voices;
    QString failing;      // resource whose device does not open
    bool loading = false; // voices made from now on are still loading their sound

    EffectVoiceFactory factory() {
        return [this](const QString& resource) -> std::unique_ptr<EffectVoice> {
            if (resource == failing)
                return nullptr;
            auto v = std::make_unique<Voice>(this, resource);
            v->ready = !loading;
            voices.append(v.get());
            return v;
        };
    }
    void finishAll() {
        for (auto* v : voices)
            v->sounding = false;
    }
    void loadAll() {
        const auto all = voices;
        for (auto* v : all) {
            v->ready = true;
            if (v->OnReady)
                v->OnReady(*v);
        }
    }
};

} // namespace

class TestEffects : public QObject {
    Q_OBJECT
private slots:
    void levelDecidesWhetherAnythingStarts_data();
    void levelDecidesWhetherAnythingStarts();
    void soundingEffectIsNotRestarted();
    void globalAlarmSilentUntilRestored();
    void recreatingLaneSetsStopsOldSounds();
    void failedDeviceSkipsTheRest_data();
    void failedDeviceSkipsTheRest();
    void headerVolumeChangeClicksAtNewLevel();
    void requestWhileLoadingPlaysWhenLoaded();
};

void TestEffects::levelDecidesWhetherAnythingStarts_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<QStringList>("log");
    QTest::newRow("0") << 0 << QStringList{};
    QTest::newRow("out of range") << 7 << QStringList{};
    QTest::newRow("1") << 1 << sl({"S_PUSH start -1500", "S_CLICK start -1500", "S_ALARM start -1500"});
    QTest::newRow("3") << 3 << sl({"S_PUSH start 0", "S_CLICK start 0", "S_ALARM start 0"});
}

void TestEffects::levelDecidesWhetherAnythingStarts() {
    QFETCH(int, level);
    FakeBoard board;
    TSESForm set(board.factory(), 3);
    set.SetVolumeLevel(level);
    set.PlayPush();
    set.PlayClick();
    set.PlayAlarm();
    QTEST(board.log, "log");
    // Raising the level later reveals nothing that was started silently.
    board.log.clear();
    set.SetVolumeLevel(3);
    QVERIFY(board.log.isEmpty());
}

void TestEffects::soundingEffectIsNotRestarted() {
    FakeBoard board;
    TSESForm set(board.factory(), 3);
    set.PlayAlarm();
    set.PlayAlarm(); // a second alarm for the lane within its two seconds
    TSEForm global(board.factory());
    global.SetVolumeLevel(2);
    global.PlayAlarm();
    global.PlayAlarm();
    QCOMPARE(board.log, sl({"S_ALARM start 0", "S_ALARM start -750"}));
    board.finishAll();
    set.PlayAlarm();
    global.PlayAlarm();
    QCOMPARE(board.log.size(), 4);
}

void TestEffects::globalAlarmSilentUntilRestored() {
    FakeBoard board;
    SoundEffects fx(board.factory());
    fx.CreateLaneEffects(2, 3);
    fx.MuteEffects(); // the login screen
    fx.globalAlarm().PlayAlarm();
    fx.lane(0)->PlayAlarm();
    QVERIFY(board.log.isEmpty());
    fx.RestoreEffectsVolume(2); // the auction screen
    fx.globalAlarm().PlayAlarm();
    fx.lane(1)->PlayPush();
    QCOMPARE(board.log, sl({"S_ALARM start -750", "S_PUSH start -750"}));
}

void TestEffects::recreatingLaneSetsStopsOldSounds() {
    FakeBoard board;
    SoundEffects fx(board.factory());
    fx.CreateLaneEffects(2, 3);
    fx.lane(0)->PlayAlarm();
    fx.lane(1)->PlayPush();
    board.log.clear();
    fx.CreateLaneEffects(3, 3);
    QCOMPARE(board.log, sl({"S_ALARM stop", "S_PUSH stop"}));
    QCOMPARE(fx.laneCount(), 3);
    QCOMPARE(fx.lane(3), nullptr);
    QCOMPARE(fx.lane(-1), nullptr);
}

void TestEffects::failedDeviceSkipsTheRest_data() {
    QTest::addColumn<QString>("failing");
    QTest::addColumn<bool>("alarm");
    QTest::addColumn<bool>("push");
    QTest::addColumn<bool>("click");
    QTest::newRow("alarm fails") << QStringLiteral("S_ALARM") << false << false << false;
    QTest::newRow("push fails") << QStringLiteral("S_PUSH") << true << false << false;
    QTest::newRow("click fails") << QStringLiteral("S_CLICK") << true << true << false;
}

void TestEffects::failedDeviceSkipsTheRest() {
    QFETCH(QString, failing);
    FakeBoard board;
    board.failing = failing;
    TSESForm set(board.factory(), 3);
    QTEST(set.alarm() && set.alarm()->HasVoice(), "alarm");
    QTEST(set.push() && set.push()->HasVoice(), "push");
    QTEST(set.click() && set.click()->HasVoice(), "click");
    // Whatever is missing simply does not play.
    set.PlayAlarm();
    set.PlayPush();
    set.PlayClick();
    set.SetVolumeLevel(1);
    set.StopAll();
}

void TestEffects::headerVolumeChangeClicksAtNewLevel() {
    FakeBoard board;
    SoundEffects fx(board.factory());
    fx.PlayClickSound(); // loaded at full volume
    board.finishAll();
    for (int level : {0, 1}) {
        fx.ApplyClickVolume(level);
        fx.RestoreEffectsVolume(level);
        fx.PlayClickSound();
        board.finishAll();
    }
    QCOMPARE(board.log, sl({"S_CLICK start 0", "S_CLICK start -1500"}));
}

void TestEffects::requestWhileLoadingPlaysWhenLoaded() {
    FakeBoard board;
    board.loading = true;
    SoundEffects fx(board.factory());
    fx.CreateLaneEffects(2, 3);
    // Asked for right after the sets were made, before any sound has loaded.
    fx.lane(0)->PlayAlarm();
    fx.lane(0)->PlayAlarm(); // asked twice: still one alarm
    fx.lane(1)->PlayPush();
    fx.lane(1)->StopAll(); // stopped before it could sound: nothing to play later
    fx.lane(1)->PlayClick();
    fx.lane(1)->SetVolumeLevel(0); // silenced meanwhile: it must not start
    QVERIFY(board.log.isEmpty());
    board.loadAll();
    QCOMPARE(board.log, sl({"S_ALARM start 0"}));
    // Once loaded, nothing is left waiting to sound a second time.
    board.finishAll();
    board.loadAll();
    QCOMPARE(board.log.size(), 1);
}

QTEST_GUILESS_MAIN(TestEffects)
#include "tst_effects.moc"
