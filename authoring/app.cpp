#include "authoring/app.h"

#include <QApplication>
#include <QLabel>

#include "authoring/frmdrugdatabase.h"
#include "authoring/frmexam.h"
#include "authoring/frmsave.h"
#include "authoring/frmstart.h"
#include "authoring/helptext.h"
#include "core/ui/icons.h"
#include "core/ui/messages.h"
#include "core/ui/settingsdialog.h"
#include "core/ui/textconv.h"

namespace authoring {

Quizwright::Quizwright() {
  corestate.build = core::Build::Tool;
  // Every window of the tool carries its icon.
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr)
    QApplication::setWindowIcon(ui::programicon(ui::Program::quizwright));
  endprogram = ui::endapplication;
}

Quizwright::~Quizwright() {
  for (auto& w : unloaded_) delete w.data();
  delete exam_.data();
  delete drugdatabase_.data();
  delete start_.data();
}

frmstart& Quizwright::start() {
  if (start_.isNull()) start_ = new frmstart(*this);
  return *start_;
}

Frmexam& Quizwright::exam() {
  if (exam_.isNull()) exam_ = new Frmexam(*this);
  return *exam_;
}

frmDrugDatabase& Quizwright::drugdatabase() {
  if (drugdatabase_.isNull()) drugdatabase_ = new frmDrugDatabase(*this);
  return *drugdatabase_;
}

void Quizwright::unloadexam() {
  QWidget* w = exam_.data();
  exam_ = nullptr;
  ui::unloadwindow(w, unloaded_);
}

void Quizwright::unloaddrugdatabase() {
  QWidget* w = drugdatabase_.data();
  drugdatabase_ = nullptr;
  ui::unloadwindow(w, unloaded_);
}

bool Quizwright::askyesno(QWidget* parent, const std::string& question) {
  Frmsave window(*this, parent);
  window.Label1->setText(ui::fromansi(question));
  window.fitquestion();
  ui::runmodal(window);
  return saveanswer;
}

void Quizwright::showsettingsdialog(QWidget* parent) {
  // The tool leaves window backgrounds alone: the dialog only gets its help.
  ui::Default::Hooks hooks;
  hooks.onload = [](ui::Default& dialog) { installquizwrighthelp(dialog, QStringLiteral("settings")); };
  ui::Default dialog(corestate.settings, hooks, parent);
  ui::runmodal(dialog);
}

void Quizwright::end() {
  if (ended) return;
  ended = true;
  if (endprogram) endprogram();
}

void showmessage(QWidget* parent, const std::string& text) { ui::showbox(parent, ui::fromansi(text), APPTITLE); }

}  // namespace authoring
