#include "tools/skin-gallery/gallery.h"

#include <QPainter>
#include <QWidget>
#include <cstdio>

namespace qev {

int Gallery::OpenFolder(const QStringList& args, const char* program, QDir& out) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", program);
        return 2;
    }
    out = QDir(args.at(1));
    if (!out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(args.at(1)));
        return 1;
    }
    return 0;
}

void Gallery::Save(QWidget& widget, const QString& name) {
    const QString path = m_out.filePath(name + QStringLiteral(".png"));
    if (!widget.grab().save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ++m_failures;
    }
}

void Gallery::SaveRow(const QList<QWidget*>& widgets, const QStringList& captions, const QString& name) {
    constexpr int kGap = 12;
    constexpr int kCaption = 18;
    int width = kGap;
    int height = 0;
    QList<QPixmap> shots;
    for (QWidget* w : widgets) {
        shots.append(w->grab());
        width += shots.last().width() + kGap;
        height = qMax(height, shots.last().height());
    }
    QImage sheet(width, height + kCaption + 2 * kGap, QImage::Format_RGB32);
    sheet.fill(QColor(64, 64, 64));
    QPainter p(&sheet);
    p.setPen(Qt::white);
    QFont f(QStringLiteral("IPAPGothic"));
    f.setPixelSize(12);
    p.setFont(f);
    int x = kGap;
    for (qsizetype i = 0; i < shots.size(); ++i) {
        p.drawPixmap(x, kGap, shots.at(i));
        p.drawText(QRect(x, kGap + height + 2, shots.at(i).width() + kGap, kCaption), Qt::AlignLeft,
                   captions.value(i));
        x += shots.at(i).width() + kGap;
    }
    p.end();
    const QString path = m_out.filePath(name + QStringLiteral(".png"));
    if (!sheet.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ++m_failures;
    }
}

} // namespace qev
