// Data folders that fight back: files whose reads fail part-way, pipes and
// devices in place of files, logs planted as symbolic links, files of huge
// items, and names the stored texts cannot hold. Each run goes through the
// program's start-up, logon and menu as a student meets them.
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <sys/stat.h>

#include "trainee/frmid.h"
#include "trainee/frmmain.h"
#include "trainee/frmmenu.h"
#include "trainee/frmquestion.h"
#include "trainee/frmsave.h"
#include "trainee/startup.h"
#include "trainee_fixture.h"

using namespace traineetest;
namespace fs = std::filesystem;

namespace {
const std::string E75 = "There was an error number 75";
const std::string E62 = "There was an error number 62";
}  // namespace

class HostileFiles : public TraineeTest {
 protected:
  void link(const fs::path& target, const std::string& name) { fs::create_symlink(target, folder / name); }
  void fifo(const std::string& name) { ASSERT_EQ(::mkfifo((folder / name).c_str(), 0644), 0); }
  // Types a text key by key, each key carrying its character (one
  // beyond the 16-bit range arrives in its two halves at once).
  static void type(QLineEdit* box, const QString& text) {
    box->clear();
    for (qsizetype at = 0; at < text.size(); ++at) {
      const qsizetype length = text.at(at).isHighSurrogate() ? 2 : 1;
      QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, text.mid(at, length), Qt::NoModifier);
      at += length - 1;
    }
  }
  // Presses Start; in the logon window the ID and name are typed and O.K.
  // pressed with the keyboard.
  void logon(const QString& id, const QString& name = {}) {
    onmodal = [=, this](QDialog&) {
      auto& w = app->frmid();
      type(w.TxtID, id);
      type(w.Txtname, name);
      QTest::keyClick(w.cmdOk[0], Qt::Key_Space);
    };
    app->frmmain().Command1_Click();
  }
};

// Reading /proc/self/mem fails at once with an I/O error: each list file
// that fails so is reported by number once, and start-up goes on to show
// Start with what the other files hold.
TEST_F(HostileFiles, ReadsThatFailAreReportedByNumberAndStartUpGoesOn) {
  link("/proc/self/mem", "vqfile.ini");
  link("/proc/self/mem", "vqdbs1.idx");
  write("vqdbs2.idx", "1\r\n5,2\r\n");
  link("/proc/self/mem", "vqcat.idx");
  trainee::Main(*app);
  EXPECT_EQ(texts(), (std::vector<std::string>{E75, E75, E75}));
  EXPECT_FALSE(app->frmmain().Command1->isHidden());
  EXPECT_EQ(app->corestate.lists.ntablets, 0);
  EXPECT_EQ(app->corestate.lists.nfluids, 1);
  EXPECT_EQ(app->corestate.lists.fluidrec[1], 5);
  EXPECT_EQ(app->corestate.lists.ncategories, 0);
}

// An ID list that is a view of the system (/proc) is refused at start-up
// as a device is, and the logon goes on without a list.
TEST_F(HostileFiles, IdListThatCannotBeReadAtLogon) {
  link("/proc/self/mem", "ids.txt");
  write("vqfile.ini", "<KEEP LOG>run.log\r\n<ID>\r\n<ID CHECK>ids.txt\r\n");
  writedruglists("0\r\n", "0\r\n", "0\r\n");
  trainee::Main(*app);
  EXPECT_EQ(texts(), (std::vector<std::string>{"Dosavo tried to access the file ids.txt but could not find it. "
                                               "Please check the vqfile.ini file and ensure that this is the "
                                               "correct path."}));
  EXPECT_TRUE(app->options.idlistfile.empty());
}

// A pipe or a device in place of a data file never holds start-up: it is
// refused as a file that cannot be opened, once per file.
TEST_F(HostileFiles, PipesAndDevicesInPlaceOfDataFilesAreRefused) {
  link("/dev/zero", "vqfile.ini");
  write("vqdbs1.idx", "1\r\n4,1\r\n");
  fifo("vqdbs2.idx");
  link("/dev/zero", "vqcat.idx");
  trainee::Main(*app);
  EXPECT_EQ(texts(), (std::vector<std::string>{E75, E75, E75}));
  EXPECT_EQ(app->corestate.lists.ntablets, 1);
  EXPECT_EQ(app->corestate.lists.nfluids, 0);
  EXPECT_FALSE(app->frmmain().Command1->isHidden());
}

