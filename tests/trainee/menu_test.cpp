// The module menu: list order, selection and description, starting a
// module with the candidate drugs of the checked categories, the category
// check marks, the Progress button, settings, help and leaving the menu.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTextBrowser>
#include <QTest>

#include "tests/ui/helpsection.h"
#include "core/ui/artwork.h"
#include "core/ui/settingsdialog.h"
#include "trainee/frmid.h"
#include "trainee/frmmain.h"
#include "trainee/frmmenu.h"
#include "trainee/frmprogress.h"
#include "trainee/frmquestion.h"
#include "trainee/frmsave.h"
#include "core/ui/panel.h"
#include "trainee/startup.h"
#include "trainee_fixture.h"

using namespace traineetest;

class MenuTest : public TraineeTest {
 protected:
  // Categories 1 "Analgesics" (no tablets), 3 "Cardiac" and 2 "Antibiotics"
  // in that menu order; tablets 4 and 7 in category 3, 9 in category 2,
  // fluid 5 in category 1.
  void start(const std::string& options = "") {
    if (!options.empty()) write("vqfile.ini", options);
    writedruglists("3\r\n4,3\r\n7,3\r\n9,2\r\n", "1\r\n5,1\r\n",
                   "3\r\n" + catline("Analgesics", 1) + catline("Cardiac", 3) + catline("Antibiotics", 2));
    trainee::Main(*app);
    boxes.clear();
  }
  void select(int row) {
    app->menu().Lstmodules->setCurrentRow(row);  // the list's click
  }
  std::string description() { return ui::toansi(app->menu().Lblmoddescript->caption()); }
  std::vector<std::int16_t> candidates() {
    const auto& l = app->corestate.lists;
    return std::vector<std::int16_t>(l.selected.begin() + 1, l.selected.begin() + 1 + l.nselected);
  }
};

TEST_F(MenuTest, LoadSelectsTheFirstModuleAndShowsTheHint) {
  start();
  EXPECT_EQ(app->modnum, 5);
  EXPECT_EQ(app->menu().windowTitle(), "Dosavo");
  EXPECT_EQ(description(),
            "Select one of the modules above by double clicking with your mouse or clicking the \"Accept\" button.");
  EXPECT_EQ(app->menu().SSPanel1->caption(), "Menu");
  EXPECT_EQ(app->menu().SSPanel2->caption(), "Select an exercise from the menu.");
  EXPECT_EQ(app->menu().cmdaccept->text(), "&Accept");
  EXPECT_EQ(app->menu().cmdquit->text(), "&Quit");
  EXPECT_EQ(app->menu().Image3->text(), "Progress");
  EXPECT_EQ(app->menu().Change->text(), "&Change General Settings");
  EXPECT_EQ(app->menu().Cont->text(), "&Help [F1]");
  EXPECT_EQ(app->menu().Options->title(), "&Options");
  EXPECT_EQ(app->menu().mnuDrugCat->title(), "&Drug Category");
  EXPECT_EQ(app->menu().hlper->title(), "&Help");
}

TEST_F(MenuTest, SelectingShowsTheDescriptionOnly) {
  const int built[6] = {5, 4, 6, 3, 1, 2};
  start();
  for (int row = 0; row < 6; ++row) {
    select(row);
    EXPECT_EQ(app->modnum, built[row]);
  }
  select(1);
  EXPECT_EQ(description(),
            "Calculating Tablet Dosages:\rPractise calculating the number of tablets or capsules to administer "
            "when given the dose.");
  EXPECT_FALSE(app->questionloaded());
  EXPECT_TRUE(boxes.empty());
}

TEST_F(MenuTest, TestsFollowAndTheFirstMatchingHeadingWins) {
  writetest("a.vqt", "Metric Conversions", "A test named like a module", "1");
  writetest("b.vqt", "Ward test", "", "1");
  writetest("c.vqt", "Ward test", "The second of that name", "1");
  start();
  ASSERT_EQ(app->menu().Lstmodules->count(), 9);
  select(6);
  EXPECT_EQ(app->modnum, 5);
  EXPECT_EQ(description(), "Metric Conversions:\rPractise convertion between different metric units of volume and mass.");
  select(8);
  EXPECT_EQ(app->modnum, 8);
  // A module without a description is not available and never opens.
  EXPECT_EQ(description(), "Ward test:\rThis module is not available.");
  app->menu().cmdaccept_Click();
  EXPECT_FALSE(app->questionloaded());
  EXPECT_TRUE(boxes.empty());
}

