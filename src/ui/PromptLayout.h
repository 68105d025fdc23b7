// What the number and name prompts share: their layout and the rule for refused keys.
#pragma once

#include <QString>

class QDialog;
class QEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vrk {

class Ui;

// Lays out a prompt: the question above the box, OK and Cancel below on the right.
void LayOutPrompt(QDialog& dialog, QLabel* question, QLineEdit* box, QPushButton* ok, QPushButton* cancel);
// True for a key press that would type a character outside `allowed` (a character class such as
// "0-9"); editing keys, shortcuts and Backspace always get through.
bool IsRefusedCharacter(const QEvent* event, const QString& allowed);
// Shows what is typed into the box as "*" characters, whatever the style's own mask character.
void MaskWithStars(QLineEdit* box);
// Holds a box to the digits 0 to 9: pasted text through a validator, any other typed character refused
// with a beep.
void AcceptDigitsOnly(QLineEdit* box, Ui& ui);

}  // namespace vrk
