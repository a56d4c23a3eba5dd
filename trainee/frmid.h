// The logon window "Logon to Dosavo": asks for the ID and/or the name as
// the site options say, checks them (optionally against the ID list file),
// sets up the per-ID log file, captions the menu and shows it.
#pragma once

#include <QDialog>
#include <QHash>
#include <QRect>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace trainee {

class Dosavo;

class Frmid : public QDialog {
  Q_OBJECT
 public:
  // Form_Load runs here: the layout follows the site options.
  explicit Frmid(Dosavo& app, QWidget* parent = nullptr);

  QPlainTextEdit* Txtmsg = nullptr;
  QLabel* Label1 = nullptr;
  QLineEdit* TxtID = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* Txtname = nullptr;
  QPushButton* cmdOk[2] = {};  // 0 "&O.K.", 1 "&Practice"

  void Form_Load();
  void cmdOk_Click(int index);

  // The layout in twips: each control's left, top, width and height, and
  // the window's height (title bar and borders included).
  QRect twipsof(const QWidget* control) const { return twips_.value(control); }
  int heighttw = 0;
  static constexpr int WIDTHTW = 6150;    // client width
  static constexpr int CAPTIONTW = 405;   // title bar and borders

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Escape does not close the window: only O.K., Practice or the close box.
  void reject() override {}

 private:
  void place(QWidget* w, int left, int top, int width, int height);
  void handover();
  // Shows a message and gives true when the typed text holds a character
  // that the stored texts cannot hold; what names the field.
  bool refuseunstorable(const QString& typed, const char* what);
  Dosavo& app_;
  QHash<const QWidget*, QRect> twips_;
};

}  // namespace trainee
