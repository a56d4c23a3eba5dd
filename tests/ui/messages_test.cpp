// Message boxes as the window system shows them: wide enough for the title.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include "core/ui/messages.h"

namespace {

TEST(MessageBox, IsWideEnoughForItsTitle) {
  struct Row {
    const char* title;
    const char* text;
  };
  const Row rows[] = {{"Quizwright", "Illegal file name"},
                      {"Dosavo", "OK"},
                      {"Warning!", "x"},
                      {"Quizwright", "The file name that you entered was illegal. The file was not saved."}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    int width = 0;
    QString shown;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      width = box->width();
      shown = box->text();
      box->accept();
    });
    ui::showbox(nullptr, QString::fromLatin1(row.text), QString::fromLatin1(row.title));
    EXPECT_EQ(shown, row.text);
    EXPECT_GE(width, ui::titlewidth(QString::fromLatin1(row.title)));
  }
}

}  // namespace
