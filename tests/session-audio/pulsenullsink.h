#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace qev {

// A private PulseAudio daemon with a null sink, started as this test's child in a fresh runtime
// folder (no system service), and a recorder of the sink's monitor. The process environment is
// pointed at the daemon so Qt Multimedia plays to it.
class PulseNullSink {
public:
    static constexpr int kRecordRate = 16000;

    PulseNullSink() = default;
    ~PulseNullSink();
    PulseNullSink(const PulseNullSink&) = delete;
    PulseNullSink& operator=(const PulseNullSink&) = delete;

    // False (with why()) when the daemon cannot be started here.
    bool start();
    void stop();
    const QString& why() const { return m_why; }

    // Records the monitor as 16-bit mono at kRecordRate until stopRecording().
    bool startRecording();
    QByteArray stopRecording();
    // What has arrived so far, and when (steady clock, ns) the piece holding byte offset arrived.
    const QByteArray& recorded() const { return m_recorded; }
    qint64 arrivalNs(qsizetype offset) const;

private:
    QProcessEnvironment environment() const;

    std::unique_ptr<QTemporaryDir> m_runtime;
    QProcess m_daemon;
    QProcess m_recorder;
    QByteArray m_recorded;
    QList<QPair<qsizetype, qint64>> m_arrivals; // end offset of each piece, its arrival
    QString m_why;
};

} // namespace qev
