#include "core/ui/panel.h"

#include <algorithm>

namespace ui {

namespace {
// The smallest type a long text is shrunk to.
constexpr double MINPOINTS = 6.0;
}  // namespace

void fittext(QLabel& label) {
  // The label's own size is kept the first time, so that a short text set
  // after a long one is shown in it again.
  bool ok = false;
  const double design = label.property("dosavopointsize").toDouble(&ok);
  QFont font = label.font();
  if (!ok) {
    label.setProperty("dosavopointsize", font.pointSizeF());
  } else if (font.pointSizeF() != design) {
    font.setPointSizeF(design);
    label.setFont(font);
  }
  while (label.wordWrap() && label.heightForWidth(label.width()) > label.height() && font.pointSizeF() > MINPOINTS) {
    font.setPointSizeF(std::max(MINPOINTS, font.pointSizeF() - 0.5));
    label.setFont(font);
  }
}

}  // namespace ui
