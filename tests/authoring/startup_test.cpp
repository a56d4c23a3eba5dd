#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "authoring/frmdrugdatabase.h"
#include "authoring/frmexam.h"
#include "authoring/frmsave.h"
#include "authoring/frmstart.h"
#include "authoring/frmtitle.h"
#include "authoring/startup.h"
#include "core/ui/icons.h"
#include "core/ui/panel.h"
#include "tests/authoring/tool_fixture.h"

namespace {

using tooltest::ToolTest;

TEST_F(ToolTest, StartScreenOpensTheEditorAndQuitEnds) {
  writedruglists();
  write("VQ.INI", std::string(128, '\0') + std::string("\x01\x00", 2) + std::string(10, '\0'));
  authoring::Main(*app);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(app->core.lists.ncategories, 2);
  EXPECT_EQ(app->core.lists.catname[2], core::fixwidth("Analgesics", 20));
  EXPECT_EQ(app->core.settings.textured, 1);
  EXPECT_EQ(app->core.tables.prepname[0], "tablet");
  auto& start = app->start();
  EXPECT_TRUE(start.isVisible());
  EXPECT_EQ(start.windowTitle(), "Dosavo - Quizwright");
  EXPECT_EQ(start.SSPanel1->caption(), "Quizwright");
  EXPECT_EQ(start.Label2[0]->caption(), "Test Construction Set");
  EXPECT_EQ(start.Label2[1]->caption(), "Drug Database");
  EXPECT_EQ(start.Quit->text(), "&Quit");
  EXPECT_FALSE(start.Label3->text().isEmpty());
  for (auto* picture : start.Image1) EXPECT_FALSE(picture->pixmap().isNull());

  // The picture opens the editor, which hides the start screen; closing
  // the editor brings it back, and a second opening loads a fresh editor.
  QTest::mouseClick(start.Image1[0], Qt::LeftButton);
  ASSERT_TRUE(app->examloaded());
  EXPECT_TRUE(app->exam().isVisible());
  EXPECT_FALSE(start.isVisible());
  app->exam().close();
  EXPECT_FALSE(app->examloaded());
  EXPECT_TRUE(start.isVisible());
  start.Label2[0]->setFocus();
  QTest::keyClick(start.Label2[0], Qt::Key_Space);
  EXPECT_TRUE(app->exam().isVisible());
  app->exam().close();

  // The drug database panel opens the drug editor in the same way.
  start.Label2_Click(1);
  ASSERT_TRUE(app->drugdatabaseloaded());
  EXPECT_TRUE(app->drugdatabase().isVisible());
  EXPECT_FALSE(start.isVisible());
  app->drugdatabase().close();
  EXPECT_FALSE(app->drugdatabaseloaded());
  EXPECT_TRUE(start.isVisible());
  EXPECT_FALSE(app->examloaded());
  EXPECT_EQ(ends, 0);
  QTest::mouseClick(start.Quit, Qt::LeftButton);
  EXPECT_EQ(ends, 1);
  start.close();
  EXPECT_TRUE(app->ended);
}

TEST_F(ToolTest, MissingOrBrokenDrugListsGiveEmptyListsAndOneMessage) {
  writedruglists();
  std::filesystem::remove(folder / "vqcat.idx");
  authoring::Main(*app);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0],
            "Quizwright: The drug list file vqcat.idx is missing. The drug lists are empty until the Drug "
            "Database editor rebuilds them: open it and close it again.");
  EXPECT_EQ(app->core.lists.ntablets, 0);
  EXPECT_EQ(app->core.lists.ncategories, 0);
  EXPECT_EQ(app->core.lists.catname.size(), 51u);

  // A list shorter than its count says: every list is emptied.
  boxes.clear();
  writedruglists();
  write("vqdbs2.idx", "3\r\n2,2\r\n");
  app = std::make_unique<authoring::Quizwright>();
  authoring::Main(*app);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0],
            "Quizwright: The drug list files vqdbs1.idx, vqdbs2.idx and vqcat.idx could not be read (error number "
            "62). The drug lists are empty until the Drug Database editor rebuilds them: open it and close it again.");
  EXPECT_EQ(app->core.lists.ntablets, 0);
  EXPECT_EQ(app->core.lists.nfluids, 0);
  EXPECT_TRUE(app->start().isVisible());
}

TEST_F(ToolTest, YesNoAnswerIsKeptWhenTheWindowIsClosedByItsFrame) {
  std::vector<std::string> asked;
  int press = -1;  // 0 Yes, 1 No, -1 the frame
  onmodal = [&](QDialog& d) {
    auto& w = dynamic_cast<authoring::Frmsave&>(d);
    asked.push_back(ui::toansi(w.Label1->text()));
    EXPECT_EQ(w.Command1[0]->text(), "&Yes");
    EXPECT_EQ(w.Command1[1]->text(), "&No");
    if (press >= 0) QTest::mouseClick(w.Command1[press], Qt::LeftButton);
    else w.close();
  };
  EXPECT_FALSE(app->askyesno(nullptr, "First?"));  // false at the start of the run
  press = 1;
  EXPECT_FALSE(app->askyesno(nullptr, "Second?"));
  press = 0;
  EXPECT_TRUE(app->askyesno(nullptr, "The file \"a&b\" <x> already exists."));
  press = -1;
  EXPECT_TRUE(app->askyesno(nullptr, "Fourth?"));
  press = 1;
  EXPECT_FALSE(app->askyesno(nullptr, "Fifth?"));
  EXPECT_EQ(asked[2], "The file \"a&b\" <x> already exists.");
  EXPECT_EQ(asked.size(), 5u);
}

}  // namespace

namespace {

TEST_F(ToolTest, EveryWindowAnswersF1AndABadSettingsFileIsReported) {
  writedruglists();
  std::filesystem::create_directories(folder / "VQ.INI");
  authoring::Main(*app);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "Quizwright: The settings file VQ.INI could not be read (error number 75). The standard "
                      "settings are used.");
  auto helpof = [](QWidget& w) {
    // Every window is fixed in size and carries the tool's icon.
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint) << w.objectName().toStdString();
    EXPECT_EQ(w.minimumSize(), w.maximumSize()) << w.objectName().toStdString();
    EXPECT_EQ(w.windowIcon().pixmap(32).toImage(), ui::programpicture(ui::Program::quizwright, 32).toImage());
    w.show();
    QApplication::setActiveWindow(&w);
    if (!QTest::qWaitForWindowActive(&w)) return false;
    QTest::keyClick(&w, Qt::Key_F1);
    for (QWidget* top : QApplication::topLevelWidgets())
      if (top->objectName() == "helpwindow" && top->isVisible()) {
        const bool ours = top->windowTitle() == "Quizwright Help";
        top->close();
        return ours;
      }
    return false;
  };
  EXPECT_TRUE(helpof(app->start()));
  app->start().Label2_Click(0);
  EXPECT_TRUE(helpof(app->exam()));
  authoring::Frmsave yesno(*app);
  EXPECT_TRUE(helpof(yesno));
  authoring::Frmtitle description(app->exam());
  EXPECT_TRUE(helpof(description));
}

}  // namespace
