// The log file and the download cache folder.
#include "common/clock.h"
#include "common/logfile.h"
#include "common/tempfolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace qev;

namespace {

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class TestFiles : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const char* relative) const { return m_dir.filePath(QString::fromLatin1(relative)); }

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
    }

    void logSwitchedOffCreatesNothing() {
        const LogFile log(path("qevreal.log"), false);
        log.WriteLog(QStringLiteral("closing"));
        QVERIFY(!QFile::exists(log.path()));
    }

    void logAppendsStampedLines() {
        QVERIFY(writeFile(path("qevreal.log"), "earlier\r\n"));
        const QDateTime at(QDate(2026, 11, 7), QTime(5, 4, 3, 21));
        ManualClock clock(at.toMSecsSinceEpoch());
        ScopedClock installed(clock);
        const LogFile log(path("qevreal.log"), true);
        log.WriteLog(QStringLiteral("closing"));
        clock.advance(1000);
        log.WriteLog(QByteArrayView("\x8f\x49\x97\xb9")); // Shift-JIS bytes go out unchanged
        QCOMPARE(readFile(log.path()), QByteArrayLiteral("earlier\r\n"
                                                         "11/07 05:04:03.021 closing\r\n"
                                                         "11/07 05:04:04.021 \x8f\x49\x97\xb9\r\n"));
    }

    void logWriteFailureIsSwallowed() {
        const LogFile log(path("missing/folder/qevreal.log"), true);
        log.WriteLog(QStringLiteral("lost"));
        QVERIFY(!QFile::exists(log.path()));
    }

    void tempFolderFor_data() {
        QTest::addColumn<QString>("userCache");
        QTest::addColumn<QString>("exeDir");
        QTest::addColumn<QString>("folder");
        QTest::newRow("user cache") << QStringLiteral("/home/dealer/.cache") << QStringLiteral("/opt/qev")
                                    << QStringLiteral("/home/dealer/.cache/QEV2016/");
        QTest::newRow("trailing slash")
            << QStringLiteral("/home/dealer/.cache/") << QStringLiteral("/opt/qev")
            << QStringLiteral("/home/dealer/.cache/QEV2016/");
        QTest::newRow("no cache folder")
            << QString() << QStringLiteral("/opt/qev") << QStringLiteral("/opt/qev/temp/");
    }
    void tempFolderFor() {
        QFETCH(QString, userCache);
        QFETCH(QString, exeDir);
        QFETCH(QString, folder);
        QCOMPARE(TempFolderFor(userCache, exeDir), folder);
    }

    void tempFolderIsTheUsersOwn() {
        const QByteArray previous = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_dir.path()));
        QDir().mkpath(path("QEV2016"));
        QFile::setPermissions(path("QEV2016"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                   QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                                   QFile::ExeOther);
        const QString folder = TempFolder();
        if (previous.isNull())
            qunsetenv("XDG_CACHE_HOME");
        else
            qputenv("XDG_CACHE_HOME", previous);
        QCOMPARE(folder, path("QEV2016/"));
        // Nobody else may list, read or plant files there, even when it was made open before.
        constexpr QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                              QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
        QCOMPARE(QFile::permissions(folder) & others, QFile::Permissions());
        QVERIFY(QFileInfo(folder).isDir());
    }
    void deleteFolderContents() {
        QDir root(m_dir.path());
        root.mkpath(QStringLiteral("cache/shtmls"));
        root.mkpath(QStringLiteral("cache/imgs/deep/er"));
        root.mkpath(QStringLiteral("cache/.keepdir"));
        root.mkpath(QStringLiteral("outside"));
        QVERIFY(writeFile(path("cache/a.txt"), "a"));
        QVERIFY(writeFile(path("cache/shtmls/0_1_2.shtml"), "x"));
        QVERIFY(writeFile(path("cache/imgs/deep/er/p.jpg"), "x"));
        QVERIFY(writeFile(path("cache/readonly.jpg"), "x"));
        QFile::setPermissions(path("cache/readonly.jpg"), QFile::ReadOwner);
        QVERIFY(writeFile(path("cache/imgs/deep/locked.jpg"), "x"));
        QFile::setPermissions(path("cache/imgs/deep"), QFile::ReadOwner | QFile::ExeOwner);
        QVERIFY(writeFile(path("cache/.hidden"), "h"));
        QVERIFY(writeFile(path("outside/precious.txt"), "keep me"));
        QVERIFY(QFile::link(path("outside"), path("cache/linkdir")));
        QVERIFY(QFile::link(path("outside/precious.txt"), path("cache/linkfile")));
        QVERIFY(QFile::link(path("nowhere"), path("cache/dangling")));

        DeleteFolderContents(path("cache"));

        const QStringList left =
            QDir(path("cache"))
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        QCOMPARE(left, (QStringList{QStringLiteral(".hidden"), QStringLiteral(".keepdir")}));
        // Links went as links: what they pointed to is untouched.
        QCOMPARE(readFile(path("outside/precious.txt")), QByteArrayLiteral("keep me"));
    }

    void deleteFolderContentsBlankDoesNothing() {
        QVERIFY(writeFile(path("stay.txt"), "s"));
        const QString old = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
        DeleteFolderContents(QString());
        DeleteFolderContents(QStringLiteral("  "));
        QDir::setCurrent(old);
        QVERIFY(QFile::exists(path("stay.txt")));
    }

    void deleteFolderContentsLeavesLinkedFolder() {
        QDir(m_dir.path()).mkpath(QStringLiteral("home"));
        QVERIFY(writeFile(path("home/precious.txt"), "keep me"));
        QVERIFY(QFile::link(path("home"), path("QEV2016")));
        DeleteFolderContents(path("QEV2016"));
        DeleteFolderContents(path("QEV2016") + u'/');
        QCOMPARE(readFile(path("home/precious.txt")), QByteArrayLiteral("keep me"));
    }

    void deleteFolderContentsMissingFolder() { DeleteFolderContents(path("not-there")); }
};

QTEST_GUILESS_MAIN(TestFiles)
#include "tst_files.moc"
