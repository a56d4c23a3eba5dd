// The trainee program's modal Yes/No window: the save question before the
// results log is written, and the question whether to try a denied log
// file again. Loaded afresh at each showing (create it, show it with
// ui::runmodal, let it go).
#pragma once

#include <string>

#include "core/ui/yesno.h"

class QPushButton;
class QPlainTextEdit;

namespace trainee {

class Dosavo;

class Frmsave : public ui::YesNo {
  Q_OBJECT
 public:
  // Form_Load runs here: retry mode when app.options.retryflag is true,
  // else save mode.
  explicit Frmsave(Dosavo& app, QWidget* parent = nullptr);

  QPlainTextEdit* Text1 = nullptr;
  QPushButton* const* SSCommand1 = buttons;  // 0 "&Yes", 1 "&No"

  void SSCommand1_Click(int index);

 protected:
  void answer(int index) override { SSCommand1_Click(index); }

 private:
  void Form_Load();
  Dosavo& app_;
  bool retrymode_ = false;
};

// Asks in the Yes/No window whether to try again after the failure that
// message tells; true for Yes.
bool asktryagain(Dosavo& app, const std::string& message);

}  // namespace trainee
