// The F1 help window: one window per title, non-modal, holding the text.
#include <QApplication>
#include <QTest>
#include <QScrollBar>
#include <QTextBrowser>
#include <QWidget>
#include <gtest/gtest.h>

#include "core/ui/helpviewer.h"

namespace {

TEST(HelpViewer, OneWindowPerTitle) {
  QWidget owner;
  QWidget* a = ui::showhelp(&owner, "Menu help", "<p>Choose a module.</p>");
  ASSERT_NE(a, nullptr);
  EXPECT_TRUE(a->isVisible());
  EXPECT_TRUE(a->isWindow());
  EXPECT_EQ(a->windowModality(), Qt::NonModal);
  EXPECT_EQ(a->windowTitle(), "Menu help");
  auto* browser = a->findChild<QTextBrowser*>("helpbrowser");
  ASSERT_NE(browser, nullptr);
  EXPECT_EQ(browser->toPlainText(), "Choose a module.");

  EXPECT_EQ(ui::showhelp(&owner, "Menu help", "<p>Choose a module.</p>"), a);
  QWidget* b = ui::showhelp(&owner, "Exercise help", "<p>Type the answer.</p>");
  EXPECT_NE(b, a);
  // a closed window is replaced by a fresh one
  a->close();
  QApplication::processEvents();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QWidget* again = ui::showhelp(&owner, "Menu help", "<p>New text.</p>");
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->findChild<QTextBrowser*>("helpbrowser")->toPlainText(), "New text.");
}

TEST(HelpViewer, F1OpensTheHelp) {
  QWidget window;
  window.resize(200, 100);
  ui::installhelpkey(window, "Logon help", "<p>Enter your ID.</p>");
  window.show();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QTest::keyClick(&window, Qt::Key_F1);
  QWidget* help = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->windowTitle() == "Logon help" && w->isVisible()) help = w;
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->findChild<QTextBrowser*>("helpbrowser")->toPlainText(), "Enter your ID.");
}

TEST(HelpViewer, OpensAtTheSectionAskedForAndMovesToTheWindowThatAsks) {
  QString html = QStringLiteral("<p>Top</p>");
  for (int i = 0; i < 200; ++i) html += QStringLiteral("<p>line</p>");
  html += QStringLiteral("<h3><a name=\"calc\"></a>Calculator</h3>");
  for (int i = 0; i < 200; ++i) html += QStringLiteral("<p>line</p>");
  QWidget first, second;
  first.setGeometry(40, 40, 500, 400);
  second.setGeometry(300, 160, 300, 200);
  first.show();
  second.show();
  QWidget* help = ui::showhelp(&first, "Sections", html);
  EXPECT_EQ(help->parentWidget(), &first);
  auto* browser = help->findChild<QTextBrowser*>("helpbrowser");
  EXPECT_EQ(browser->verticalScrollBar()->value(), 0);
  EXPECT_EQ(ui::showhelp(&second, "Sections", html, "calc"), help);
  EXPECT_EQ(help->parentWidget(), &second);
  EXPECT_TRUE(help->isVisible());
  EXPECT_GT(browser->verticalScrollBar()->value(), 0);
  EXPECT_LE((help->frameGeometry().center() - second.frameGeometry().center()).manhattanLength(), 2);
  help->close();
}

}  // namespace