// A test's texts show as typed, never as markup, and a description as long
// as its field holds shows whole in the panel.
TEST_F(MenuTest, TestTextsShowAsTypedAndWhole) {
  writetest("a.vqt", "<b>Ward</b> test", "Give <i>2</i> tablets", "1");
  std::string longest;
  while (longest.size() < 194) longest += "WEIGH EACH DOSE AND MEASURE EACH SYRUP WITH CARE. ";
  longest.resize(193);
  longest += ".";
  writetest("b.vqt", "MEDICATION WARD TEST OF FLUID DOSAGES FOR SECOND YEAR", longest, "1");
  start();
  select(6);
  EXPECT_EQ(description(), "<b>Ward</b> test:\rGive <i>2</i> tablets");
  EXPECT_EQ(app->menu().Lblmoddescript->textFormat(), Qt::PlainText);
  const QFont design = app->menu().Lblmoddescript->font();
  select(7);
  EXPECT_EQ(description(), "MEDICATION WARD TEST OF FLUID DOSAGES FOR SECOND YEAR:\r" + longest);
  const QLabel* panel = app->menu().Lblmoddescript;
  EXPECT_LE(panel->heightForWidth(panel->width()), panel->height());
  select(6);  // a short one in the panel's own type again
  EXPECT_EQ(app->menu().Lblmoddescript->font(), design);
}

TEST_F(MenuTest, TabletCandidatesFollowTheCheckedCategories) {
  start();
  auto& menu = app->menu();
  select(1);
  menu.startmodule();
  // Category order of the menu, then index-file order within a category.
  EXPECT_EQ(candidates(), (std::vector<std::int16_t>{4, 7, 9}));
  EXPECT_TRUE(app->questionloaded());
  EXPECT_FALSE(menu.isVisible());
  app->unloadquestion();

  menu.mnudc_Click(1);  // Cardiac off
  menu.mnudc_Click(2);  // Antibiotics off: only Analgesics, without tablets
  EXPECT_TRUE(menu.mnudc[0]->isChecked());
  EXPECT_FALSE(menu.mnudc[1]->isChecked());
  menu.show();
  menu.cmdaccept_Click();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Dosavo");
  EXPECT_EQ(boxes[0].text,
            "Sorry no tablet dosage questions could be constructed using the question categories selected from the "
            "menu bar.");
  EXPECT_FALSE(app->questionloaded());
  EXPECT_TRUE(menu.isVisible());
  EXPECT_EQ(app->corestate.lists.nselected, 0);

  menu.mnudc_Click(2);  // Antibiotics (number 2) back on
  menu.cmdaccept_Click();
  EXPECT_EQ(candidates(), (std::vector<std::int16_t>{9}));
  EXPECT_TRUE(app->questionloaded());
}

TEST_F(MenuTest, FluidModuleWithoutCandidates) {
  start();
  auto& menu = app->menu();
  menu.mnudc_Click(0);  // Analgesics, the only category with a fluid, off
  select(2);
  menu.Lstmodules_DblClick();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text,
            "Sorry no fluid dosage questions could be constructed using the question categories selected from the "
            "menu bar.");
  EXPECT_FALSE(app->questionloaded());
  menu.mnudc_Click(0);
  menu.Lstmodules_DblClick();
  EXPECT_EQ(candidates(), (std::vector<std::int16_t>{5}));
  EXPECT_TRUE(app->questionloaded());
}

TEST_F(MenuTest, OtherModulesKeepTheCandidates) {
  start();
  select(1);
  app->menu().startmodule();
  app->unloadquestion();
  select(3);  // drop rates
  app->menu().startmodule();
  EXPECT_EQ(candidates(), (std::vector<std::int16_t>{4, 7, 9}));
  EXPECT_TRUE(app->questionloaded());
}

