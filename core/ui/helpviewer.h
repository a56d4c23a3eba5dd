// The small help viewer that F1 opens: the program's own help text in a
// text browser.
#pragma once

#include <QString>
#include <QWidget>

namespace ui {

// Shows (or brings forward) the help window with the given HTML text,
// centred over the window that asked for it and owned by that window, so
// that it can be used while that window is modal. A non-empty anchor
// scrolls the text to the section of that name. Returns the window, so that
// tests can read it.
QWidget* showhelp(QWidget* parent, const QString& title, const QString& html, const QString& anchor = {});
// Installs F1 on a window so that it opens the help (at the anchor's
// section when one is given).
void installhelpkey(QWidget& window, const QString& title, const QString& html, const QString& anchor = {});
// Gives a message box shown over a window the F1 of that window: the same
// help, at the same section. Nothing when the window has no help key.
void inherithelpkey(const QWidget& from, QWidget& box);

}  // namespace ui
