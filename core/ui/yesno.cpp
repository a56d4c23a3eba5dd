#include "core/ui/yesno.h"

#include <QPushButton>

#include "core/ui/twips.h"

namespace ui {

YesNo::YesNo(QWidget* parent) : QDialog(parent) {
  setModal(true);
  setFixedSize(px(6375), px(2610));
  static const char* captions[2] = {"&Yes", "&No"};
  for (int i = 0; i < 2; ++i) {
    buttons[i] = new QPushButton(QString::fromLatin1(captions[i]), this);
    placetw(buttons[i], 1320 + i * 2160, 1680, 1455, 495);
    connect(buttons[i], &QPushButton::clicked, this, [this, i] { answer(i); });
  }
  buttons[0]->setDefault(true);
}

QRect YesNo::questionplace() { return {px(240), px(120), px(5895), px(1335)}; }

}  // namespace ui
