// The modal dialog "Test Description": the test's title, brief
// description, instructions and whether Dosavo's menu lists it. OK stores
// them in the header of the editor's test; Cancel and the close box change
// nothing. The editor writes the header after either.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace authoring {

class Frmexam;
class TextBox;

class Frmtitle : public QDialog {
  Q_OBJECT
 public:
  // Form_Load runs here.
  Frmtitle(Frmexam& editor, QWidget* parent = nullptr);

  QLabel* Label7 = nullptr;          // the frame around the fields
  QLabel* Label8[3] = {};            // the three field captions
  QLineEdit* Txttitle = nullptr;     // 40 characters
  TextBox* Txtdescription[2] = {};   // 0 description (200, no Enter), 1 instructions (600)
  QCheckBox* Check1 = nullptr;       // "Include this test in Dosavo menu"
  QPushButton* cmdtitleaccept[2] = {};  // 0 "&OK", 1 "&Cancel"

  void Form_Load();
  void cmdtitleaccept_Click(int index);

 private:
  Frmexam& editor_;
};

}  // namespace authoring