TEST_F(MenuTest, TheLastCheckedCategoryCannotBeRemoved) {
  start();
  auto& menu = app->menu();
  menu.mnudc_Click(0);
  menu.mnudc_Click(1);
  EXPECT_FALSE(menu.mnudc[0]->isChecked());
  EXPECT_FALSE(menu.mnudc[1]->isChecked());
  EXPECT_TRUE(menu.mnudc[2]->isChecked());
  menu.mnudc_Click(2);
  for (auto* a : menu.mnudc) EXPECT_TRUE(a->isChecked());
  // The menu item itself does the same when triggered.
  menu.mnudc[1]->trigger();
  EXPECT_FALSE(menu.mnudc[1]->isChecked());
  menu.mnudc[1]->trigger();
  EXPECT_TRUE(menu.mnudc[1]->isChecked());
}

TEST_F(MenuTest, NoCategoriesKeepsAllWhichSelectsNothing) {
  writedruglists("1\r\n4,0\r\n", "0\r\n", "0\r\n");
  trainee::Main(*app);
  auto& menu = app->menu();
  EXPECT_EQ(menu.mnudc[0]->text(), "All");
  menu.mnudc_Click(0);
  select(1);
  menu.startmodule();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find("Sorry no tablet dosage questions"), std::string::npos);
}

TEST_F(MenuTest, ProgressButtonRule) {
  start("<KEEP LOG>run.log\r\n<PROGRESS BUTTON DISABLED>\r\n");
  auto& menu = app->menu();
  EXPECT_TRUE(menu.Image3->isHidden());
  app->results.progdirty = true;
  menu.showprogressbutton();
  EXPECT_TRUE(menu.Image3->isHidden());  // logging with the button disabled
  app->options.recording = false;
  menu.showprogressbutton();
  EXPECT_FALSE(menu.Image3->isHidden());
  app->options.optnoprogress = false;
  app->options.recording = true;
  menu.showprogressbutton();
  EXPECT_FALSE(menu.Image3->isHidden());
  app->results.progdirty = false;
  menu.showprogressbutton();
  EXPECT_TRUE(menu.Image3->isHidden());
}

TEST_F(MenuTest, ProgressWindowClearHidesTheButton) {
  start();
  auto& menu = app->menu();
  app->results.progdirty = true;
  app->modules.modcorrect[4] = 2;
  menu.showprogressbutton();
  onmodal = [](QDialog& d) {
    auto* w = dynamic_cast<trainee::frmprogress*>(&d);
    ASSERT_NE(w, nullptr);
    w->Command1_Click();  // OK
  };
  menu.Image3_Click();
  EXPECT_EQ(modals, 1);
  EXPECT_FALSE(menu.Image3->isHidden());
  onmodal = [](QDialog& d) { dynamic_cast<trainee::frmprogress&>(d).Command2_Click(); };  // Clear
  menu.Image3_Click();
  EXPECT_FALSE(app->results.progdirty);
  EXPECT_TRUE(menu.Image3->isHidden());
}

TEST_F(MenuTest, SettingsDialogReappliesTheBackgrounds) {
  start();
  auto& menu = app->menu();
  ASSERT_EQ(app->corestate.settings.textured, 0);
  onmodal = [this](QDialog& d) {
    auto* dialog = dynamic_cast<ui::Default*>(&d);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Dosavo - Settings");
    EXPECT_EQ(ui::backgroundof(*dialog).toImage(), ui::backgroundof(app->menu()).toImage());
    dialog->Check1[4]->setChecked(true);
    dialog->Command1_Click(0);  // Use
  };
  menu.Change_Click();
  EXPECT_EQ(modals, 1);
  EXPECT_EQ(app->corestate.settings.textured, 1);
  const QImage textured = ui::texturedbackground().toImage();
  EXPECT_EQ(ui::backgroundof(menu).toImage(), textured);
  EXPECT_EQ(ui::backgroundof(app->frmid()).toImage(), textured);
  EXPECT_EQ(app->frmsavebackground.toImage(), textured);
  {
    trainee::Frmsave yesno(*app);  // loaded afresh at each showing
    EXPECT_EQ(ui::backgroundof(yesno).toImage(), textured);
  }
  EXPECT_EQ(std::filesystem::file_size(folder / "VQ.INI"), 0u);  // Use writes nothing
  // Unticking it again and closing gives the three windows the plain picture.
  onmodal = [](QDialog& d) {
    auto& dialog = dynamic_cast<ui::Default&>(d);
    dialog.Check1[4]->setChecked(false);
    dialog.Command1_Click(1);  // Save
  };
  menu.Change_Click();
  EXPECT_EQ(app->corestate.settings.textured, 0);
  const QImage plain = ui::plainbackground().toImage();
  EXPECT_EQ(ui::backgroundof(menu).toImage(), plain);
  EXPECT_EQ(ui::backgroundof(app->frmid()).toImage(), plain);
  EXPECT_EQ(app->frmsavebackground.toImage(), plain);
  EXPECT_EQ(std::filesystem::file_size(folder / "VQ.INI"), 140u);
}

