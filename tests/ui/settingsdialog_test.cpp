// The settings dialog of both programs: what each button and each way of
// closing does to the settings in memory, to VQ.INI and to the window
// backgrounds.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "core/filefaults.h"
#include "core/files.h"
#include "core/settings.h"
#include "core/ui/artwork.h"
#include "core/ui/messages.h"
#include "core/ui/settingsdialog.h"
#include "core/ui/twips.h"

namespace fs = std::filesystem;

namespace {

std::string readall(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeall(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// A 140-byte record whose block is a byte pattern and whose integers are
// given.
std::string record(std::int16_t animationsoff, std::int16_t textured, std::int16_t abbreviations,
                   std::int16_t allmetric, std::int16_t genericnames) {
  std::string r;
  for (int i = 0; i < 120; ++i) r += static_cast<char>((i * 37 + 11) & 0xFF);
  const std::int16_t v[10] = {5, 6, 7, animationsoff, textured, 8, 9, abbreviations, allmetric, genericnames};
  for (auto x : v) {
    r += static_cast<char>(static_cast<std::uint16_t>(x) & 0xFF);
    r += static_cast<char>(static_cast<std::uint16_t>(x) >> 8);
  }
  return r;
}

class SettingsDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("dosavo-settings-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    core::setworkdir(dir_.string());
    ui::setmessagehook([this](const QString&, const QString&, QMessageBox::Icon) { ++messages_; });
    ui::setscreensizetwips(15360, 11520);
  }
  void TearDown() override {
    ui::setmodalhook(nullptr);
    ui::setmessagehook(nullptr);
    ui::setscreensizetwips(0, 0);
    std::error_code ec;
    fs::permissions(dir_, fs::perms::owner_all, ec);
    fs::remove_all(dir_, ec);
  }
  fs::path ini() const { return dir_ / "VQ.INI"; }

  // The trainee's hooks: the dialog takes the menu's background, and its
  // closing reapplies the three windows' backgrounds from the setting.
  ui::Default::Hooks traineehooks(core::generalsettings& s) {
    ui::Default::Hooks h;
    h.onload = [this](ui::Default& d) { ui::setbackground(d, ui::backgroundof(menu_)); };
    h.onunload = [this, &s] {
      ++unloads_;
      for (QWidget* w : {&menu_, &save_, &id_}) ui::setbackground(*w, ui::backgroundfor(s.textured));
    };
    return h;
  }

  fs::path dir_;
  int messages_ = 0;
  int unloads_ = 0;
  QWidget menu_, save_, id_;
};

TEST_F(SettingsDialog, CaptionsAndGrouping) {
  core::generalsettings s;
  ui::Default d(s);
  EXPECT_EQ(d.windowTitle(), "Dosavo - Settings");
  const char* checks[5] = {"Disable animations for correct answers", "Use abbreviations for metric units",
                           "Use all metric units for metric conversions", "Use generic and trade names for drugs",
                           "Textured background"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(d.Check1[i]->text(), checks[i]);
  EXPECT_EQ(d.Frame2[0]->title(), "Question Construction");
  EXPECT_EQ(d.Frame2[1]->title(), "Appearance");
  EXPECT_EQ(d.Command1[0]->text(), "&Use");
  EXPECT_EQ(d.Command1[1]->text(), "&Save");
  EXPECT_EQ(d.Command1[2]->text(), "&Restore Defaults");
  for (int i : {1, 2, 3}) EXPECT_EQ(d.Check1[i]->parentWidget(), d.Frame2[0]);
  for (int i : {0, 4}) EXPECT_EQ(d.Check1[i]->parentWidget(), d.Frame2[1]);
  ASSERT_NE(d.Picture1, nullptr);
  EXPECT_FALSE(d.Picture1->pixmap().isNull());
}

// With the keyboard: the top box has it first, and Tab runs down the boxes
// as they stand on the window, then along the buttons.
TEST_F(SettingsDialog, TabRunsDownTheBoxesThenAlongTheButtons) {
  core::generalsettings s;
  ui::Default d(s);
  d.show();
  d.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
  std::vector<QString> seen;
  for (int i = 0; i < 8; ++i) {
    seen.push_back(QApplication::focusWidget()->objectName());
    QTest::keyClick(d.windowHandle(), Qt::Key_Tab);
  }
  EXPECT_EQ(seen, (std::vector<QString>{"Check1_1", "Check1_2", "Check1_3", "Check1_0", "Check1_4", "Command1_0",
                                        "Command1_1", "Command1_2"}));
  d.hide();
}

TEST_F(SettingsDialog, ChecksShowOnlyTheExactOnValues) {
  core::generalsettings s;
  s.animationsoff = -1;  // only 1 counts
  s.textured = 1;
  s.abbreviations = 1;  // only -1 counts
  s.allmetric = -1;
  s.genericnames = 2;
  ui::Default d(s);
  bool used = false;
  ui::setmodalhook([&](QDialog&) {
    EXPECT_FALSE(d.Check1[0]->isChecked());
    EXPECT_FALSE(d.Check1[1]->isChecked());
    EXPECT_TRUE(d.Check1[2]->isChecked());
    EXPECT_FALSE(d.Check1[3]->isChecked());
    EXPECT_TRUE(d.Check1[4]->isChecked());
    QTest::mouseClick(d.Command1[0], Qt::LeftButton);
    used = true;
  });
  ui::runmodal(d);
  ASSERT_TRUE(used);
  EXPECT_FALSE(d.isVisible());
  // Use stores the on value or 0, whatever was there.
  EXPECT_EQ(s.animationsoff, 0);
  EXPECT_EQ(s.textured, 1);
  EXPECT_EQ(s.abbreviations, 0);
  EXPECT_EQ(s.allmetric, -1);
  EXPECT_EQ(s.genericnames, 0);
  EXPECT_FALSE(fs::exists(ini()));  // Use writes nothing
}

TEST_F(SettingsDialog, UseStoresTheCheckedValuesAndReappliesBackgrounds) {
  core::generalsettings s;  // textured 0 at start-up
  ui::setbackground(menu_, ui::backgroundfor(s.textured));
  ui::Default d(s, traineehooks(s));
  ui::setmodalhook([&](QDialog&) {
    // The dialog took the menu window's picture when it loaded.
    EXPECT_EQ(ui::backgroundof(d).cacheKey(), ui::plainbackground().cacheKey());
    EXPECT_FALSE(d.Check1[4]->isChecked());
    for (auto* c : d.Check1) c->setChecked(true);
    QTest::mouseClick(d.Command1[0], Qt::LeftButton);
  });
  ui::runmodal(d);
  EXPECT_EQ(s.animationsoff, 1);
  EXPECT_EQ(s.abbreviations, -1);
  EXPECT_EQ(s.allmetric, -1);
  EXPECT_EQ(s.genericnames, -1);
  EXPECT_EQ(s.textured, 1);
  EXPECT_EQ(unloads_, 1);
  for (QWidget* w : {&menu_, &save_, &id_})
    EXPECT_EQ(ui::backgroundof(*w).cacheKey(), ui::texturedbackground().cacheKey());
}

TEST_F(SettingsDialog, CloseBoxDiscardsChecksButKeepsRestoredDefaultsAndEscapeDoesNothing) {
  for (bool esc : {false, true}) {
    SCOPED_TRACE(esc ? "Escape, then the close box" : "close box");
    unloads_ = 0;
    core::generalsettings s;
    s.animationsoff = 1;
    s.textured = 0;
    s.abbreviations = -1;
    ui::Default d(s, traineehooks(s));
    ui::setmodalhook([&](QDialog&) {
      d.Check1[0]->setChecked(false);
      QTest::mouseClick(d.Command1[2], Qt::LeftButton);  // Restore Defaults
      EXPECT_TRUE(d.isVisible());                        // stays open
      EXPECT_FALSE(d.Check1[0]->isChecked());
      EXPECT_TRUE(d.Check1[4]->isChecked());
      EXPECT_FALSE(d.Check1[1]->isChecked());
      for (auto* c : d.Check1) c->setChecked(!c->isChecked());
      if (esc) {
        // No Cancel button: Escape leaves the dialog as it is.
        QTest::keyClick(&d, Qt::Key_Escape);
        EXPECT_TRUE(d.isVisible());
      }
      d.close();
      EXPECT_FALSE(d.isVisible());
    });
    ui::runmodal(d);
    EXPECT_EQ(s.spare1, 170);
    EXPECT_EQ(s.spare2, 72);
    EXPECT_EQ(s.spare3, 229);
    EXPECT_EQ(s.animationsoff, 0);
    EXPECT_EQ(s.textured, 1);
    EXPECT_EQ(s.spare4, 31);
    EXPECT_EQ(s.spare5, 0);
    EXPECT_EQ(s.abbreviations, 0);
    EXPECT_EQ(s.allmetric, 0);
    EXPECT_EQ(s.genericnames, 0);
    EXPECT_EQ(unloads_, 1);  // exactly once, however it closed
    EXPECT_EQ(ui::backgroundof(id_).cacheKey(), ui::texturedbackground().cacheKey());
    EXPECT_FALSE(fs::exists(ini()));
  }
}

TEST_F(SettingsDialog, RestoreDefaultsThenSaveKeepsTheBlock) {
  const std::string before = record(1, 0, -1, -1, -1);
  writeall(ini(), before);
  core::generalsettings s = core::readsettings();
  ui::Default d(s);  // the tool's variant: no hooks
  ui::setmodalhook([&](QDialog&) {
    QTest::mouseClick(d.Command1[2], Qt::LeftButton);
    QTest::mouseClick(d.Command1[1], Qt::LeftButton);
  });
  ui::runmodal(d);
  EXPECT_FALSE(d.isVisible());
  const std::string after = readall(ini());
  ASSERT_EQ(after.size(), 140u);
  EXPECT_EQ(after.substr(0, 120), before.substr(0, 120));
  const std::int16_t want[10] = {170, 72, 229, 0, 1, 31, 0, 0, 0, 0};
  for (int i = 0; i < 10; ++i) {
    const auto lo = static_cast<unsigned char>(after[120 + 2 * i]);
    const auto hi = static_cast<unsigned char>(after[121 + 2 * i]);
    EXPECT_EQ(static_cast<std::int16_t>(lo | (hi << 8)), want[i]) << "field " << i;
  }
  EXPECT_TRUE(ui::backgroundof(d).isNull());  // the tool leaves backgrounds alone
}

TEST_F(SettingsDialog, SaveWithoutAFileCreatesOneRecord) {
  core::generalsettings s = core::readsettings();
  fs::remove(ini());  // start with no file at all
  ui::Default d(s);
  ui::setmodalhook([&](QDialog&) {
    d.Check1[3]->setChecked(true);
    QTest::mouseClick(d.Command1[1], Qt::LeftButton);
  });
  ui::runmodal(d);
  ASSERT_TRUE(fs::exists(ini()));
  EXPECT_EQ(fs::file_size(ini()), 140u);
  EXPECT_EQ(core::readsettings().genericnames, -1);
  EXPECT_EQ(messages_, 0);
}

// A settings file that cannot be written (a folder in its place, a full
// disk, a file that may not be written): Save says so with the error number
// and its cause, the file stays as it was, and the chosen values are kept
// for this run.
TEST_F(SettingsDialog, SaveThatCannotWriteSaysWhyAndKeepsTheValues) {
  const struct {
    bool folder;
    int error;
    const char* number;
  } rows[] = {{true, 0, "75"}, {false, ENOSPC, "61: the disk is full"}, {false, EACCES, "70: writing is not allowed there"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.number);
    fs::remove_all(ini());
    if (row.folder) fs::create_directory(ini());
    else writeall(ini(), record(0, 0, 0, 0, 0));
    core::WriteFaults faults;
    if (!row.folder) faults.recordafter = 0;
    faults.error = row.error;
    std::vector<std::pair<QString, QString>> said;
    ui::setmessagehook([&](const QString& title, const QString& text, QMessageBox::Icon) { said.emplace_back(title, text); });
    core::generalsettings s;
    unloads_ = 0;
    ui::Default d(s, traineehooks(s));
    ui::setmodalhook([&](QDialog&) {
      d.Check1[4]->setChecked(true);
      d.Check1[2]->setChecked(true);
      core::setwritefaults(faults);
      QTest::mouseClick(d.Command1[1], Qt::LeftButton);
      core::setwritefaults({});
    });
    ui::runmodal(d);
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0].first, "Dosavo - Settings");
    EXPECT_EQ(said[0].second.toStdString(), std::string("The settings could not be saved in VQ.INI (error ") +
                                                row.number + "). The settings chosen are used until the program ends.");
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(unloads_, 1);
    EXPECT_EQ(s.textured, 1);
    EXPECT_EQ(s.allmetric, -1);
    if (row.folder) EXPECT_TRUE(fs::is_directory(ini()));
    else EXPECT_EQ(readall(ini()), record(0, 0, 0, 0, 0));
  }
}

TEST_F(SettingsDialog, EachShowingLoadsAndUnloadsOnceAndIsCentred) {
  core::generalsettings s;
  int loads = 0;
  ui::Default::Hooks h;
  h.onload = [&](ui::Default&) { ++loads; };
  h.onunload = [&] { ++unloads_; };
  ui::Default d(s, h);
  QPoint where;
  QSize outer;
  ui::setmodalhook([&](QDialog&) {
    where = d.frameGeometry().topLeft();
    outer = d.frameGeometry().size();
  });
  ui::runmodal(d);  // closed by runmodal as by the close box
  EXPECT_EQ(loads, 1);
  EXPECT_EQ(unloads_, 1);
  // 11520 * 0.85 = 9792; half of it less half the height, and half the
  // width less half the dialog's width, in twips; the sizes are the
  // window's outer ones, frame included.
  const int wt = ui::twips(outer.width()), ht = ui::twips(outer.height());
  EXPECT_EQ(where, QPoint(ui::px(7680 - wt / 2), ui::px(4896 - ht / 2)));
  s.textured = 1;
  ui::setmodalhook([&](QDialog&) { EXPECT_TRUE(d.Check1[4]->isChecked()); });
  ui::runmodal(d);
  EXPECT_EQ(loads, 2);
  EXPECT_EQ(unloads_, 2);
}

}  // namespace

namespace {

TEST(SettingsDialogLifetime, DestroyedWhileOpenStillUnloadsOnce) {
  core::generalsettings s;
  int unloads = 0;
  ui::Default::Hooks h;
  h.onunload = [&] { ++unloads; };
  {
    ui::Default d(s, h);
    d.show();
    EXPECT_EQ(unloads, 0);
  }
  EXPECT_EQ(unloads, 1);
  {
    ui::Default never(s, h);  // never shown: never loaded, nothing to unload
  }
  EXPECT_EQ(unloads, 1);
}

}  // namespace
