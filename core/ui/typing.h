// What a text box of either program takes from the keyboard: only
// characters that Windows-1252 holds (the stored texts are in it), and no
// character typed with Alt, which is the key of menus and buttons; and the
// Escape key that a window without a Cancel button does not answer.
#pragma once

#include <QString>
#include <functional>

class QKeyEvent;
class QLineEdit;
class QWidget;

namespace ui {

// The first character of the text that Windows-1252 cannot hold (a
// character beyond the 16-bit range whole), or an empty text.
QString unstorable(const QString& text);

// The message that refuses such a character, as program names itself.
QString unstorablemessage(const QString& character, const QString& program);

// Whether the key would type a character while Alt is held: such a key is
// an access key that nothing answers, and types nothing.
bool altcharacter(const QKeyEvent* event);

// Makes a text box drop keys that would type a character with Alt.
void refusealtcharacters(QWidget& box);

// A window with no Cancel button: Escape does nothing there, so that one
// key never closes it or throws away what was chosen in it. Its close box
// and its buttons still close it.
void ignoreescape(QWidget& window);

// Keeps a one-line box to characters that Windows-1252 holds: an edit of
// the user's (typing, pasting, an input method) that brings another one in
// is taken back whole, the cursor where it was, and refused(character)
// is called. Texts set by the program are not checked.
void keepstorable(QLineEdit& box, std::function<void(const QString& character)> refused);

}  // namespace ui
