// What the help window shows a reader: whether the section with a given
// heading is the one in view, its heading at the top of the page.
#pragma once

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace helptest {

inline ::testing::AssertionResult showssection(QWidget* help, const QString& heading) {
  if (help == nullptr) return ::testing::AssertionFailure() << "no help window";
  auto* browser = help->findChild<QTextBrowser*>(QStringLiteral("helpbrowser"));
  if (browser == nullptr) return ::testing::AssertionFailure() << "no help text";
  const QScrollBar* bar = browser->verticalScrollBar();
  const int top = bar->value();
  const int bottom = top + browser->viewport()->height();
  QTextDocument* doc = browser->document();
  QString attop;  // the section the first line in view belongs to
  for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
    if (b.blockFormat().headingLevel() == 0) continue;
    const int y = qRound(doc->documentLayout()->blockBoundingRect(b).top());
    if (y <= top + 2) attop = b.text();
    if (b.text() != heading) continue;
    if (y >= top - 2 && y <= top + 2 && y < bottom) return ::testing::AssertionSuccess();
  }
  if (attop.isEmpty()) attop = QStringLiteral("the top of the page");
  return ::testing::AssertionFailure() << "the help shows \"" << attop.toStdString() << "\", not \""
                                       << heading.toStdString() << "\"";
}

}  // namespace helptest
