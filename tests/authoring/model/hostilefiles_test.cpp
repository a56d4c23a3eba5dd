// Every file the tool opens, met by things that are not the file it
// expects: a pipe, a device, a folder, a file it may not read, an empty or
// cut-short file, and the process's own memory through a link. Each
// operation either works or fails with a FileError (which the windows show
// as a message); none waits, crashes, or changes what is in the file's
// place.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <vector>

#include "authoring/model/drugdatabase.h"
#include "authoring/model/testdoc.h"
#include "authoring/model/testfiles.h"
#include "authoring/model/textexport.h"
#include "core/errors.h"
#include "core/settings.h"
#include "core/testfile.h"
#include "tests/authoring/model/drugs.h"
#include "tests/core/support.h"

using namespace authoring;
namespace fs = std::filesystem;

namespace {

enum class Kind { Pipe, Device, Folder, Unreadable, Empty, Truncated, Memory };

struct Case {
  Kind kind;
  const char* label;
};

const std::vector<Case> CASES = {
    {Kind::Pipe, "pipe"},           {Kind::Device, "/dev/zero"}, {Kind::Folder, "folder"},
    {Kind::Unreadable, "unreadable"}, {Kind::Empty, "empty"},   {Kind::Truncated, "truncated"},
    {Kind::Memory, "/proc/self/mem"},
};

// Kinds that are no data file at all: every operation on them fails.
bool notafile(Kind k) { return k == Kind::Pipe || k == Kind::Device || k == Kind::Folder || k == Kind::Memory; }

class HostileFiles : public testsupport::TempFolder {
 protected:
  // A hang fails the test instead of holding the run.
  void SetUp() override {
    TempFolder::SetUp();
    ::alarm(30);
  }
  void TearDown() override {
    ::alarm(0);
    TempFolder::TearDown();
  }

  // Puts the thing of kind k in place of name; good is what the file
  // would hold, cut short for Truncated.
  void plant(Kind k, const std::string& name, const std::string& good) {
    const fs::path p = dir_ / name;
    fs::remove_all(p);
    switch (k) {
      case Kind::Pipe: ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); break;
      case Kind::Device: fs::create_symlink("/dev/zero", p); break;
      case Kind::Folder:
        fs::create_directories(p);
        put(name + "/inside", "kept");
        break;
      case Kind::Unreadable:
        put(name, good);
        fs::permissions(p, fs::perms::owner_write);
        break;
      case Kind::Empty: put(name, ""); break;
      case Kind::Truncated: put(name, good.substr(0, good.size() * 2 / 3 + 1)); break;
      case Kind::Memory: fs::create_symlink("/proc/self/mem", p); break;
    }
  }

  // What lies at name: its kind, a link's target, a folder's names and a
  // file's bytes (or size and mode where it may not be read).
  std::string snapshot(const std::string& name) {
    const fs::path p = dir_ / name;
    struct stat st {};
    if (::lstat(p.c_str(), &st) != 0) return "missing";
    if (S_ISLNK(st.st_mode)) return "link " + fs::read_symlink(p).string();
    if (S_ISFIFO(st.st_mode)) return "pipe";
    if (S_ISDIR(st.st_mode)) {
      std::string out = "folder";
      for (const auto& e : fs::directory_iterator(p)) out += " " + e.path().filename().string() + "=" + get(name + "/" + e.path().filename().string());
      return out;
    }
    const std::string mode = std::to_string(st.st_mode & 0777);
    if ((st.st_mode & S_IRUSR) == 0) return "file " + mode + " " + std::to_string(st.st_size);
    return "file " + mode + " " + get(name);
  }

  // Runs op, which must work or fail with a FileError; anything else
  // thrown fails the test. True when it worked.
  static bool attempt(const std::function<void()>& op) {
    try {
      op();
      return true;
    } catch (const core::FileError&) {
      return false;
    }
  }

  // Whether a kind can be planted here: as root every file may be read.
  static bool testable(Kind k) { return k != Kind::Unreadable || ::geteuid() != 0; }

