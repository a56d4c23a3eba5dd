#include <algorithm>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "authoring/frmdrugdatabase.h"
#include "authoring/frmexam.h"
#include "authoring/frmsave.h"
#include "authoring/frmstart.h"
#include "authoring/frmtitle.h"
#include "authoring/startup.h"
#include "core/ui/icons.h"
#include "core/ui/panel.h"
#include "core/drug.h"
#include "core/errors.h"
#include "tests/authoring/tool_fixture.h"
#include "tests/ui/helpsection.h"

namespace {

using tooltest::ToolTest;

TEST_F(ToolTest, StartScreenOpensTheEditorAndQuitEnds) {
  writedruglists();
  write("VQ.INI", std::string(128, '\0') + std::string("\x01\x00", 2) + std::string(10, '\0'));
  authoring::Main(*app);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(app->corestate.lists.ncategories, 2);
  EXPECT_EQ(app->corestate.lists.catname[2], core::fixwidth("Analgesics", 20));
  EXPECT_EQ(app->corestate.settings.textured, 1);
  EXPECT_EQ(app->corestate.tables.prepname[0], "tablet");
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
  EXPECT_EQ(app->corestate.lists.ntablets, 0);
  EXPECT_EQ(app->corestate.lists.ncategories, 0);
  EXPECT_EQ(app->corestate.lists.catname.size(), 51u);

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
  EXPECT_EQ(app->corestate.lists.ntablets, 0);
  EXPECT_EQ(app->corestate.lists.nfluids, 0);
  EXPECT_TRUE(app->start().isVisible());
}

// A rebuild whose renames broke off after the solid list is finished from
// its new files before the lists are read: the tool loads one whole set.
TEST_F(ToolTest, ARebuildCutOffPartWayIsFinishedBeforeTheListsAreRead) {
  writedruglists();
  core::WriteFaults faults;
  faults.rename = 3;  // the note, the solid list, then the fluid list fails
  core::setwritefaults(faults);
  const std::string categories = "1\r\n\"" + core::fixwidth("Vitamins", 20) + "\",2\r\n";
  EXPECT_THROW(core::writeindexfiles({"2\r\n3,1\r\n4,1\r\n", "1\r\n5,2\r\n", categories}), core::FileError);
  core::setwritefaults({});
  EXPECT_EQ(read("vqdbs1.idx"), "2\r\n3,1\r\n4,1\r\n");
  EXPECT_EQ(read("vqdbs2.idx"), "1\r\n2,2\r\n");
  authoring::Main(*app);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(app->corestate.lists.ntablets, 2);
  EXPECT_EQ(app->corestate.lists.fluidrec[1], 5);
  EXPECT_EQ(app->corestate.lists.catname[1], core::fixwidth("Vitamins", 20));
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"VQ.INI", "vqcat.idx", "vqdbs1.idx", "vqdbs2.idx"}));
}

TEST_F(ToolTest, YesNoAnswersOnlyByItsButtonsAndGrowsForALongQuestion) {
  std::vector<std::string> asked;
  int press = 0;  // 0 Yes, 1 No
  onmodal = [&](QDialog& d) {
    auto& w = dynamic_cast<authoring::Frmsave&>(d);
    asked.push_back(ui::toansi(w.Label1->text()));
    EXPECT_EQ(w.Command1[0]->text(), "&Yes");
    EXPECT_EQ(w.Command1[1]->text(), "&No");
    // Neither Escape nor the window system's close answers for the user,
    // and the title bar has no close box.
    EXPECT_FALSE(w.windowFlags() & Qt::WindowCloseButtonHint);
    QTest::keyClick(&w, Qt::Key_Escape);
    w.close();
    EXPECT_TRUE(w.isVisible());
    // The question shows whole above the buttons.
    EXPECT_LE(w.Label1->heightForWidth(w.Label1->width()), w.Label1->height());
    EXPECT_LE(w.Label1->geometry().bottom(), w.Command1[0]->y());
    EXPECT_LE(w.Command1[0]->geometry().bottom(), w.height());
    QTest::mouseClick(w.Command1[press], Qt::LeftButton);
  };
  press = 1;
  EXPECT_FALSE(app->askyesno(nullptr, "Second?"));
  press = 0;
  EXPECT_TRUE(app->askyesno(nullptr, "The file \"a&b\" <x> already exists."));
  const std::string path = "/home/teacher/" + std::string(260, 'p') + "/week 2.vqt";
  EXPECT_TRUE(app->askyesno(nullptr, "The file " + path + " already exists. Would you like to use this file"));
  press = 1;
  EXPECT_FALSE(app->askyesno(nullptr, "Fifth?"));
  EXPECT_EQ(asked[1], "The file \"a&b\" <x> already exists.");
  EXPECT_EQ(asked.size(), 4u);
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
  // F1 opens the help at the section about the window that asked.
  auto helpof = [](QWidget& w, const char* heading, bool fixed = true) {
    SCOPED_TRACE(heading);
    // Every window of our own is fixed in size and carries the tool's icon.
    if (fixed) {
      EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint) << w.objectName().toStdString();
      EXPECT_EQ(w.minimumSize(), w.maximumSize()) << w.objectName().toStdString();
    }
    EXPECT_EQ(w.windowIcon().pixmap(32).toImage(), ui::programpicture(ui::Program::quizwright, 32).toImage());
    w.show();
    QApplication::setActiveWindow(&w);
    if (!QTest::qWaitForWindowActive(&w)) return false;
    QTest::keyClick(&w, Qt::Key_F1);
    for (QWidget* top : QApplication::topLevelWidgets())
      if (top->objectName() == "helpwindow" && top->isVisible()) {
        const bool ours = top->windowTitle() == "Quizwright Help";
        EXPECT_TRUE(helptest::showssection(top, QString::fromLatin1(heading)));
        top->close();
        return ours;
      }
    return false;
  };
  EXPECT_TRUE(helpof(app->start(), "The start screen"));
  app->start().Label2_Click(0);
  EXPECT_TRUE(helpof(app->exam(), "The test editor"));
  authoring::Frmsave yesno(*app);
  EXPECT_TRUE(helpof(yesno, "Questions asked"));
  authoring::Frmtitle description(app->exam());
  EXPECT_TRUE(helpof(description, "Test description"));
  // Closed, the modal windows leave the others their keys.
  description.close();
  yesno.Command1_Click(1);
  // The file dialog is the platform's, sized by the user.
  EXPECT_TRUE(helpof(*app->exam().cmdialog1, "Test files", false));
  app->exam().cmdialog1->close();
  bool settings = false;
  onmodal = [&](QDialog& d) { settings = helpof(d, "Settings"); };
  app->showsettingsdialog(&app->exam());
  EXPECT_TRUE(settings);
  app->exam().close();
  app->start().Label2_Click(1);
  EXPECT_TRUE(helpof(app->drugdatabase(), "The drug database"));
  // A message box opens the help at the section of the window that shows it.
  ui::setmessagehook(nullptr);
  bool boxhelp = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    boxhelp = helpof(*box, "The drug database", false);
    box->accept();
  });
  ui::showbox(&app->drugdatabase(), QStringLiteral("A message"), QStringLiteral("Drug Database"));
  EXPECT_TRUE(boxhelp);
  app->drugdatabase().close();
}

}  // namespace
