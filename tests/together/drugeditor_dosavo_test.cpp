#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "authoring/app.h"
#include "authoring/frmdrugdatabase.h"
#include "authoring/frmsave.h"
#include "authoring/frmstart.h"
#include "authoring/startup.h"
#include "tests/trainee/session_fixture.h"
#include "trainee/frmmenu.h"

namespace {

using exercisetest::readall;
using exercisetest::Session;

// The teacher turns the syrup into a capsule of category Analgesics and
// deletes the tablet; dosavo, started afterwards in the same folder, asks
// about the capsule, found through the rebuilt index files under its new
// record number.
TEST_F(Session, DrugChangedInTheEditorIsDrawnByDosavo) {
  writedrugs();
  {
    authoring::Quizwright tool;
    tool.endprogram = [] {};
    authoring::Main(tool);
    onmodal = [](QDialog& d) {
      QTest::mouseClick(dynamic_cast<authoring::Frmsave&>(d).Command1[0], Qt::LeftButton);
    };
    tool.start().Label2_Click(1);
    authoring::frmDrugDatabase& editor = tool.drugdatabase();
    ASSERT_EQ(editor.Text1->text(), "Syrupol");
    editor.Text1->setText("Capsulol");
    editor.Type[0]->setCurrentIndex(1);
    editor.Type_Click(0);
    editor.Dose[0]->setText("250");
    editor.Cbcategory->setEditText("Analgesics");  // it had none
    QTest::mouseClick(editor.Command1[2], Qt::LeftButton);  // saved on leaving
    ASSERT_EQ(editor.Text1->text(), "Testamol");
    QTest::mouseClick(editor.Delete, Qt::LeftButton);
    ASSERT_EQ(editor.Text1->text(), "Capsulol");
    QTest::mouseClick(editor.Quit, Qt::LeftButton);
    ASSERT_TRUE(boxes.empty());
    onmodal = nullptr;
  }
  EXPECT_EQ(readall(dir.path().toStdString() + "/vqdbs1.idx"), "1\r\n1,1\r\n");
  EXPECT_EQ(readall(dir.path().toStdString() + "/vqdbs2.idx"), "\r\n");

  startprogram();
  auto& menu = app.menu();
  menu.show();
  const auto rows = menu.Lstmodules->findItems(QStringLiteral("Calculating Tablet Dosages"), Qt::MatchExactly);
  ASSERT_EQ(rows.size(), 1);
  menu.Lstmodules->setCurrentItem(rows[0]);
  QTest::mouseClick(menu.cmdaccept, Qt::LeftButton);
  ASSERT_TRUE(app.questionloaded());
  for (float r : {0.0f, 0.0f, 0.9f}) draws.push(r);
  trainee::Frmquestion& q = app.question();
  QTest::mouseClick(q.cmdstart, Qt::LeftButton);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(trainee::Frmquestion::caption(q.Lbldrug), "Capsulol\r\n\r\n250 mg capsules");
  EXPECT_EQ(q.answerstring(), "2");
}

}  // namespace
