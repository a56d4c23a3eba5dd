// The settings dialog "Dosavo - Settings" of both programs.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "core/settings.h"

class QCheckBox;
class QGroupBox;
class QPushButton;
class QLabel;

namespace ui {

// The dialog changes the settings record it is given. In the trainee
// program, onload sets its background from the menu window's and onunload
// reapplies the window backgrounds from the textured setting; the tool
// passes neither.
class Default : public QDialog {
  Q_OBJECT
 public:
  struct Hooks {
    std::function<void(Default&)> onload;  // before showchecks
    std::function<void()> onunload;        // every way of closing
  };
  Default(core::generalsettings& settings, Hooks hooks = {}, QWidget* parent = nullptr);
  ~Default() override;

  QCheckBox* Check1[5] = {};
  QGroupBox* Frame2[2] = {};
  QPushButton* Command1[3] = {};
  QLabel* Picture1 = nullptr;

  void Command1_Click(int index);
  // Run when the dialog is shown and when it closes (each once per showing;
  // every way of closing goes through done()).
  void Form_Load();
  void Form_Unload();

 protected:
  void done(int r) override;
  void showEvent(QShowEvent* event) override;

 private:
  void readchecks();
  void showchecks();
  // Tells the user that Save wrote nothing; note is the error number and
  // its cause, "(error 61: the disk is full)", empty when there is none.
  void savefailed(const std::string& note);
  core::generalsettings& settings_;
  Hooks hooks_;
  bool loaded_ = false;
};

}  // namespace ui
