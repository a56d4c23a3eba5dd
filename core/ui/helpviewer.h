// The small help viewer that F1 opens: the program's own help text in a
// text browser.
#pragma once

#include <QString>
#include <QWidget>

namespace ui {

// Shows (or brings forward) the help window with the given HTML text.
// Returns the window, so that tests can read it.
QWidget* showhelp(QWidget* parent, const QString& title, const QString& html);
// Installs F1 on a window so that it opens the help.
void installhelpkey(QWidget& window, const QString& title, const QString& html);

}  // namespace ui
