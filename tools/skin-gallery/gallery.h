#pragma once

#include <QDir>
#include <QString>

class QWidget;

namespace qev {

// Writes grabbed pictures of widgets into one folder and counts failures.
class Gallery {
public:
    explicit Gallery(const QDir& out)
        : m_out(out) {}
    void Save(QWidget& widget, const QString& name);
    // Several widgets side by side with a caption under each, as one picture.
    void SaveRow(const QList<QWidget*>& widgets, const QStringList& captions, const QString& name);
    int Failures() const { return m_failures; }

private:
    QDir m_out;
    int m_failures = 0;
};

} // namespace qev
