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

void fixedwindow(QWidget& window, QSize size) {
  if (size.isValid()) window.setFixedSize(size);
  Qt::WindowFlags flags = window.windowFlags();
  const Qt::WindowFlags type = flags & Qt::WindowType_Mask;
  // Naming the title-bar buttons keeps the toolkit from adding its default
  // set, which holds the maximise box.
  flags &= ~(Qt::WindowMaximizeButtonHint | Qt::WindowFullscreenButtonHint | Qt::WindowContextHelpButtonHint);
  flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (type == Qt::Window) flags |= Qt::WindowMinimizeButtonHint;
  const bool visible = window.isVisible();
  window.setWindowFlags(flags);
  if (visible) window.show();
}

}  // namespace ui
