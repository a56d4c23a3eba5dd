// The module menu: the list of exercise modules with the description of
// the one selected, the drug-category filter, progress, settings and help.
// Closing it ends the run: the results log is written and the program ends.
#pragma once

#include <QMainWindow>
#include <vector>

class QAction;
class QListWidget;
class QMenu;
class QPushButton;

namespace ui {
class Panel;
}

namespace trainee {

class Dosavo;

class frmmenu : public QMainWindow {
  Q_OBJECT
 public:
  // Form_Load runs here.
  explicit frmmenu(Dosavo& app, QWidget* parent = nullptr);

  ui::Panel* SSPanel1 = nullptr;        // "Menu"
  ui::Panel* SSPanel2 = nullptr;        // "Select an exercise from the menu."
  QListWidget* Lstmodules = nullptr;
  ui::Panel* Lblmoddescript = nullptr;  // description of the selected module
  QPushButton* Image3 = nullptr;    // "Progress"
  QPushButton* cmdaccept = nullptr;
  QPushButton* cmdquit = nullptr;

  QMenu* Options = nullptr;
  QAction* Change = nullptr;
  QMenu* mnuDrugCat = nullptr;
  std::vector<QAction*> mnudc;  // item i - 1 stands for category i
  QMenu* hlper = nullptr;
  QAction* Cont = nullptr;

  void Form_Load();
  void findmodule();
  void startmodule();
  // The Progress button shows exactly when there is unsaved progress and
  // the site does not both log and disable it.
  void showprogressbutton();
  // Captions and checks one menu item per category (start-up).
  void buildcategorymenu();

  void Lstmodules_Click();
  void Lstmodules_DblClick();
  void cmdaccept_Click();
  void mnudc_Click(int index);
  void Image3_Click();
  void Change_Click();
  void Cont_Click();
  void cmdquit_Click();
  // Leaving the menu ends the run: the log entry (after the save question
  // where the site asks it), then the end of the program.
  void leave();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Enter in the module list starts the module, as a double click does.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QAction* addcategoryitem(const QString& caption);
  Dosavo& app_;
  bool nomatch_ = false;  // the list's text matched no module heading
};

// Closing the title or logon window: once the menu is open (shown, or
// hidden behind an exercise window) the run is left as the menu leaves it,
// so that no results are lost; before that the program ends at once.
void endfromoutside(Dosavo& app);

}  // namespace trainee
