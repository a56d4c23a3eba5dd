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

#include "authoring/app.h"
#include "authoring/boxes.h"
#include "authoring/frmexam.h"
#include "authoring/frmstart.h"
#include "authoring/startup.h"
#include "core/drug.h"
#include "core/files.h"
#include "core/random.h"
#include "core/text.h"
#include "core/ui/textconv.h"
#include "trainee/app.h"
#include "trainee/frmmenu.h"
#include "trainee/frmquestion.h"
#include "tests/authoring/tool_fixture.h"
#include "tests/authoring/twodrugs.h"
#include "trainee/startup.h"

namespace {

class RoundTrip : public tooltest::ToolTest {
 protected:
  void SetUp() override {
    ToolTest::SetUp();
    core::setrng(&seeded);
    onmodal = [this](QDialog& d) {
      modals.push_back(d.metaObject()->className());
      if (auto* files = qobject_cast<QFileDialog*>(&d)) {
        files->selectFile(QString::fromStdString((folder / "ward.vqt").string()));
        static_cast<QDialog*>(files)->done(QDialog::Accepted);
      }
    };
    writedruglists();
    tooltest::writetwodrugs();
  }
  void TearDown() override {
    core::setrng(nullptr);
    ToolTest::TearDown();
  }

  core::SystemRandom seeded{99u};
  std::vector<std::string> modals;
};

TEST_F(RoundTrip, AGeneratedTestSavedByTheToolRunsInTheTraineeProgram) {
  std::vector<core::testrecord> made;
  {
    authoring::Quizwright& tool = *app;
    authoring::Main(tool);
    tool.start().Label2_Click(0);
    authoring::Frmexam& exam = tool.exam();
    exam.Text1->setText("4");
    QTest::mouseClick(exam.Cmdgenerate, Qt::LeftButton);
    ASSERT_EQ(exam.Label1->text(), "4 / 4");
    tool.test.header.testtitle = core::fixwidth("Ward quiz", 40);
    tool.test.header.testdescription = core::fixwidth("Tablet and syrup doses.", 200);
    tool.test.header.testinstructions = core::fixwidth("Work out each dose.", 1000);
    tool.test.header.includeinmenu = 1;
    ASSERT_TRUE(exam.puttitle());
    exam.mnusave[0]->trigger();
    for (long q = 2; q <= 5; ++q) made.push_back(core::readtestrecord("ward.vqt", q));
    exam.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  app.reset();
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
