// A fresh run of quizwright in a temporary data folder, with message boxes
// and modal windows captured instead of shown.
#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <QMessageBox>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>
#include <unistd.h>

#include "authoring/app.h"
#include "core/filefaults.h"
#include "core/files.h"
#include "core/text.h"
#include "core/ui/messages.h"
#include "core/ui/textconv.h"

namespace tooltest {

class ToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    folder = std::filesystem::temp_directory_path() /
             ("quizwright_test_" + std::to_string(::getpid()) + "_" + std::to_string(++serial));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    core::setworkdir(folder);
    ui::setmessagehook([this](const QString& title, const QString& text, QMessageBox::Icon) {
      boxes.push_back(ui::toansi(title) + ": " + ui::toansi(text));
    });
    ui::setmodalhook([this](QDialog& d) {
      if (onmodal) onmodal(d);
    });
    app = std::make_unique<authoring::Quizwright>();
    app->endprogram = [this] { ++ends; };
  }
  void TearDown() override {
    app.reset();
    ui::setmessagehook(nullptr);
    ui::setmodalhook(nullptr);
    core::failwholewritesafter(std::nullopt);
    core::setworkdir({});
    std::error_code ec;
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(folder, ec);
  }

  void write(const std::string& name, const std::string& bytes) {
    std::ofstream(folder / name, std::ios::binary) << bytes;
  }
  std::string read(const std::string& name) {
    std::ifstream in(folder / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  // Two categories and one drug in each list.
  void writedruglists() {
    write("vqdbs1.idx", "1\r\n1,1\r\n");
    write("vqdbs2.idx", "1\r\n2,2\r\n");
    write("vqcat.idx", "2\r\n\"" + core::fixwidth("Antibiotics", 20) + "\",1\r\n\"" +
                           core::fixwidth("Analgesics", 20) + "\",2\r\n");
  }

  std::filesystem::path folder;
  std::unique_ptr<authoring::Quizwright> app;
  std::vector<std::string> boxes;
  int ends = 0;
  std::function<void(QDialog&)> onmodal;
};

}  // namespace tooltest
