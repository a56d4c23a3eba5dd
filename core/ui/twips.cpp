#include "core/ui/twips.h"

#include <QGuiApplication>
#include <QScreen>

#include "core/tables.h"

namespace ui {
namespace {
int screenw = 0;
int screenh = 0;
}  // namespace

void setscreensizetwips(int width, int height) {
  screenw = width;
  screenh = height;
}

void centreform(QWidget& window) {
  double sw = screenw, sh = screenh;
  if (sw <= 0 || sh <= 0) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() : QSize(1024, 768);
    sw = twips(size.width());
    sh = twips(size.height());
  }
  const QSize frame = window.frameGeometry().size();
  const auto p = core::centreposition(sh, sw, twips(frame.height()), twips(frame.width()));
  window.move(px(p.left), px(p.top));
}

}  // namespace ui
