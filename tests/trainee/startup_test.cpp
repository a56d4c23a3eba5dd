// Start-up in fresh data folders: the module table, the test listing, the
// options file, settings, backgrounds, drug lists and category menu, and
// every failure path with its message.
#include <QAction>
#include <QListWidget>
#include <QPushButton>

#include "core/ui/artwork.h"
#include "trainee/frmid.h"
#include "trainee/frmmain.h"
#include "trainee/frmmenu.h"
#include "trainee/frmsave.h"
#include "trainee/startup.h"
#include "trainee_fixture.h"

using namespace traineetest;

namespace {

std::vector<std::string> listtexts(QListWidget* list) {
  std::vector<std::string> out;
  for (int i = 0; i < list->count(); ++i) out.push_back(ui::toansi(list->item(i)->text()));
  return out;
}

bool samepicture(const QPixmap& a, const QPixmap& b) { return a.toImage() == b.toImage(); }

const std::string E52 = "There was an error number 52";
const std::string E62 = "There was an error number 62";

}  // namespace

using StartupTest = TraineeTest;

TEST_F(StartupTest, EmptyFolderGivesBuiltInModulesAndOnlyTheIndexFileMessages) {
  trainee::Main(*app);
  // Missing files pass silently; reading the two counts and the category
  // count from files that are not open fails with 52, three times.
  EXPECT_EQ(texts(), (std::vector<std::string>{E52, E52, E52}));
  for (const auto& b : boxes) EXPECT_EQ(b.title, "Dosavo Message");
  EXPECT_EQ(app->modules.modcount, 6);
  EXPECT_EQ(app->modules.modcorrect.size(), 7u);
  EXPECT_EQ(app->modules.modpassed.size(), 7u);
  EXPECT_EQ(app->modules.modincorrect.size(), 7u);
  EXPECT_EQ(listtexts(app->menu().Lstmodules),
            (std::vector<std::string>{"Metric Conversions", "Calculating Tablet Dosages", "Calculating Fluid Dosages",
                                      "Calculating IV Drop Rates", "IV - Counting Drops",
                                      "IV - Setting The Flow Rate"}));
  EXPECT_EQ(app->modules.modheading[5], "Metric Conversions");
  EXPECT_EQ(app->modules.modintro[5], "Practise convertion between different metric units of volume and mass.");
  // Options all off, VQ.INI created empty, settings zero: plain background.
  EXPECT_FALSE(app->options.recording);
  EXPECT_EQ(app->options.userid, std::string(12, ' '));
  EXPECT_TRUE(app->options.starttime.empty());
  ASSERT_TRUE(std::filesystem::exists(folder / "VQ.INI"));
  EXPECT_EQ(std::filesystem::file_size(folder / "VQ.INI"), 0u);
  EXPECT_EQ(app->corestate.settings.textured, 0);
  EXPECT_TRUE(samepicture(ui::backgroundof(app->menu()), ui::plainbackground()));
  EXPECT_TRUE(samepicture(app->frmsavebackground, ui::plainbackground()));
  // The category menu keeps its design item.
  EXPECT_EQ(app->corestate.lists.ncategories, 0);
  EXPECT_TRUE(app->menu().mnudc[0]->isVisible());
  EXPECT_EQ(app->menu().mnudc[0]->text(), "All");
  EXPECT_FALSE(app->menu().mnudc[1]->isVisible());
  // The title window is up with its Start button, and the menu and logon
  // windows are loaded but hidden.
  EXPECT_EQ(app->frmmain().windowTitle(), " Dosavo");
  EXPECT_TRUE(app->frmmain().isVisible());
  EXPECT_FALSE(app->frmmain().Command1->isHidden());
  EXPECT_TRUE(app->frmidloaded());
  EXPECT_FALSE(app->menu().isVisible());
  EXPECT_FALSE(app->frmid().isVisible());
  EXPECT_EQ(ends, 0);
}

TEST_F(StartupTest, EmptyOptionsFileGivesOneMessage62) {
  write("vqfile.ini", "");
  writedruglists("0\r\n", "0\r\n", "0\r\n");
  trainee::Main(*app);
  EXPECT_EQ(texts(), (std::vector<std::string>{E62}));
  EXPECT_FALSE(app->options.recording);
}

