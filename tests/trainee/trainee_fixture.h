// A fresh run of dosavo in a temporary data folder, with message boxes and
// modal windows captured instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <QMessageBox>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include <unistd.h>

#include "core/files.h"
#include "core/testfile.h"
#include "core/text.h"
#include "core/ui/messages.h"
#include "core/ui/textconv.h"
#include "trainee/app.h"

namespace traineetest {

struct Box {
  std::string title, text;
};

class TraineeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    folder = std::filesystem::temp_directory_path() /
             ("dosavo_test_" + std::to_string(::getpid()) + "_" + std::to_string(++serial));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    core::setworkdir(folder);
    ui::setmessagehook([this](const QString& title, const QString& text, QMessageBox::Icon) {
      boxes.push_back({ui::toansi(title), ui::toansi(text)});
    });
    ui::setmodalhook([this](QDialog& d) {
      ++modals;
      if (onmodal) onmodal(d);
    });
    app = std::make_unique<trainee::Dosavo>();
    app->endprogram = [this] { ++ends; };
  }
  void TearDown() override {
    app.reset();
    ui::setmessagehook(nullptr);
    ui::setmodalhook(nullptr);
    core::setworkdir({});
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }

  // Writes a file of the data folder byte for byte.
  void write(const std::string& name, const std::string& bytes) {
    std::ofstream out(folder / name, std::ios::binary);
    out << bytes;
  }
  std::string read(const std::string& name) {
    std::ifstream in(folder / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  // A test file whose header has the given title, description and answer
  // field.
  void writetest(const std::string& name, const std::string& title, const std::string& description,
                 const std::string& answer, int questions = 0) {
    core::testrecord h;
    h.question = core::fixwidth(title, core::TEST_QUESTION_WIDTH);
    h.help = core::fixwidth(core::fixwidth(description, 200) + "Instructions", core::TEST_HELP_WIDTH);
    h.answer = core::fixwidth(answer, core::TEST_ANSWER_WIDTH);
    std::string bytes = h.encode();
    for (int q = 0; q < questions; ++q)
      bytes += core::testrecord::item("Question", "Help", "1").encode();
    write(name, bytes);
  }
  // Index and category files: two solid drugs, one fluid drug, categories.
  void writedruglists(const std::string& solid, const std::string& fluid, const std::string& categories) {
    write("vqdbs1.idx", solid);
    write("vqdbs2.idx", fluid);
    write("vqcat.idx", categories);
  }
  std::vector<std::string> texts() const {
    std::vector<std::string> out;
    for (const auto& b : boxes) out.push_back(b.text);
    return out;
  }

  std::filesystem::path folder;
  std::unique_ptr<trainee::Dosavo> app;
  std::vector<Box> boxes;
  int modals = 0;
  int ends = 0;
  std::function<void(QDialog&)> onmodal;
};

// Category file line: the name in quotes padded to 20, then the number.
inline std::string catline(const std::string& name, int number) {
  return "\"" + core::fixwidth(name, 20) + "\"," + std::to_string(number) + "\r\n";
}

}  // namespace traineetest
