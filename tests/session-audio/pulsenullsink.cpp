#include "pulsenullsink.h"

#include "common/pumpwait.h"

#include <QFile>
#include <QStandardPaths>
#include <chrono>
#include <csignal>
#include <sys/types.h>

namespace qev {

PulseNullSink::~PulseNullSink() {
    stop();
}

qint64 PulseNullSink::arrivalNs(qsizetype offset) const {
    for (const auto& [end, ns] : m_arrivals) {
        if (offset < end)
            return ns;
    }
    return -1;
}

QProcessEnvironment PulseNullSink::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime->path());
    env.insert(QStringLiteral("HOME"), m_runtime->path());
    env.insert(QStringLiteral("PULSE_SERVER"),
               QStringLiteral("unix:") + m_runtime->path() + QStringLiteral("/pulse/native"));
    // The sanitizer build's leak report on the daemon's children is not ours to judge.
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    return env;
}

bool PulseNullSink::start() {
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    const QString parec = QStandardPaths::findExecutable(QStringLiteral("parec"));
    if (daemon.isEmpty() || parec.isEmpty()) {
        m_why = QStringLiteral("pulseaudio or parec is not installed (scripts/install-deps installs them)");
        return false;
    }
    m_runtime = std::make_unique<QTemporaryDir>();
    if (!m_runtime->isValid()) {
        m_why = QStringLiteral("no temporary folder for the daemon");
        return false;
    }
    QFile::setPermissions(m_runtime->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QProcessEnvironment env = environment();
    m_daemon.setProcessEnvironment(env);
    m_daemon.setProcessChannelMode(QProcess::MergedChannels);
    m_daemon.start(daemon, {QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                            QStringLiteral("--disallow-exit"), QStringLiteral("-n"),
                            QStringLiteral("--load=module-null-sink sink_name=qevnull"),
                            QStringLiteral("--load=module-native-protocol-unix")});
    if (!m_daemon.waitForStarted(5000)) {
        m_why = QStringLiteral("pulseaudio did not start: ") + m_daemon.errorString();
        return false;
    }
    const QString socket = m_runtime->path() + QStringLiteral("/pulse/native");
    if (!PumpWait([&] { return QFile::exists(socket) || m_daemon.state() != QProcess::Running; }, 10000) ||
        m_daemon.state() != QProcess::Running) {
        m_why = QStringLiteral("pulseaudio did not come up: ") + QString::fromLocal8Bit(m_daemon.readAll());
        stop();
        return false;
    }
    // The socket appears before the daemon answers; Qt connects only once, so wait for an answer.
    const QString pactl = QStandardPaths::findExecutable(QStringLiteral("pactl"));
    const bool answers = PumpWait(
        [&] {
            QProcess probe;
            probe.setProcessEnvironment(env);
            probe.start(pactl, {QStringLiteral("info")});
            return probe.waitForFinished(3000) && probe.exitCode() == 0;
        },
        10000);
    if (!answers) {
        m_why = QStringLiteral("pulseaudio does not answer");
        stop();
        return false;
    }
    // Everything this process opens from now on talks to the private daemon.
    for (const QString& key : {QStringLiteral("XDG_RUNTIME_DIR"), QStringLiteral("PULSE_SERVER")})
        qputenv(key.toLatin1().constData(), env.value(key).toLocal8Bit());
    return true;
}

void PulseNullSink::stop() {
    if (m_recorder.state() != QProcess::NotRunning) {
        m_recorder.kill();
        m_recorder.waitForFinished(3000);
    }
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(5000)) {
            m_daemon.kill();
            m_daemon.waitForFinished(3000);
        }
    }
}

bool PulseNullSink::startRecording() {
    m_recorded.clear();
    m_arrivals.clear();
    m_recorder.setProcessEnvironment(environment());
    QObject::disconnect(&m_recorder, nullptr, nullptr, nullptr);
    QObject::connect(&m_recorder, &QProcess::readyReadStandardOutput, [this] {
        m_recorded += m_recorder.readAllStandardOutput();
        m_arrivals.append({m_recorded.size(), std::chrono::duration_cast<std::chrono::nanoseconds>(
                                                  std::chrono::steady_clock::now().time_since_epoch())
                                                  .count()});
    });
    m_recorder.start(QStandardPaths::findExecutable(QStringLiteral("parec")),
                     {QStringLiteral("--device=qevnull.monitor"), QStringLiteral("--format=s16le"),
                      QStringLiteral("--rate=") + QString::number(kRecordRate),
                      QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=20")});
    if (!m_recorder.waitForStarted(5000))
        return false;
    // Connected once the monitor's first bytes arrive; from then on the sink runs in small blocks.
    PumpWait([this] { return !m_recorded.isEmpty(); }, 5000);
    return true;
}

QByteArray PulseNullSink::stopRecording() {
    // parec writes out what it holds only when interrupted, not when terminated.
    if (m_recorder.processId() > 0)
        ::kill(pid_t(m_recorder.processId()), SIGINT);
    if (!m_recorder.waitForFinished(3000)) {
        m_recorder.kill();
        m_recorder.waitForFinished(3000);
    }
    m_recorded += m_recorder.readAllStandardOutput();
    return m_recorded;
}

} // namespace qev