TEST_F(StartupTest, OptionsReadUpToTheFirstTripleSlashItem) {
  write("vqfile.ini", "<ID>\r\n<name>  \r\n///end <DATE>\r\n<TIME>\r\n<KEEP LOG> run.log\r\n");
  writedruglists("0\r\n", "0\r\n", "0\r\n");
  trainee::Main(*app);
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(app->options.askid);
  EXPECT_TRUE(app->options.askname);
  EXPECT_FALSE(app->options.logdate);  // the "///" item is processed, but carries no tag at its start
  EXPECT_FALSE(app->options.logtime);
  EXPECT_FALSE(app->options.recording);
  EXPECT_FALSE(std::filesystem::exists(folder / "run.log"));
  EXPECT_FALSE(app->options.starttime.empty());
}

TEST_F(StartupTest, PromptWithACommaKeepsOnlyTheTextBeforeIt) {
  write("vqfile.ini", "<KEEP LOG>run.log\r\n<PROMPT> Save now, please?\r\n");
  writedruglists("0\r\n", "0\r\n", "0\r\n");
  trainee::Main(*app);
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(app->options.recording);
  EXPECT_TRUE(app->options.promptflag);
  EXPECT_EQ(app->options.saveprompt, "Save now");
  EXPECT_TRUE(std::filesystem::exists(folder / "run.log"));
}

TEST_F(StartupTest, TestFilesListedByHeaderFlagInNameOrder) {
  writetest("b.VQT", "  Second test  ", "  About the second  ", "  2");
  writetest("a.vqt", "First test", "About the first", "1", 3);
  writetest("c.vqt", "Zero", "x", "0");
  writetest("d.vqt", "Blank", "x", "");
  writetest("e.vqt", "Negative", "x", "-1");
  writetest("f.vqt", "Text", "x", "yes");
  writetest(".hidden.vqt", "Hidden", "x", "1");
  writetest("g.vqtx", "Other extension", "x", "1");
  write("short.vqt", std::string(100, 'x'));  // shorter than one record
  write("zero.vqt", "");
  std::filesystem::create_directory(folder / "folder.vqt");
  writedruglists("0\r\n", "0\r\n", "0\r\n");
  trainee::Main(*app);
  EXPECT_TRUE(boxes.empty());
  const auto& m = app->modules;
  ASSERT_EQ(m.modcount, 8);
  EXPECT_EQ(m.modheading[7], "First test");
  EXPECT_EQ(m.modintro[7], "About the first");
  EXPECT_EQ(m.modfile[7], "a.vqt");
  EXPECT_EQ(m.modheading[8], "Second test");
  EXPECT_EQ(m.modintro[8], "About the second");
  EXPECT_EQ(m.modfile[8], "b.VQT");
  EXPECT_EQ(m.modfile.size(), 9u);
  for (int n = 0; n <= 6; ++n) EXPECT_TRUE(m.modfile[static_cast<std::size_t>(n)].empty());
  EXPECT_EQ(m.modcorrect.size(), 9u);
  const auto items = listtexts(app->menu().Lstmodules);
  ASSERT_EQ(items.size(), 8u);
  EXPECT_EQ(items[6], "First test");
  EXPECT_EQ(items[7], "Second test");
  // Reading a header never changes a test file.
  EXPECT_EQ(std::filesystem::file_size(folder / "short.vqt"), 100u);
  EXPECT_EQ(std::filesystem::file_size(folder / "zero.vqt"), 0u);
}

TEST_F(StartupTest, ListTestFilesIgnoresCaseOfTheExtensionOnly) {
  writetest("x.Vqt", "X", "", "1");
  writetest("y.vqt", "Y", "", "1");
  writetest("vqt", "no dot", "", "1");
  writetest("z.vqt.bak", "Z", "", "1");
  EXPECT_EQ(trainee::listtestfiles(folder), (std::vector<std::string>{"x.Vqt", "y.vqt"}));
}

TEST_F(StartupTest, ListedTestWithBlankTitleOrDescription) {
  writetest("a.vqt", "   ", "", "1");
  writedruglists("0\r\n", "0\r\n", "0\r\n");
  trainee::Main(*app);
  ASSERT_EQ(app->modules.modcount, 7);
  EXPECT_EQ(app->modules.modheading[7], "");
  EXPECT_EQ(app->modules.modintro[7], "");
  EXPECT_EQ(app->menu().Lstmodules->count(), 7);
}

