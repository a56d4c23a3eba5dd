// Positions and sizes given in twips, converted to pixels at 15 twips a pixel.
#pragma once

#include <QRect>
#include <QWidget>

namespace ui {

inline constexpr int TWIPS_PER_PIXEL = 15;
inline int px(int twips) { return twips / TWIPS_PER_PIXEL; }
inline int twips(int pixels) { return pixels * TWIPS_PER_PIXEL; }
// Places a widget at left, top with width and height, all in twips.
inline void placetw(QWidget* w, int left, int top, int width, int height) {
  w->setGeometry(px(left), px(top), px(width), px(height));
}

// Puts a window at half the screen width and 0.85 of half the screen height,
// less half its own size. The screen size comes from the primary screen
// unless a test has set one (in twips).
void centreform(QWidget& window);

// A window whose controls sit at fixed places: it keeps the given size (when
// one is given) and cannot be resized or maximised; its title bar keeps the
// close box (and the minimise box of a main window).
void fixedwindow(QWidget& window, QSize size = {});
void setscreensizetwips(int width, int height);  // 0, 0: the real screen again

}  // namespace ui
