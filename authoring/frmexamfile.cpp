// The test editor's question generation and File menu: creating a batch of
// questions, the list of test files, New, Open, Save, Save As and the text
// export with its options. The rules live in authoring/model; these
// handlers hold the dialogs and move the results into the controls.
#include <QAction>
#include <QCheckBox>
#include <QCompleter>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>

#include "authoring/app.h"
#include "core/askagain.h"
#include "authoring/boxes.h"
#include "authoring/frmexam.h"
#include "authoring/helptext.h"
#include "authoring/model/testfiles.h"
#include "authoring/model/textexport.h"
#include "core/errors.h"
#include "core/files.h"
#include "core/text.h"
#include "core/ui/messages.h"
#include "core/ui/panel.h"
#include "core/ui/textconv.h"
#include "core/ui/twips.h"

namespace authoring {
namespace {

const QString SAVETITLE = QStringLiteral("Save Drug Test");
const QString OPENTITLE = QStringLiteral("Open Test");
const QString OPENFILTER = QStringLiteral("Dosavo Files (*.vqt)");
const QStringList SAVEFILTERS = {QStringLiteral("Dosavo Test (vqt) (*.vqt)"), QStringLiteral("Text File (txt) (*.txt)")};
const std::string ILLEGALSAVE = "The file name that you entered was illegal. The file was not saved.";

// Shows the dialog with its filters, the first one chosen. Gives the name
// chosen, as the file system spells it, or nothing when the dialog was
// cancelled.
std::string chosenname(QFileDialog& dialog, const QStringList& filters) {
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters.constFirst());
  const int result = ui::runmodal(dialog);
  // A name list still open under the name box closes with the dialog, and
  // the editor takes the keyboard back, so that its menu keys work at once.
  for (QCompleter* names : dialog.findChildren<QCompleter*>())
    if (names->popup() != nullptr) names->popup()->hide();
  if (QWidget* editor = dialog.parentWidget()) editor->activateWindow();
  if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::string();
  return ui::tofilename(dialog.selectedFiles().constFirst());
}

}  // namespace

// ---- question generation ------------------------------------------------------

void Frmexam::Cmdgenerate_Click() {
  std::array<bool, 4> ticks{};
  for (int i = 0; i < 4; ++i) ticks[static_cast<std::size_t>(i)] = Check1[i]->isChecked();
  const Boxes shown = boxtexts();
  const bool empty = core::trim(shown.question).empty() && core::trim(shown.answer).empty();
  const BatchPlan plan = planbatch(ui::toansi(Text1->text()), doc.numquest, doc.qno, empty);
  // The boxes are about to show the new questions: what the teacher typed
  // into the question shown is stored first, as moving away from it does.
  // Only a fresh test's empty question makes way for the first new one.
  if (plan.numquest != 0 && !putfile()) return;
  if (plan.cut) {
    Text1->setText(QString::number(plan.count));
    ui::showbox(this, QString::fromLatin1(LIMITTEXT), QString::fromLatin1(LIMITTITLE));
  }
  try {
    runbatch(doc, plan, tickedkinds(ticks), [this](int kind) { return createquestion(kind); },
             [this] { showquestion1(); });
  } catch (const core::FileError& e) {
    filefailed("The new question could not be written to", e, "The batch was stopped.");
  }
  Txtquestion_Change();
  Txtquestion[0]->setFocus();
}

Made Frmexam::createquestion(int questiontype) {
  const Made m = makequestion(app_.corestate, questiontype, [this](int c) {
    const QListWidgetItem* item = Lstcategory->item(c - 1);
    return item != nullptr && item->isSelected();
  });
  if (!m.made) showmessage(this, m.message);
  return m;
}

void Frmexam::Check1_Click(int) {
  std::array<bool, 4> ticks{};
  for (int i = 0; i < 4; ++i) ticks[static_cast<std::size_t>(i)] = Check1[i]->isChecked();
  core::tickallifnone(ticks);
  for (int i = 0; i < 4; ++i) Check1[i]->setChecked(ticks[static_cast<std::size_t>(i)]);
}

bool Frmexam::Text1_KeyPress(int keyascii) { return countkeypasses(keyascii); }

// ---- the list of test files -----------------------------------------------------

void Frmexam::updatefilelist() {
  filelist.assign(1, std::string());
  for (const std::string& name : core::listtestfiles(core::workdir())) {
    filelist.push_back(name);
    const int index = static_cast<int>(filelist.size()) - 1;
    QAction* item = mnufile->addAction(ui::fromfilename(filemenucaption(index, name)));
    connect(item, &QAction::triggered, this, [this, index] { mnuop_Click(index); });
    mnuop.push_back(item);
  }
  bar3->setVisible(filelist.size() > 1);
  mnuop[0]->setVisible(false);
}