// A pipe in place of the log is a file that cannot be opened: after the
// silent tries the student is asked, and No leaves logging off. A device
// named as the ID list is reported and not used.
TEST_F(HostileFiles, PipeAsLogAndDeviceAsIdList) {
  fifo("pipe.log");
  write("vqfile.ini", "<KEEP LOG>pipe.log\r\n<ID CHECK>/dev/zero\r\n<ID>\r\n");
  writedruglists("0\r\n", "0\r\n", "0\r\n");
  std::string asked;
  onmodal = [&](QDialog& d) {
    auto& save = dynamic_cast<trainee::Frmsave&>(d);
    asked = ui::toansi(save.Text1->toPlainText());
    save.SSCommand1_Click(1);  // No
  };
  trainee::Main(*app);
  EXPECT_EQ(modals, 1);
  EXPECT_EQ(asked,
            "Dosavo tryed to access the log file: pipe.log which was specified in the vqfile.ini file. "
            "Access was denied to this file. Would you like to try accessing it again?");
  EXPECT_EQ(texts(), (std::vector<std::string>{"Dosavo tried to access the file /dev/zero but could not find it. "
                                               "Please check the vqfile.ini file and ensure that this is the "
                                               "correct path."}));
  EXPECT_FALSE(app->options.recording);
  EXPECT_TRUE(app->options.idlistfile.empty());
}

// A student can plant a link in the shared log folder: the victim's log is
// never written through it, and a dangling link creates nothing.
TEST_F(HostileFiles, PerIdLogThatIsALinkIsRefused) {
  fs::create_directory(folder / "logs");
  write("other.txt", "not a log\r\n");
  link(folder / "other.txt", "logs/victim  .LOG");
  link(folder / "logs" / "made.txt", "logs/ghost   .LOG");
  write("vqfile.ini", "<KEEP LOG ID>logs/\r\n<NAME>\r\n");
  writedruglists("0\r\n", "0\r\n", "0\r\n");
  trainee::Main(*app);
  for (const char* id : {"victim", "ghost"}) {
    boxes.clear();
    logon(QString::fromLatin1(id), QStringLiteral("Jo"));
    ASSERT_EQ(boxes.size(), 1u) << id;
    EXPECT_EQ(boxes[0].title, "Error ...");
    EXPECT_EQ(boxes[0].text, "The log file logs/" + core::fixwidth(id, 8) +
                                 ".LOG is a symbolic link, which Dosavo does not follow. Please tell your supervisor.");
    EXPECT_FALSE(app->menu().isVisible());
  }
  EXPECT_EQ(read("other.txt"), "not a log\r\n");
  EXPECT_FALSE(fs::exists(folder / "logs" / "made.txt"));
  // An ID of its own logs on as usual.
  boxes.clear();
  logon(QStringLiteral("AB12"), QStringLiteral("Jo"));
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(app->menu().isVisible());
  EXPECT_TRUE(fs::is_regular_file(folder / "logs" / "AB12    .LOG"));
}

// The results log named in the options file: a link is refused at
// start-up, and one planted during the run is refused when the run ends,
// with the results not written anywhere.
TEST_F(HostileFiles, ResultsLogThatIsALinkIsRefused) {
  write("other.txt", "");
  link(folder / "other.txt", "run.log");
  write("vqfile.ini", "<KEEP LOG>run.log\r\n");
  writedruglists("0\r\n", "0\r\n", "0\r\n");
  trainee::Main(*app);
  const std::string prefix =
      "Dosavo tryed to access the log file: run.log which was specified in the vqfile.ini file. "
      "Unfortunately it is a symbolic link, which Dosavo does not follow.";
  EXPECT_EQ(texts(), (std::vector<std::string>{prefix + " A log file will not be kept. Please change the name of "
                                                        "the log file."}));
  EXPECT_FALSE(app->options.recording);

  fs::remove(folder / "run.log");
  app = std::make_unique<trainee::Dosavo>();
  app->endprogram = [this] { ++ends; };
  boxes.clear();
  trainee::Main(*app);
  ASSERT_TRUE(boxes.empty());
  ASSERT_TRUE(app->options.recording);
  app->frmmain().Command1_Click();
  app->results.progdirty = true;
  app->modules.modcorrect[4] = 1;
  fs::remove(folder / "run.log");
  link(folder / "other.txt", "run.log");
  QTest::mouseClick(app->menu().cmdquit, Qt::LeftButton);
  EXPECT_EQ(texts(), (std::vector<std::string>{prefix + " Your results have not been saved."}));
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(read("other.txt"), "");
}

