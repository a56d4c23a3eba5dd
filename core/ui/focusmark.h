// A focus mark for widgets whose style draws none of its own while they have
// the keyboard (a list, a scroll bar, a read-only text): a ring just inside
// the widget's edge, shown exactly while the widget has the focus, so that
// every Tab stop shows where the keyboard is.
#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace ui {

void showfocusmark(QWidget& widget);

// A text box that is there to be read: nothing can be typed into it, Tab
// leaves it, the arrow keys scroll it, and it shows the focus mark while it
// has the keyboard.
void readingbox(QPlainTextEdit& box);

}  // namespace ui
