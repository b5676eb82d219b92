#include "common/logfile.h"

#include "common/clock.h"

#include <QCoreApplication>
#include <QFile>

namespace qev {

QString LogFile::defaultPath() {
    return QCoreApplication::applicationFilePath() + QStringLiteral(".log");
}

LogFile::LogFile(QString path, bool enabled)
    : m_path(std::move(path))
    , m_enabled(enabled) {}

void LogFile::WriteLog(const QString& text) const {
    WriteLog(QByteArrayView(text.toUtf8()));
}

void LogFile::WriteLog(QByteArrayView text) const {
    if (!m_enabled || m_path.isEmpty())
        return;
    const QDateTime now = Clock::current().now().toLocalTime();
    QByteArray line = now.toString(QStringLiteral("MM/dd hh:mm:ss.zzz")).toLatin1();
    line += ' ';
    line += text;
    line += "\r\n";
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    file.write(line);
}

} // namespace qev
