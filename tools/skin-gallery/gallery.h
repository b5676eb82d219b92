#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

class QWidget;

namespace qev {

// Writes grabbed pictures of widgets into one folder and counts failures.
class Gallery {
public:
    explicit Gallery(const QDir& out)
        : m_out(out) {}
    // The folder named by the only argument, created; 0 when it is there, otherwise the exit
    // status (2 for usage, 1 when it cannot be made), with the reason on standard error.
    static int OpenFolder(const QStringList& args, const char* program, QDir& out);
    void Save(QWidget& widget, const QString& name);
    // Several widgets side by side with a caption under each, as one picture.
    void SaveRow(const QList<QWidget*>& widgets, const QStringList& captions, const QString& name);
    int Failures() const { return m_failures; }

private:
    QDir m_out;
    int m_failures = 0;
};

} // namespace qev
