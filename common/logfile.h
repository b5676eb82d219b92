#pragma once

#include <QByteArrayView>
#include <QString>

namespace qev {

// The shutdown log: lines stamped "MM/dd hh:mm:ss.zzz" (local time of the installed clock),
// appended to a file beside the executable, only while the "SystemLog" switch is on. The file
// is never rotated; a failed write loses that line and nothing else.
class LogFile {
public:
    // <executable path>.log
    static QString defaultPath();

    LogFile(QString path, bool enabled);

    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }
    const QString& path() const { return m_path; }

    // Text goes out as UTF-8; byte text is written as it is.
    void WriteLog(const QString& text) const;
    void WriteLog(QByteArrayView text) const;

private:
    QString m_path;
    bool m_enabled;
};

} // namespace qev
