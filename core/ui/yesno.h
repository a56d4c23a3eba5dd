// The modal Yes/No window that both programs ask their confirmations in: a
// question above "&Yes" on the left and "&No" on the right. Each program
// puts its own question widget in the space the window leaves for it and
// answers the buttons in its own way.
//
// Only the two buttons answer. The window has no Cancel button, so Escape
// does nothing, and it has no close box: closing it some other way (the
// window system's close key) is refused, since neither answer may be given
// for the user.
#pragma once

#include <QDialog>
#include <QRect>

class QPushButton;

namespace ui {

class YesNo : public QDialog {
  Q_OBJECT
 public:
  explicit YesNo(QWidget* parent = nullptr);

  QPushButton* buttons[2] = {};  // 0 "&Yes", 1 "&No"

  // Escape and the window system's close do not answer the question.
  void reject() override {}

 protected:
  // Where the question goes, in pixels.
  static QRect questionplace();
  // Makes the window tall enough for a question of the given height in
  // pixels: the question's place grows and the buttons move down with it.
  void fitquestion(QWidget& question, int height);
  // A button was pressed: 0 Yes, 1 No.
  virtual void answer(int index) = 0;
};

}  // namespace ui