TEST_F(MenuTest, SettingsDialogLoadsTheLogonWindowWhenNeeded) {
  // Before start-up nothing is loaded; the dialog's close loads the menu
  // and logon windows hidden to give them their background.
  app->corestate.settings.textured = 1;
  onmodal = [](QDialog& d) { d.close(); };
  app->showsettingsdialog(nullptr);
  EXPECT_TRUE(app->menuloaded());
  EXPECT_TRUE(app->frmidloaded());
  EXPECT_FALSE(app->frmid().isVisible());
  EXPECT_EQ(ui::backgroundof(app->frmid()).toImage(), ui::texturedbackground().toImage());
}

TEST_F(MenuTest, HelpOpensDosavosHelp) {
  start();
  app->menu().Cont_Click();
  QWidget* help = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == "helpwindow" && w->isVisible()) help = w;
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->windowTitle(), "Dosavo Help");
  auto* browser = help->findChild<QTextBrowser*>();
  ASSERT_NE(browser, nullptr);
  // The help covers the whole program, the exercise window and its
  // calculator included.
  for (const char* topic : {"Drug categories", "Working an exercise", "Show Me", "The calculator", "Practice"})
    EXPECT_TRUE(browser->toPlainText().contains(QString::fromLatin1(topic))) << topic;
  // The Help item opens it where F1 in the menu does: at the menu.
  EXPECT_TRUE(helptest::showssection(help, "The menu"));
  help->close();
}

TEST_F(MenuTest, QuitWritesTheLogAndEnds) {
  start("<KEEP LOG>run.log\r\n");
  app->results.progdirty = true;
  app->modules.modcorrect[4] = 1;
  app->menu().show();
  app->menu().cmdquit_Click();
  EXPECT_EQ(ends, 1);
  const std::string log = read("run.log");
  EXPECT_NE(log.find("Calculating Tablet Dosages"), std::string::npos);
  EXPECT_NE(log.find(std::string(30, '-')), std::string::npos);
}

TEST_F(MenuTest, ClosingTheMenuWithoutResultsWritesNothing) {
  start("<KEEP LOG>run.log\r\n");
  app->menu().show();
  app->menu().close();
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(read("run.log"), "");
}

TEST_F(MenuTest, ClickingTheFirstItemAfterLoadingShowsItsDescription) {
  start();
  app->menu().show();
  auto& list = *app->menu().Lstmodules;
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(0)).center());
  EXPECT_EQ(description(), "Metric Conversions:\rPractise convertion between different metric units of volume and mass.");
  const QPoint at = list.visualItemRect(list.item(3)).center();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(app->modnum, 3);
  EXPECT_TRUE(app->questionloaded());
  EXPECT_FALSE(app->menu().isVisible());
}

TEST_F(MenuTest, WindowsAreCreatedOnFirstUseAndUnloaded) {
  start();
  EXPECT_FALSE(app->questionloaded());
  auto* first = &app->question();
  EXPECT_TRUE(app->questionloaded());
  EXPECT_EQ(&app->question(), first);
  app->unloadquestion();
  EXPECT_FALSE(app->questionloaded());
  app->question();
  EXPECT_TRUE(app->questionloaded());
  app->end();
  app->end();
  EXPECT_EQ(ends, 1);
}
