// The settings store: which file answers, owner-only permissions of the per-user store, and
// the user's values with their defaults.
#include "common/settingsstore.h"
#include "common/usersettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sys/stat.h>

using namespace qev;

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT

    // A fresh folder for every test function and row: Qt keeps a parsed copy of each settings
    // file by path and trusts it while size and modification time stay the same, so two rows
    // writing equal-sized files to one path within a timestamp tick would read each other's.
    std::unique_ptr<QTemporaryDir> m_dir;

    SettingsStore::Paths paths() const {
        return {m_dir->filePath(QStringLiteral("bin/qevreal.ini")),
                m_dir->filePath(QStringLiteral("cfg/QEV2016/QEV2016.ini"))};
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("bin"))));
    }
    void cleanup() { m_dir.reset(); }

    void configFromUserStoreWithoutIni() {
        SettingsStore store(paths());
        QVERIFY(!store.usesIniBesideExecutable());
        store.user().setValue(QStringLiteral("Uri/Login"), QStringLiteral("http://user/"));
        QCOMPARE(store.config().value(QStringLiteral("Uri/Login")).toString(),
                 QStringLiteral("http://user/"));
    }

    void configFromIniBesideExecutable() {
        writeFile(paths().iniBesideExecutable,
                  "[Uri]\nLogin=http://ini/login\nAlarmSetting=http://ini/alarm\n");
        SettingsStore store(paths());
        store.user().setValue(QStringLiteral("Uri/Login"), QStringLiteral("http://user/"));
        QVERIFY(store.usesIniBesideExecutable());
        QCOMPARE(store.config().value(QStringLiteral("Uri/Login")).toString(),
                 QStringLiteral("http://ini/login"));
        QCOMPARE(store.config().value(QStringLiteral("Uri/AlarmSetting")).toString(),
                 QStringLiteral("http://ini/alarm"));
        // The user's own values stay in the per-user store even then.
        SaveVolume(store.user(), 1);
        store.sync();
        QVERIFY(!readFile(paths().iniBesideExecutable).contains("Volume"));
        QVERIFY(readFile(paths().userFile).contains("Volume=1"));
        QCOMPARE(LoadVolume(SettingsStore(paths()).user()), 1);
    }

    void userStoreIsOwnerOnly() {
        const mode_t old = umask(0);
        {
            SettingsStore store(paths());
            store.user().setValue(QLatin1StringView(UserKeys::Password), QStringLiteral("ciphered"));
            store.sync();
        }
        umask(old);
        const QString file = paths().userFile;
        // User, group and other bits (the owner bits mirror the user bits on Unix).
        QCOMPARE(QFile::permissions(file) & 0x0777, QFile::Permissions(QFile::ReadUser | QFile::WriteUser));
        const QString folder = QFileInfo(file).absolutePath();
        QCOMPARE(QFile::permissions(folder) & 0x0777,
                 QFile::Permissions(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser));
        QCOMPARE(SettingsStore(paths()).user().value(QLatin1StringView(UserKeys::Password)).toString(),
                 QStringLiteral("ciphered"));
    }

    void loadVolume_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<int>("level");
        QTest::newRow("missing") << QByteArray() << 3;
        QTest::newRow("0") << QByteArrayLiteral("[General]\nVolume=0\n") << 0;
        QTest::newRow("2") << QByteArrayLiteral("[General]\nVolume=2\n") << 2;
        QTest::newRow("7 unchanged") << QByteArrayLiteral("[General]\nVolume=7\n") << 7;
        QTest::newRow("not a number") << QByteArrayLiteral("[General]\nVolume=loud\n") << 3;
        QTest::newRow("empty") << QByteArrayLiteral("[General]\nVolume=\n") << 3;
    }
    void loadVolume() {
        QFETCH(QByteArray, ini);
        QFETCH(int, level);
        if (!ini.isEmpty()) {
            QDir().mkpath(QFileInfo(paths().userFile).absolutePath());
            writeFile(paths().userFile, ini);
        }
        SettingsStore store(paths());
        QCOMPARE(LoadVolume(store.user()), level);
    }

    void saveVolumeRoundTrip() {
        {
            SettingsStore store(paths());
            SaveVolume(store.user(), 0);
            store.sync();
        }
        SettingsStore again(paths());
        QCOMPARE(LoadVolume(again.user()), 0);
    }

    void loadTweaks_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<bool>("before");
        QTest::addColumn<bool>("disableAudio");
        QTest::addColumn<bool>("systemLog");
        QTest::newRow("missing keeps false") << QByteArray() << false << false << false;
        QTest::newRow("missing keeps true") << QByteArray() << true << true << true;
        QTest::newRow("true") << QByteArrayLiteral("[Tweaks]\nDisableAudio=true\nSystemLog=true\n") << false
                              << true << true;
        QTest::newRow("numbers") << QByteArrayLiteral("[Tweaks]\nDisableAudio=1\nSystemLog=0\n") << true
                                 << true << false;
        QTest::newRow("each on its own")
            << QByteArrayLiteral("[Tweaks]\nSystemLog=false\n") << true << true << false;
        QTest::newRow("unreadable keeps")
            << QByteArrayLiteral("[Tweaks]\nDisableAudio=perhaps\nSystemLog=\n") << true << true << true;
        QTest::newRow("outside the subgroup")
            << QByteArrayLiteral("[General]\nSystemLog=true\n") << false << false << false;
    }
    void loadTweaks() {
        QFETCH(QByteArray, ini);
        QFETCH(bool, before);
        QFETCH(bool, disableAudio);
        QFETCH(bool, systemLog);
        if (!ini.isEmpty()) {
            QDir().mkpath(QFileInfo(paths().userFile).absolutePath());
            writeFile(paths().userFile, ini);
        }
        SettingsStore store(paths());
        Tweaks tweaks{before, before};
        LoadTweaks(store.user(), tweaks);
        QCOMPARE(tweaks.disableAudio, disableAudio);
        QCOMPARE(tweaks.systemLog, systemLog);
    }

    void loadTweaksNeverCreatesThem() {
        SettingsStore store(paths());
        Tweaks tweaks;
        LoadTweaks(store.user(), tweaks);
        SaveVolume(store.user(), 2);
        store.sync();
        QVERIFY(readFile(paths().userFile).contains("Volume=2"));
        QVERIFY(!readFile(paths().userFile).contains("Tweaks"));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