TEST_F(StartupTest, DrugListsAndCategoryMenu) {
  writedruglists("2\r\n4,1\r\n9,3\r\n", "1\r\n5,2\r\n",
                 "3\r\n" + catline("Analgesics", 1) + catline("Antibiotics", 2) + catline("Cardiac", 3));
  trainee::Main(*app);
  EXPECT_TRUE(boxes.empty());
  const auto& l = app->corestate.lists;
  EXPECT_EQ(l.ntablets, 2);
  EXPECT_EQ(l.tabrec[2], 9);
  EXPECT_EQ(l.tabcat[2], 3);
  EXPECT_EQ(l.nfluids, 1);
  EXPECT_EQ(l.fluidrec[1], 5);
  EXPECT_EQ(l.catname[1], "Analgesics");
  auto& menu = app->menu();
  ASSERT_EQ(menu.mnudc.size(), 3u);  // two design items and one created
  const char* names[3] = {"Analgesics", "Antibiotics", "Cardiac"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(menu.mnudc[static_cast<std::size_t>(i)]->text(), names[i]);
    EXPECT_TRUE(menu.mnudc[static_cast<std::size_t>(i)]->isChecked());
    EXPECT_TRUE(menu.mnudc[static_cast<std::size_t>(i)]->isVisible());
  }
}

TEST_F(StartupTest, OneCategoryLeavesTheSecondDesignItemHidden) {
  writedruglists("0\r\n", "0\r\n", "1\r\n" + catline("Only", 4));
  trainee::Main(*app);
  auto& menu = app->menu();
  EXPECT_EQ(menu.mnudc[0]->text(), "Only");
  EXPECT_TRUE(menu.mnudc[0]->isChecked());
  EXPECT_FALSE(menu.mnudc[1]->isVisible());
}

// A count far beyond the entries that follow: the first missing entry of
// each file is reported, and the rest load on silently as empty entries.
TEST_F(StartupTest, CountsLargerThanTheEntriesGiveOne62PerFile) {
  writedruglists("32767\r\n4,1\r\n", "1\r\n5,2\r\n", "2\r\n" + catline("Analgesics", 1));
  trainee::Main(*app);
  EXPECT_EQ(texts(), (std::vector<std::string>{E62, E62}));
  const auto& l = app->corestate.lists;
  EXPECT_EQ(l.ntablets, 32767);
  EXPECT_EQ(l.tabrec[1], 4);
  EXPECT_EQ(l.tabrec[2], 0);
  EXPECT_EQ(l.tabrec[32767], 0);
  EXPECT_EQ(l.ncategories, 2);
  EXPECT_EQ(l.catname[2], "");
  EXPECT_EQ(app->menu().mnudc[1]->text(), "");
  EXPECT_TRUE(app->menu().mnudc[1]->isChecked());
}

TEST_F(StartupTest, MissingFluidIndexOnly) {
  write("vqdbs1.idx", "1\r\n4,1\r\n");
  write("vqcat.idx", "1\r\n" + catline("Analgesics", 1));
  trainee::Main(*app);
  EXPECT_EQ(texts(), (std::vector<std::string>{E52}));
  EXPECT_EQ(app->corestate.lists.ntablets, 1);
  EXPECT_EQ(app->corestate.lists.nfluids, 0);
}

TEST_F(StartupTest, MissingTabletIndexOnlyLeavesTheTabletListEmpty) {
  write("vqdbs2.idx", "2\r\n5,1\r\n6,1\r\n");
  write("vqcat.idx", "1\r\n" + catline("Analgesics", 1));
  trainee::Main(*app);
  EXPECT_EQ(texts(), (std::vector<std::string>{E52}));
  const auto& l = app->corestate.lists;
  EXPECT_EQ(l.ntablets, 0);  // nothing of the fluid index is read into it
  EXPECT_EQ(l.nfluids, 2);
  EXPECT_EQ(l.fluidrec[2], 6);
  EXPECT_EQ(l.ncategories, 1);
  EXPECT_FALSE(app->frmmain().Command1->isHidden());
}

