// The tool's modal Yes/No window: the caller sets the question in Label1,
// shows the window modally and reads the tool's saveanswer.
#pragma once

#include "core/ui/yesno.h"

class QLabel;

namespace authoring {

class Quizwright;

class Frmsave : public ui::YesNo {
  Q_OBJECT
 public:
  // Form_Load runs here.
  explicit Frmsave(Quizwright& app, QWidget* parent = nullptr);

  QLabel* Label1 = nullptr;
  QPushButton* const* Command1 = buttons;  // 0 "&Yes", 1 "&No"

  void Command1_Click(int index);
  // Makes the window tall enough for the question now in Label1 and
  // centres it again.
  void fitquestion();

 protected:
  void answer(int index) override { Command1_Click(index); }

 private:
  void Form_Load();
  Quizwright& app_;
};

}  // namespace authoring