// Items far longer than anything a list file holds are kept to a sensible
// length: a category name to its 20 characters, an option value to a few
// thousand.
TEST_F(HostileFiles, HugeItemsAreKeptShort) {
  std::string cats = "2\r\n";
  cats += "\"" + std::string(20, 'A') + std::string(1000000, 'B') + "\",1\r\n";
  cats += std::string(500000, 'C') + ",2\r\n";
  write("vqcat.idx", cats);
  write("vqdbs1.idx", "0\r\n");
  write("vqdbs2.idx", "0\r\n");
  write("vqfile.ini", "<KEEP LOG>run.log\r\n<ID>\r\n<PROMPT LOGIN>" + std::string(1000000, 'p') + "\r\n");
  trainee::Main(*app);
  EXPECT_TRUE(boxes.empty());
  auto& menu = app->menu();
  EXPECT_EQ(ui::toansi(menu.mnudc[0]->text()), std::string(20, 'A'));
  EXPECT_EQ(ui::toansi(menu.mnudc[1]->text()), std::string(20, 'C'));
  EXPECT_EQ(app->corestate.lists.catnum[2], 2);
  EXPECT_LE(app->options.loginprompt.size(), 4096u);
  EXPECT_GE(app->options.loginprompt.size(), 4000u);
  EXPECT_EQ(app->frmid().Txtmsg->toPlainText().size(), static_cast<qsizetype>(app->options.loginprompt.size()));
}

// A name or ID typed with a character that Windows-1252 cannot hold is
// refused with a message that names it; one it can hold is kept as typed.
TEST_F(HostileFiles, LogonRefusesCharactersTheLogCannotHold) {
  write("vqfile.ini", "<KEEP LOG>run.log\r\n<ID>\r\n<NAME>\r\n");
  writedruglists("0\r\n", "0\r\n", "0\r\n");
  trainee::Main(*app);
  std::vector<QString> shown;
  ui::setmessagehook([&](const QString& title, const QString& text, QMessageBox::Icon) {
    EXPECT_EQ(title, "Please complete the form...");
    shown.push_back(text);
  });
  logon(QStringLiteral("AB12"), QString::fromUtf8("Li \u674E"));
  logon(QString::fromUtf8("\U0001F600B12"), QStringLiteral("Jo"));
  EXPECT_EQ(shown, (std::vector<QString>{
                       QString::fromUtf8("Your name contains the character \u201C\u674E\u201D, which Dosavo cannot "
                                         "store. Please type it without that character."),
                       QString::fromUtf8("Your ID number contains the character \u201C\U0001F600\u201D, which "
                                         "Dosavo cannot store. Please type it without that character.")}));
  EXPECT_FALSE(app->menu().isVisible());
  shown.clear();
  logon(QStringLiteral("AB12"), QString::fromUtf8("Zo\u00EB \u0160ar\u00E9"));
  EXPECT_TRUE(shown.empty());
  EXPECT_TRUE(app->menu().isVisible());
  EXPECT_EQ(app->options.username, "Zo\xEB \x8A" "ar\xE9");
}

// The settings record and the drug database in the hands of a pipe, a
// device or a folder: start-up reports the settings file by number and goes
// on with the defaults, and the tablet module says it has no question
// rather than waiting on the database.
TEST_F(HostileFiles, SettingsAndDrugDatabaseThatAreNoOrdinaryFiles) {
  for (const std::string kind : {"pipe", "device", "folder"}) {
    SCOPED_TRACE(kind);
    for (const char* name : {"VQ.INI", "VQDBASE.FIL"}) {
      fs::remove_all(folder / name);
      if (kind == "pipe") fifo(name);
      if (kind == "device") link("/dev/zero", name);
      if (kind == "folder") fs::create_directory(folder / name);
    }
    writedruglists("1\r\n1,1\r\n", "0\r\n", "1\r\n" + catline("Analgesics", 1));
    app = std::make_unique<trainee::Dosavo>();
    app->endprogram = [this] { ++ends; };
    boxes.clear();
    trainee::Main(*app);
    EXPECT_EQ(texts(), std::vector<std::string>{E75});
    EXPECT_EQ(app->corestate.settings.textured, 0);
    app->frmmain().Command1_Click();
    auto& menu = app->menu();
    const auto found = menu.Lstmodules->findItems(QStringLiteral("Calculating Tablet Dosages"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    menu.Lstmodules->setCurrentItem(found[0]);
    menu.cmdaccept_Click();
    ASSERT_TRUE(app->questionloaded());
    boxes.clear();
    // A database that cannot be read is told as such, never as a module
    // without questions; closing the question leaves the module.
    std::vector<QString> asked;
    onmodal = [&](QDialog& d) { asked.push_back(static_cast<trainee::Frmsave&>(d).Text1->toPlainText()); };
    QTest::mouseClick(app->question().cmdstart, Qt::LeftButton);
    onmodal = nullptr;
    EXPECT_TRUE(texts().empty());
    EXPECT_EQ(asked, std::vector<QString>{"The drug database VQDBASE.FIL could not be read (error 75). Would you like "
                                          "to try again? No leaves this module."});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(app->questionloaded());
  }
}