  std::string header = core::testrecord::header("Doses", "Two questions", "Work alone", 1).encode();
  std::string test() {
    return header + core::testrecord::item("Q1", "H1", "1").encode() + core::testrecord::item("Q2", "H2", "2").encode();
  }
};

}  // namespace

// The test being edited (a saved test or the working file) and a test
// being opened: opening reads nothing from what is not a file; every edit
// fails cleanly on it and leaves it as it was.
TEST_F(HostileFiles, TheTestFileAndTheWorkingFile) {
  for (const char* name : {"x.vqt", "test.tmp"}) {
    for (const Case& c : CASES) {
      if (!testable(c.kind)) continue;
      SCOPED_TRACE(std::string(name) + " as " + c.label);
      plant(c.kind, name, test());
      const std::string before = snapshot(name);

      OpenedTest opened;
      const bool read = attempt([&] { opened = readtestfile(name); });
      EXPECT_EQ(read, !notafile(c.kind) && c.kind != Kind::Unreadable);
      if (read) {
        // An empty file or one cut inside its first question: a test
        // without questions, its header as far as the file holds it.
        EXPECT_EQ(opened.numquest, c.kind == Kind::Truncated ? 1 : 0);
        EXPECT_EQ(core::trim(opened.header.testtitle), c.kind == Kind::Truncated ? "Doses" : "");
      }
      EXPECT_EQ(attempt([&] { trialopen(name); }), read);
      EXPECT_EQ(snapshot(name), before) << "opening changed it";

      TestDocument doc;
      doc.filename = name;
      doc.numquest = 2;
      doc.qno = 1;
      attempt([&] { doc.readquestion(); });
      attempt([&] { doc.next(); });
      attempt([&] { doc.storequestion("Q", "H", "A"); });
      attempt([&] { doc.writeheader(); });
      attempt([&] { doc.deletequestion(); });
      EXPECT_EQ(attempt([&] { savetest(name, 2, "saved.vqt"); }), !notafile(c.kind) && c.kind != Kind::Unreadable);
      EXPECT_EQ(attempt([&] { saveastextfile("export.txt", name, 2, "T", "D", "I", TextOptions{}); }),
                !notafile(c.kind) && c.kind != Kind::Unreadable);
      if (notafile(c.kind)) { EXPECT_EQ(snapshot(name), before) << "editing changed it"; }
      fs::remove(dir_ / "saved.vqt");
      fs::remove(dir_ / "export.txt");
    }
  }
}

// A save or text export aimed at what is not a file is refused and leaves
// it as it was; an ordinary file of any content is replaced whole.
TEST_F(HostileFiles, SaveAndExportTargets) {
  put("test.tmp", test());
  for (const char* name : {"y.vqt", "y.txt"}) {
    for (const Case& c : CASES) {
      if (!testable(c.kind)) continue;
      SCOPED_TRACE(std::string(name) + " as " + c.label);
      plant(c.kind, name, test());
      const std::string before = snapshot(name);
      std::error_code ec;
      const fs::perms mode = fs::symlink_status(dir_ / name, ec).permissions();
      const bool text = istextname(name);
      const bool saved = attempt([&] {
        if (text) saveastextfile(name, "test.tmp", 2, "T", "D", "I", TextOptions{});
        else savetest("test.tmp", 2, name);
      });
      EXPECT_EQ(saved, !notafile(c.kind));
      if (saved && !text) {
        // A replaced file keeps its mode, even one its owner may not read.
        EXPECT_EQ(fs::status(dir_ / name).permissions(), mode);
        fs::permissions(dir_ / name, fs::perms::owner_read, fs::perm_options::add);
        EXPECT_EQ(get(name), test());
      }
      if (!saved) { EXPECT_EQ(snapshot(name), before); }
      fs::remove_all(dir_ / name);
      EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1) << "a temporary file stayed";
    }
  }
}

