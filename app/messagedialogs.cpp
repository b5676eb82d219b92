#include "app/messagedialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace qev {

namespace {

QString DialogText(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

} // namespace

QString ApplicationTitle() {
    return QStringLiteral("☆QEVリアル");
}

void PlayDialogSound(DialogSound sound) {
    if (sound != DialogSound::None)
        QApplication::beep();
}

void ShowMessageDialog(QWidget* window, const QString& text, DialogKind kind, DialogSound sound) {
    PlayDialogSound(sound);
    QMessageBox box(kind == DialogKind::Error ? QMessageBox::Critical : QMessageBox::Information,
                    ApplicationTitle(), DialogText(text), QMessageBox::Ok, window);
    box.setObjectName(QStringLiteral("MessageDialog"));
    box.exec();
}

bool AskMessageDialog(QWidget* window, const QString& text) {
    QMessageBox box(QMessageBox::Question, ApplicationTitle(), DialogText(text),
                    QMessageBox::Yes | QMessageBox::No, window);
    box.setObjectName(QStringLiteral("AskDialog"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace qev
