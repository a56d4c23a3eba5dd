// The tool run in a folder whose files fight back: pipes, devices and the
// process's own memory in place of its files. Each is met with a message
// naming the failure; nothing waits, and nothing in the folder changes.
#include <QFileDialog>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

#include "authoring/frmdrugdatabase.h"
#include "authoring/frmexam.h"
#include "authoring/frmsave.h"
#include "authoring/frmstart.h"
#include "authoring/startup.h"
#include "tests/authoring/tool_fixture.h"

namespace fs = std::filesystem;

namespace {

class HostileFolder : public tooltest::ToolTest {
 protected:
  void SetUp() override {
    ToolTest::SetUp();
    ::alarm(60);  // a wait on a pipe fails the test instead of holding the run
    onmodal = [this](QDialog& d) {
      if (auto* files = qobject_cast<QFileDialog*>(&d)) {
        files->selectFile(QString::fromStdString((folder / choose).string()));
        static_cast<QDialog*>(files)->done(QDialog::Accepted);
      } else if (auto* yesno = qobject_cast<authoring::Frmsave*>(&d)) {
        yesno->Command1_Click(yes ? 0 : 1);
      }
    };
  }
  void TearDown() override {
    ::alarm(0);
    ToolTest::TearDown();
  }
  void fifo(const std::string& name) { ASSERT_EQ(::mkfifo((folder / name).c_str(), 0644), 0); }
  void link(const std::string& target, const std::string& name) { fs::create_symlink(target, folder / name); }
  // Every name in the folder with its kind, and a link's target.
  std::vector<std::string> contents() {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(folder)) {
      const std::string name = e.path().filename().string();
      if (e.is_symlink()) out.push_back(name + " -> " + fs::read_symlink(e.path()).string());
      else if (e.is_fifo()) out.push_back(name + " pipe");
      else out.push_back(name + " " + read(name));
    }
    std::sort(out.begin(), out.end());
    return out;
  }
  std::string choose;  // the name the next file dialog gives
  bool yes = true;     // the answer to the next Yes/No question
};

}  // namespace

TEST_F(HostileFolder, EveryFileOfTheToolRefusedWithAMessage) {
  fifo("VQ.INI");
  link("/proc/self/mem", "vqdbs1.idx");
  fifo("vqdbs2.idx");
  link("/dev/zero", "vqcat.idx");
  link("/proc/self/mem", "VQDBASE.FIL");
  fifo("test.tmp");
  fifo("pipe.vqt");
  link("/dev/zero", "zero.txt");
  const auto before = contents();

  authoring::Main(*app);
  EXPECT_EQ(boxes, (std::vector<std::string>{
                       "Quizwright: The settings file VQ.INI could not be read (error number 75). The standard "
                       "settings are used.",
                       "Quizwright: The drug list files vqdbs1.idx, vqdbs2.idx and vqcat.idx could not be read (error "
                       "number 75). The drug lists are empty until the Drug Database editor rebuilds them: open it "
                       "and close it again."}));
  EXPECT_TRUE(app->start().isVisible());

  // The editor's working file, a test to open, a test and a text export to
  // save: each refused with the editor's own message.
  boxes.clear();
  app->start().Label2_Click(0);
  auto& exam = app->exam();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].find("Quizwright: The test description could not be written to the test file "), 0u) << boxes[0];
  boxes.clear();
  choose = "pipe.vqt";
  exam.mnuopen_Click(1);
  EXPECT_EQ(boxes, std::vector<std::string>{"Quizwright: Illegal file name"});
  EXPECT_EQ(exam.doc.filename, "test.tmp");
  boxes.clear();
  choose = "zero.txt";
  exam.mnusave_Click(0);
  EXPECT_EQ(boxes, std::vector<std::string>{
                       "Quizwright: The file name that you entered was illegal. The file was not saved."});
  // Leaving the unsaved test without saving it.
  yes = false;
  exam.close();

  // The drug editor on a database that is no file: it says so, and its
  // close rebuilds nothing.
  boxes.clear();
  auto& drugs = app->drugdatabase();
  app->start().Label2_Click(1);
  drugs.close();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0], "Drug Database: The drug category file vqcat.idx could not be read (error 75). The editor "
                      "opens with no categories.");
  EXPECT_EQ(boxes[1], "Drug Database: The drug database could not be opened (error 75).");
  EXPECT_EQ(boxes[2], "Drug Database: The drug lists could not be rebuilt (error 75).");

  // The editor's close removes its working file, whatever lies there; all
  // else is as it was.
  auto after = before;
  after.erase(std::find(after.begin(), after.end(), "test.tmp pipe"));
  EXPECT_EQ(contents(), after);
}