// VQ.INI: a settings file that cannot be read gives the standard settings
// or an error the start-up reports; saving to what is not a file fails
// without touching it.
TEST_F(HostileFiles, TheSettingsFile) {
  core::generalsettings s;
  s.restoredefaults();
  for (const Case& c : CASES) {
    if (!testable(c.kind)) continue;
    SCOPED_TRACE(c.label);
    plant(c.kind, core::SETTINGS_FILE, s.encode());
    const std::string before = snapshot(core::SETTINGS_FILE);
    core::generalsettings read;
    const bool ok = attempt([&] { read = core::readsettings(); });
    EXPECT_EQ(ok, !notafile(c.kind) && c.kind != Kind::Unreadable);
    if (ok) { EXPECT_EQ(read.textured, 0); }  // no whole record: the zero state
    EXPECT_EQ(snapshot(core::SETTINGS_FILE), before);
    EXPECT_EQ(attempt([&] { core::writesettings(s); }), !notafile(c.kind) && c.kind != Kind::Unreadable);
    if (notafile(c.kind)) { EXPECT_EQ(snapshot(core::SETTINGS_FILE), before); }
  }
}

// VQDBASE.FIL and the three list files it is rebuilt into. A database that
// cannot be read rebuilds nothing, so the lists stay as they were; a list
// file that cannot be replaced stops the rebuild before any of the three
// changes, so the lists never disagree.
TEST_F(HostileFiles, TheDrugDatabaseAndItsListFiles) {
  const std::string database = drugtest::records({1, 2, 3});
  const core::DrugLists table = drugtest::table({{"Antibiotics", 1}, {"Analgesics", 2}});
  const std::vector<std::string> lists = {core::SOLID_INDEX, core::FLUID_INDEX, core::CATEGORY_FILE};
  const std::string oldlists = "1\r\n9,1\r\n";
  for (const Case& c : CASES) {
    if (!testable(c.kind)) continue;
    SCOPED_TRACE(std::string("VQDBASE.FIL as ") + c.label);
    plant(c.kind, core::DRUG_DATABASE, database);
    for (const std::string& l : lists) put(l, oldlists);  // ordinary files in this half
    const std::string before = snapshot(core::DRUG_DATABASE);
    DrugDatabase db;
    const bool opened = attempt([&] {
      db.opendatabase();
      db.readcurrent();
    });
    EXPECT_EQ(opened, !notafile(c.kind) && c.kind != Kind::Unreadable);
    attempt([&] { db.deletecurrent(); });
    attempt([&] { db.writecurrent(); });
    const bool rebuilt = attempt([&] { db.rebuild(table); });
    EXPECT_EQ(rebuilt, opened);
    if (notafile(c.kind)) { EXPECT_EQ(snapshot(core::DRUG_DATABASE), before); }
    if (!rebuilt) {
      for (const std::string& l : lists) EXPECT_EQ(get(l), oldlists) << l;
    }
  }
  for (const std::string& target : lists) {
    for (const Case& c : CASES) {
      if (!testable(c.kind)) continue;
      SCOPED_TRACE(target + " as " + c.label);
      fs::remove(dir_ / core::DRUG_DATABASE);
      put(core::DRUG_DATABASE, database);
      for (const std::string& l : lists) {
        fs::remove_all(dir_ / l);
        put(l, oldlists);
      }
      plant(c.kind, target, oldlists);
      const std::string before = snapshot(target);
      // Reading them as the start-up and the editor do reports failures
      // by number and goes on.
      core::DrugLists loaded = core::emptydruglists(core::Build::Tool);
      std::vector<int> errors;
      core::loaddruglists(loaded, core::Build::Tool, [&](int e) { errors.push_back(e); });
      // An empty list file holds no count: input past its end.
      EXPECT_EQ(errors.empty(), !notafile(c.kind) && c.kind != Kind::Unreadable && c.kind != Kind::Empty);
      core::DrugLists cats = core::emptydruglists(core::Build::Tool);
      attempt([&] { loadcategorytable(cats); });
      EXPECT_EQ(snapshot(target), before);
      DrugDatabase db;
      db.opendatabase();
      const bool rebuilt = attempt([&] { db.rebuild(table); });
      EXPECT_EQ(rebuilt, !notafile(c.kind));
      if (!rebuilt) {
        EXPECT_EQ(snapshot(target), before);
        for (const std::string& l : lists)
          if (l != target) { EXPECT_EQ(get(l), oldlists) << l; }
      }
    }
  }
}