void Frmexam::mnuop_Click(int index) {
  if (index < 1 || static_cast<std::size_t>(index) >= filelist.size()) return;
  openfile(filelist[static_cast<std::size_t>(index)]);
}

// ---- New, Open ------------------------------------------------------------------

void Frmexam::mnuopen_Click(int index) {
  if (index == 0) {
    if (!savetruefalse()) return;
    try {
      doc.newtest();
    } catch (const core::FileError& e) {
      filefailed("The new test's description could not be written to", e,
                 "It is written again when the description dialog next closes.");
    }
    showquestion1();
    buttonstatus();
    Txtquestion[0]->setFocus();
    return;
  }
  // The dialog serves saving too: it takes its own title back.
  cmdialog1->setWindowTitle(OPENTITLE);
  cmdialog1->setAcceptMode(QFileDialog::AcceptOpen);
  cmdialog1->setOption(QFileDialog::HideNameFilterDetails, false);
  const std::string name = chosenname(*cmdialog1, {OPENFILTER});
  if (name.empty()) return;
  try {
    trialopen(name);
  } catch (const core::FileError&) {
    showmessage(this, "Illegal file name");
    return;
  }
  if (!openfile(name)) return;
  savetestoffered_ = true;
  buttonstatus();
}

bool Frmexam::openfile(const std::string& myfilename) {
  if (!savetruefalse()) return false;
  try {
    doc.opentest(myfilename);
  } catch (const core::FileError&) {
    showmessage(this, "Illegal file name");
    return false;
  }
  showquestion1();
  buttonstatus();
  Txtquestion[0]->setFocus();
  return true;
}

// ---- saving ---------------------------------------------------------------------

bool Frmexam::savetruefalse() {
  if (!doc.offersave()) return true;
  if (!app_.askyesno(this, "This test has not been saved. Would you like to save it now?")) return true;
  // Yes: the test is left only once it is saved. A cancelled dialog, a
  // declined overwrite or a text export keeps the teacher on it.
  saveas();
  return !doc.offersave();
}

void Frmexam::mnusave_Click(int index) {
  if (index == 0) {
    saveas();
    savetestoffered_ = true;
    buttonstatus();
  } else {
    putfile();
  }
}

std::string Frmexam::chosensavename() {
  cmdialog1->setWindowTitle(SAVETITLE);
  cmdialog1->setAcceptMode(QFileDialog::AcceptSave);
  // The filters are shown by their descriptions alone.
  cmdialog1->setOption(QFileDialog::HideNameFilterDetails, true);
  const std::string name = chosenname(*cmdialog1, SAVEFILTERS);
  // The dialog names the chosen type by its description alone.
  const QString type = cmdialog1->selectedNameFilter();
  return withextension(name, !type.isEmpty() && SAVEFILTERS.at(1).startsWith(type));
}

bool Frmexam::saveas() {
  const std::string name = chosensavename();
  const bool mayreplace =
      !doc.replaces(name) || app_.askyesno(this, "The file " + ui::toansi(ui::fromfilename(name)) +
                                                     " already exists. Would you like to use this file");
  const SaveAsResult saved = doc.saveto(name, mayreplace, boxtexts(), textoptions());
  switch (saved.what) {
    case SaveAsResult::illegalname: showmessage(this, ILLEGALSAVE); return false;
    case SaveAsResult::notwritten:
      showmessage(this, "The file " + ui::toansi(ui::fromfilename(name)) + " could not be written " + saved.note +
                            ". The file was not saved.");
      return false;
    // No line numbers here: the copy is one step.
    case SaveAsResult::copyfailed:
      showmessage(this, "The test could not be saved to the file " + ui::toansi(ui::fromfilename(name)) + " " +
                            saved.note + ". The file was not saved.");
      return false;
    case SaveAsResult::saved: showquestion1(); return true;
    default: return true;
  }
}

// ---- text export ------------------------------------------------------------------

TextOptions Frmexam::textoptions() const {
  TextOptions options;
  options.numbering = 0;
  for (int i = 0; i < 6; ++i)
    if (numbquest[i]->isChecked()) options.numbering = i;
  for (int i = 0; i < 5; ++i) options.include[static_cast<std::size_t>(i)] = tfop[i]->isChecked();
  return options;
}

void Frmexam::numbquest_Click(int index) {
  for (int i = 0; i < 6; ++i) numbquest[i]->setChecked(i == index);
}

void Frmexam::tfop_Click(int index) { tfop[index]->setChecked(!tfop[index]->isChecked()); }

}  // namespace authoring
