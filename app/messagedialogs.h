#pragma once

#include <QString>

class QWidget;

namespace qev {

// The program's dialogs: the application title as caption, centred on the window, a carriage
// return in the text is a line break.
enum class DialogKind { Information, Error };
enum class DialogSound { None, Exclamation, Error };

// The application title, the caption of every dialog.
QString ApplicationTitle();

void ShowMessageDialog(QWidget* window, const QString& text, DialogKind kind,
                       DialogSound sound = DialogSound::None);
// Yes and No; Enter answers Yes and Escape answers No. True for Yes.
bool AskMessageDialog(QWidget* window, const QString& text);

// The system's message beep stands in for the exclamation and error sounds.
void PlayDialogSound(DialogSound sound);

} // namespace qev
