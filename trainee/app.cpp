#include "trainee/app.h"

#include <QApplication>
#include <QWidget>

#include "core/ui/artwork.h"
#include "core/ui/icons.h"
#include "core/ui/messages.h"
#include "core/ui/settingsdialog.h"
#include "trainee/calculator.h"
#include "trainee/frmid.h"
#include "trainee/frmmain.h"
#include "trainee/frmmenu.h"
#include "trainee/frmquestion.h"
#include "trainee/helptext.h"

namespace trainee {

Dosavo::Dosavo() {
  corestate.build = core::Build::Trainee;
  // Every window of the program carries its icon.
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr)
    QApplication::setWindowIcon(ui::programicon(ui::Program::dosavo));
  // The product ends by hiding every window (hiding runs no close
  // handlers, so nothing is logged twice) and leaving the event loop.
  endprogram = ui::endapplication;
}

Dosavo::~Dosavo() {
  // Windows that unloaded themselves and are still waiting for deletion go
  // first, then the windows still loaded, the title window last.
  for (auto& w : unloaded_) delete w.data();
  delete calculator_.data();
  delete question_.data();
  delete frmid_.data();
  delete menu_.data();
  delete frmmain_.data();
}

Frmmain& Dosavo::frmmain() {
  if (frmmain_.isNull()) frmmain_ = new Frmmain(*this);
  return *frmmain_;
}

Frmid& Dosavo::frmid() {
  if (frmid_.isNull()) frmid_ = new Frmid(*this);
  return *frmid_;
}

frmmenu& Dosavo::menu() {
  if (menu_.isNull()) menu_ = new frmmenu(*this);
  return *menu_;
}

Frmquestion& Dosavo::question() {
  if (question_.isNull()) question_ = new Frmquestion(*this);
  return *question_;
}

Calculator& Dosavo::calculator() {
  if (calculator_.isNull()) calculator_ = new Calculator(*this);
  return *calculator_;
}

void Dosavo::unloadquestion() {
  QWidget* w = question_.data();
  question_ = nullptr;
  ui::unloadwindow(w, unloaded_);
}

void Dosavo::unloadcalculator() {
  QWidget* w = calculator_.data();
  calculator_ = nullptr;
  ui::unloadwindow(w, unloaded_);
}

void Dosavo::end() {
  if (ended) return;
  ended = true;
  if (endprogram) endprogram();
}

void Dosavo::applybackgrounds() {
  const QPixmap picture = ui::backgroundfor(corestate.settings.textured);
  ui::setbackground(menu(), picture);
  frmsavebackground = picture;
  ui::setbackground(frmid(), picture);
}

void Dosavo::showsettingsdialog(QWidget* parent) {
  ui::Default::Hooks hooks;
  hooks.onload = [this](ui::Default& dialog) { ui::setbackground(dialog, ui::backgroundof(menu())); };
  hooks.onunload = [this] { applybackgrounds(); };
  ui::Default dialog(corestate.settings, hooks, parent);
  installdosavohelp(dialog, QStringLiteral("settings"));
  ui::runmodal(dialog);
}

}  // namespace trainee
