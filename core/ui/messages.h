// Modal message boxes and modal windows, with a hook that the widget tests
// install so that nothing waits for a person.
#pragma once

#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

namespace ui {

// Shows a modal message box with an OK button, wide enough for its title.
void showbox(QWidget* parent, const QString& text, const QString& title,
             QMessageBox::Icon icon = QMessageBox::NoIcon);

// About the width in pixels a window needs for its title bar to show the
// title whole.
int titlewidth(const QString& title);

// While a hook is installed, message boxes go to it instead of the screen.
using MessageHook = std::function<void(const QString& title, const QString& text, QMessageBox::Icon icon)>;
void setmessagehook(MessageHook hook);

// Shows a window of ours modally and returns when it has closed. While a
// modal hook is installed, the window is shown, the hook is called with it
// (to click its buttons) and the call returns; a window still open after
// the hook is closed.
using ModalHook = std::function<void(QDialog& dialog)>;
void setmodalhook(ModalHook hook);
int runmodal(QDialog& dialog);

// Shows a window with the keyboard: a window that opens on the
// user's key takes the next keys, even where the window system would leave
// the keyboard with the window that has just gone.
void showactive(QWidget& window);

// Once the waiting events have run, gives the keyboard back to the window
// when no window has it: where the window system leaves the keyboard with
// no window after a modal window or the help closes, the window the user
// was working in takes it again. Modal windows and message boxes do this
// for the window that was active when they opened.
void givebackkeyboard(QWidget* window);

// Unloads a window: it is hidden now and deleted once control is back in
// the event loop, since unloading may be asked for from inside one of its
// own handlers. It waits in pending until then; the program's end deletes
// what still waits.
void unloadwindow(QWidget* window, std::vector<QPointer<QWidget>>& pending);

// Ends a program at once: every window is hidden (hiding runs no close
// handlers) and the event loop is left.
void endapplication();

}  // namespace ui
