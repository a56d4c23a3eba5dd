// quizwright, the teachers' tool: the state of one run and its windows. The
// start screen lives for the whole run; each workbench is created when the
// start screen opens it and deleted when it closes.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "authoring/model/testdoc.h"
#include "core/corestate.h"

namespace authoring {

class frmstart;
class Frmexam;
class frmDrugDatabase;

class Quizwright {
 public:
  Quizwright();
  ~Quizwright();
  Quizwright(const Quizwright&) = delete;
  Quizwright& operator=(const Quizwright&) = delete;

  core::CoreState corestate;
  // The test being edited. It outlives the test editor's window, so that a
  // new editor starts with the include flag the last test had.
  TestDocument test;
  // The answer of the last Yes/No question: true for Yes.
  bool saveanswer = false;

  // The windows, created (and their load handlers run) on first use.
  frmstart& start();
  Frmexam& exam();
  bool examloaded() const { return !exam_.isNull(); }
  // Hides and then deletes the test editor once control is back in the
  // event loop; the next access loads a fresh one.
  void unloadexam();
  frmDrugDatabase& drugdatabase();
  bool drugdatabaseloaded() const { return !drugdatabase_.isNull(); }
  // The same for the drug database editor.
  void unloaddrugdatabase();

  // Asks a question in the Yes/No window and returns the answer, which
  // only its two buttons give: Escape and the window system's close are
  // refused.
  bool askyesno(QWidget* parent, const std::string& question);
  // Shows the settings dialog modally.
  void showsettingsdialog(QWidget* parent);

  // Ends the tool at once. The product quits the application; tests
  // replace it to see that the tool would end.
  std::function<void()> endprogram;
  bool ended = false;
  void end();

 private:
  QPointer<frmstart> start_;
  QPointer<Frmexam> exam_;
  QPointer<frmDrugDatabase> drugdatabase_;
  std::vector<QPointer<QWidget>> unloaded_;
};

// The tool's own title, shown by message boxes without a title of their own.
inline const QString APPTITLE = QStringLiteral("Quizwright");

// A message box with the tool's title.
void showmessage(QWidget* parent, const std::string& text);

}  // namespace authoring
