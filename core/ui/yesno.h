// The modal Yes/No window that both programs ask their confirmations in: a
// question above "&Yes" on the left and "&No" on the right. Each program
// puts its own question widget in the space the window leaves for it and
// answers the buttons in its own way.
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

 protected:
  // Where the question goes, in pixels.
  static QRect questionplace();
  // A button was pressed: 0 Yes, 1 No.
  virtual void answer(int index) = 0;
};

}  // namespace ui
