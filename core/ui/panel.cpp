#include "core/ui/panel.h"

#include <QFontMetrics>
#include <algorithm>

namespace ui {
namespace {
// The smallest type a text is set in to fit.
constexpr double MINPOINTS = 6.0;
}  // namespace

void fittext(QLabel& label) {
  bool ok = false;
  const double design = label.property("dosavopointsize").toDouble(&ok);
  QFont font = label.font();
  if (!ok) {
    label.setProperty("dosavopointsize", font.pointSizeF());
  } else if (font.pointSizeF() != design) {
    font.setPointSizeF(design);
    label.setFont(font);
  }
  const auto toolarge = [&label, &font] {
    if (label.wordWrap()) return label.heightForWidth(label.width()) > label.height();
    return QFontMetrics(font).horizontalAdvance(label.text()) > label.contentsRect().width();
  };
  while (toolarge() && font.pointSizeF() > MINPOINTS) {
    font.setPointSizeF(std::max(MINPOINTS, font.pointSizeF() - 0.5));
    label.setFont(font);
  }
}

}  // namespace ui
