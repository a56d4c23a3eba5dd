#include "core/ui/yesno.h"

#include <QPushButton>
#include <algorithm>

#include "core/ui/twips.h"

namespace ui {
namespace {
constexpr int WIDTHTW = 6375, HEIGHTTW = 2610, BUTTONTOPTW = 1680;
}

YesNo::YesNo(QWidget* parent) : QDialog(parent) {
  setModal(true);
  fixedwindow(*this, QSize(px(WIDTHTW), px(HEIGHTTW)));
  // A title without a close box: the question is answered by a button.
  setWindowFlags((windowFlags() & ~(Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint)) | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint);
  static const char* captions[2] = {"&Yes", "&No"};
  for (int i = 0; i < 2; ++i) {
    buttons[i] = new QPushButton(QString::fromLatin1(captions[i]), this);
    placetw(buttons[i], 1320 + i * 2160, BUTTONTOPTW, 1455, 495);
    connect(buttons[i], &QPushButton::clicked, this, [this, i] { answer(i); });
  }
  buttons[0]->setDefault(true);
}

QRect YesNo::questionplace() { return {px(240), px(120), px(5895), px(1335)}; }

void YesNo::fitquestion(QWidget& question, int height) {
  const QRect place = questionplace();
  const int grow = std::max(0, height - place.height());
  question.setGeometry(place.adjusted(0, 0, 0, grow));
  for (QPushButton* b : buttons) b->move(b->x(), px(BUTTONTOPTW) + grow);
  setFixedSize(px(WIDTHTW), px(HEIGHTTW) + grow);
}

}  // namespace ui
