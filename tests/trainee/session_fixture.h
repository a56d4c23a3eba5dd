// A run of the trainee program for the exercise-window tests: a fresh working
// folder, the module table of the six built-in modules and one test, scripted
// random draws, and message boxes and modal windows captured instead of shown.
#pragma once

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "core/drug.h"
#include "core/files.h"
#include "core/random.h"
#include "core/tables.h"
#include "core/testfile.h"
#include "core/text.h"
#include "core/ui/messages.h"
#include "trainee/app.h"
#include "trainee/frmquestion.h"
#include "trainee/startup.h"

namespace exercisetest {

struct Box {
  QString title, text;
};

inline std::string readall(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class Session : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    core::setworkdir(dir.path().toStdString());
    core::setrng(&draws);
    ui::setmessagehook([this](const QString& title, const QString& text, QMessageBox::Icon) {
      boxes.push_back({title, text});
    });
    ui::setmodalhook([this](QDialog& d) {
      modals.push_back(d.metaObject()->className());
      if (onmodal) onmodal(d);
    });
    app.endprogram = [] {};
    app.corestate.tables = core::filledtables();
    auto& m = app.modules;
    m.modcount = 7;
    m.modheading = {"",
                    "IV - Counting Drops",
                    "IV - Setting The Flow Rate",
                    "Calculating IV Drop Rates",
                    "Calculating Tablet Dosages",
                    "Metric Conversions",
                    "Calculating Fluid Dosages",
                    "Ward quiz"};
    m.modintro = {"", "Intro 1", "Intro 2", "Intro 3", "Intro 4", "Intro 5", "Intro 6", "Quiz intro"};
    m.modfile = {"", "", "", "", "", "", "", "quiz.vqt"};
    m.modcorrect.assign(8, 0);
    m.modincorrect.assign(8, 0);
    m.modpassed.assign(8, 0);
  }

  void TearDown() override {
    ui::setmessagehook(nullptr);
    ui::setmodalhook(nullptr);
    core::setrng(nullptr);
    core::setworkdir({});
  }

  // Loads the exercise window for a module, as the menu does.
  trainee::Frmquestion& open(int modnum) {
    app.modnum = static_cast<std::int16_t>(modnum);
    trainee::Frmquestion& q = app.question();
    q.show();
    return q;
  }

  // Types an answer and presses the Start / Answer / Next button.
  void answer(trainee::Frmquestion& q, const std::string& text) {
    q.txtanswer->setText(QString::fromStdString(text));
    q.cmdStart_Click();
  }

  // Deletes the windows that unloaded themselves.
  static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  void writetest(const std::vector<core::testrecord>& records) {
    long n = 1;
    for (const auto& r : records) core::writetestrecord("quiz.vqt", n++, r);
  }

  // Testamol: one 500 mg tablet, doses 250 to 1000 mg.
  static core::drugrecord testamol() {
    core::drugrecord t = core::drugrecord::blank();
    t.genericname = core::fixwidth("Testamol", 30);
    t.doserange[0] = {250, 6};
    t.doserange[1] = {1000, 6};
    t.preptype = {0, -1, -1, -1, -1};
    t.strength[0] = 500;
    t.strengthunit[0] = 6;
    return t;
  }

  // Syrupol: a syrup of 250 mg in 5 ml, doses 25 to 500 mg in steps of 25.
  static core::drugrecord syrupol() {
    core::drugrecord f = core::drugrecord::blank();
    f.genericname = core::fixwidth("Syrupol", 30);
    f.doserange[0] = {25, 6};
    f.doserange[1] = {500, 6};
    f.increment = 25;
    f.preptype = {2, -1, -1, -1, -1};
    f.strength[0] = 250;
    f.strengthunit[0] = 6;
    f.volume[0] = 5;
    f.volumeunit[0] = 1;
    return f;
  }

  // A drug database of two drugs in category 1 "Analgesics": record 1
  // Testamol, record 2 Syrupol, with their index files.
  static void writedrugs() {
    core::writedrug(1, testamol());
    core::writedrug(2, syrupol());
    writefile("vqdbs1.idx", "1\r\n1,1\r\n");
    writefile("vqdbs2.idx", "1\r\n2,1\r\n");
    writefile("vqcat.idx", "1\r\n\"" + core::fixwidth("Analgesics", 20) + "\",1\r\n");
  }

  static void writefile(const std::string& name, const std::string& bytes) {
    std::ofstream out(core::datapath(name), std::ios::binary);
    out << bytes;
  }

  // Starts the program the way dosavo does, in the working folder, with the
  // given options file; the messages of start-up are dropped.
  void startprogram(const std::string& options = "") {
    if (!options.empty()) writefile("vqfile.ini", options);
    trainee::Main(app);
    boxes.clear();
    modals.clear();
  }

  QTemporaryDir dir;
  core::ScriptedRandom draws;
  trainee::Dosavo app;
  std::vector<Box> boxes;
  std::vector<std::string> modals;
  std::function<void(QDialog&)> onmodal;
};

}  // namespace exercisetest
