// Both programs in one data folder: a test that quizwright builds from
// generated questions and saves is listed by dosavo and worked through to
// the completion notice.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "authoring/app.h"
#include "authoring/boxes.h"
#include "authoring/frmexam.h"
#include "authoring/frmstart.h"
#include "authoring/startup.h"
#include "core/drug.h"
#include "core/files.h"
#include "core/random.h"
#include "core/text.h"
#include "core/ui/messages.h"
#include "core/ui/textconv.h"
#include "trainee/app.h"
#include "trainee/frmmenu.h"
#include "trainee/frmquestion.h"
#include "trainee/startup.h"

namespace {

class RoundTrip : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() / ("dosavo_roundtrip_" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    core::setworkdir(folder);
    core::setrng(&seeded);
    ui::setmessagehook([this](const QString& title, const QString& text, QMessageBox::Icon) {
      boxes.push_back(ui::toansi(title) + ": " + ui::toansi(text));
    });
    ui::setmodalhook([this](QDialog& d) {
      modals.push_back(d.metaObject()->className());
      if (auto* files = qobject_cast<QFileDialog*>(&d)) {
        files->selectFile(QString::fromStdString((folder / "ward.vqt").string()));
        static_cast<QDialog*>(files)->done(QDialog::Accepted);
      }
    });
    // One tablet drug (category 1) and one syrup (category 2).
    core::drugrecord tab;
    tab.genericname = core::fixwidth("Paracetamol", 30);
    tab.doserange[0] = {250, 6};
    tab.doserange[1] = {1, 3};
    tab.strength[0] = 500;
    tab.strengthunit[0] = 6;
    tab.category = 1;
    core::writedrug(1, tab);
    core::drugrecord syrup;
    syrup.genericname = core::fixwidth("Amoxycillin", 30);
    syrup.doserange[0] = {125, 6};
    syrup.doserange[1] = {500, 6};
    syrup.increment = 125;
    syrup.preptype[0] = 4;
    syrup.strength[0] = 250;
    syrup.strengthunit[0] = 6;
    syrup.volume[0] = 5;
    syrup.category = 2;
    core::writedrug(2, syrup);
    write("vqdbs1.idx", "1\r\n1,1\r\n");
    write("vqdbs2.idx", "1\r\n2,2\r\n");
    write("vqcat.idx", "2\r\n\"" + core::fixwidth("Antibiotics", 20) + "\",1\r\n\"" + core::fixwidth("Analgesics", 20) +
                           "\",2\r\n");
  }
  void TearDown() override {
    ui::setmessagehook(nullptr);
    ui::setmodalhook(nullptr);
    core::setrng(nullptr);
    core::setworkdir({});
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
  void write(const std::string& name, const std::string& bytes) {
    std::ofstream(folder / name, std::ios::binary) << bytes;
  }

  std::filesystem::path folder;
  core::SystemRandom seeded{99u};
  std::vector<std::string> boxes, modals;
};

TEST_F(RoundTrip, AGeneratedTestSavedByTheToolRunsInTheTraineeProgram) {
  std::vector<core::testrecord> made;
  {
    authoring::Quizwright tool;
    tool.endprogram = [] {};
    authoring::Main(tool);
    tool.start().Label2_Click(0);
    authoring::Frmexam& exam = tool.exam();
    exam.Text1->setText("4");
    QTest::mouseClick(exam.Cmdgenerate, Qt::LeftButton);
    ASSERT_EQ(exam.Label1->text(), "4 / 4");
    tool.header.testtitle = core::fixwidth("Ward quiz", 40);
    tool.header.testdescription = core::fixwidth("Tablet and syrup doses.", 200);
    tool.header.testinstructions = core::fixwidth("Work out each dose.", 1000);
    tool.header.includeinmenu = 1;
    ASSERT_TRUE(exam.puttitle());
    exam.mnusave[0]->trigger();
    for (long q = 2; q <= 5; ++q) made.push_back(core::readtestrecord("ward.vqt", q));
    exam.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  EXPECT_TRUE(boxes.empty());
  EXPECT_FALSE(std::filesystem::exists(folder / "test.tmp"));
  ASSERT_EQ(std::filesystem::file_size(folder / "ward.vqt"), 5u * 2012u);

  trainee::Dosavo dosavo;
  dosavo.endprogram = [] {};
  trainee::Main(dosavo);
  trainee::frmmenu& menu = dosavo.menu();
  menu.show();
  ASSERT_EQ(menu.Lstmodules->count(), 7);
  EXPECT_EQ(menu.Lstmodules->item(6)->text(), "Ward quiz");
  menu.Lstmodules->setCurrentRow(6);
  QTest::mouseClick(menu.cmdaccept, Qt::LeftButton);
  ASSERT_TRUE(dosavo.questionloaded());
  trainee::Frmquestion& q = dosavo.question();
  EXPECT_EQ(trainee::Frmquestion::caption(q.Lblquestion).substr(0, 19), "Work out each dose.");
  q.cmdStart_Click();
  for (const core::testrecord& r : made) {
    ASSERT_TRUE(dosavo.questionloaded());
    // The generated text, starting on a new line, as the tool stored it.
    EXPECT_EQ(trainee::Frmquestion::caption(q.Lblquestion), core::trim(r.question));
    q.txtanswer->setText(ui::fromansi(core::trim(r.answer)));
    q.cmdStart_Click();
    EXPECT_EQ(q.ansstate, 2) << r.question;  // marked right
    q.cmdStart_Click();                        // next
  }
  EXPECT_EQ(modals.back(), "trainee::Frmcompleted");
  EXPECT_FALSE(dosavo.questionloaded());
  EXPECT_EQ(dosavo.modules.modcorrect[7], 4);
  EXPECT_TRUE(boxes.empty());
}

}  // namespace
