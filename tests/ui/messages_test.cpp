// Message boxes as the window system shows them: wide enough for the title.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include "core/ui/messages.h"

namespace {

TEST(MessageBox, IsWideEnoughForItsTitle) {
  const std::pair<QString, QString> rows[] = {{"Quizwright", "Illegal file name"}, {"Warning!", "x"}};
  for (const auto& [title, text] : rows) {
    int width = 0;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      width = box->width();
      box->accept();
    });
    ui::showbox(nullptr, text, title);
    EXPECT_GE(width, ui::titlewidth(title)) << title.toStdString();
  }
}

}  // namespace