TEST_F(StartupTest, MissingCategoryFileOnly) {
  write("vqdbs1.idx", "1\r\n4,1\r\n");
  write("vqdbs2.idx", "\r\n");  // no fluid drug: an empty line reads as 0
  trainee::Main(*app);
  EXPECT_EQ(texts(), (std::vector<std::string>{E52}));
  EXPECT_EQ(app->corestate.lists.nfluids, 0);
  EXPECT_EQ(app->corestate.lists.ncategories, 0);
  EXPECT_EQ(app->menu().mnudc[0]->text(), "All");
}

TEST_F(StartupTest, OnlyTexturedOneGivesTheTexturedBackground) {
  for (int value : {1, 0, -1, 2}) {
    core::generalsettings s;
    s.textured = static_cast<std::int16_t>(value);
    write("VQ.INI", s.encode());
    writedruglists("0\r\n", "0\r\n", "0\r\n");
    app = std::make_unique<trainee::Dosavo>();
    app->endprogram = [this] { ++ends; };
    trainee::Main(*app);
    const QPixmap want = value == 1 ? ui::texturedbackground() : ui::plainbackground();
    EXPECT_TRUE(samepicture(ui::backgroundof(app->menu()), want)) << value;
    EXPECT_TRUE(samepicture(ui::backgroundof(app->frmid()), want)) << value;
    EXPECT_TRUE(samepicture(app->frmsavebackground, want)) << value;
    EXPECT_EQ(app->corestate.settings.textured, value);
  }
}

TEST_F(StartupTest, LogInAMissingFolderIsReportedAndStartUpGoesOn) {
  write("vqfile.ini", "<KEEP LOG>nofolder/run.log\r\n<ID>\r\n");
  writedruglists("0\r\n", "0\r\n", "0\r\n");
  trainee::Main(*app);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Dosavo Message");
  EXPECT_EQ(boxes[0].text,
            "Dosavo tryed to access the log file: nofolder/run.log which was specified in the vqfile.ini file. "
            "Unfortunately there is no such path. Please change the name of the log file.");
  EXPECT_FALSE(app->options.recording);
  EXPECT_TRUE(app->options.askid);
  EXPECT_FALSE(app->frmmain().Command1->isHidden());
}

// A folder in place of the log file is denied to everyone, root included
// (the tests run as root, whom file permissions deny nothing).
TEST_F(StartupTest, DeniedLogAsksDuringStartUpAndStartUpGoesOn) {
  std::filesystem::create_directory(folder / "run.log");
  write("vqfile.ini", "<KEEP LOG>run.log\r\n<ID>\r\n<DATE>\r\n");
  writedruglists("0\r\n", "0\r\n", "0\r\n");
  bool starthidden = false;
  onmodal = [&](QDialog& d) {
    starthidden = app->frmmain().isVisible() && app->frmmain().Command1->isHidden();
    dynamic_cast<trainee::Frmsave&>(d).SSCommand1_Click(1);  // No
  };
  trainee::Main(*app);
  EXPECT_EQ(modals, 1);
  EXPECT_TRUE(starthidden);
  EXPECT_TRUE(boxes.empty());
  EXPECT_FALSE(app->options.recording);
  EXPECT_TRUE(app->options.askid);  // the items after it are read
  EXPECT_TRUE(app->options.logdate);
  EXPECT_FALSE(app->frmmain().Command1->isHidden());
  // Start then goes straight to the menu: nothing is logged.
  app->frmmain().Command1_Click();
  EXPECT_EQ(modals, 1);
  EXPECT_EQ(app->menu().windowTitle(), "Dosavo");
}

TEST_F(StartupTest, StartStaysHiddenUntilTheLastStep) {
  // Every message of start-up shows while the title window is up and its
  // Start button is still hidden.
  std::vector<bool> hidden;
  ui::setmessagehook([&](const QString&, const QString&, QMessageBox::Icon) {
    hidden.push_back(app->frmmain().isVisible() && app->frmmain().Command1->isHidden());
  });
  write("vqfile.ini", "<ID CHECK>missing.txt\r\n");
  trainee::Main(*app);
  EXPECT_EQ(hidden, (std::vector<bool>{true, true, true, true}));
  EXPECT_FALSE(app->frmmain().Command1->isHidden());
}
