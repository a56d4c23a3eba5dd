// The byte-text conversion and the window placement of the Qt library.
#include <QWidget>
#include <gtest/gtest.h>

#include <string>

#include "core/ui/textconv.h"
#include "core/ui/twips.h"

namespace {

TEST(TextConv, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  const QString text = ui::fromansi(all);
  ASSERT_EQ(text.size(), 255);
  EXPECT_EQ(ui::toansi(text), all);
  // the bytes the dosage texts rely on
  EXPECT_EQ(ui::fromansi("\xB5g"), QString::fromUtf8("\u00B5g"));
  EXPECT_EQ(ui::fromansi("\xA0"), QString(QChar(0x00A0)));
  EXPECT_EQ(ui::fromansi("\x80"), QString(QChar(0x20AC)));
  EXPECT_EQ(ui::fromansi("\x96"), QString(QChar(0x2013)));
  EXPECT_EQ(ui::toansi(QString::fromUtf8("5 \u20AC, 2\u00B1")), "5 \x80, 2\xB1");
  EXPECT_EQ(ui::toansi(QString::fromUtf8("\u2019")), "\x92");
}

TEST(TextConv, UnmappableCharactersBecomeOneQuestionMarkEach) {
  EXPECT_EQ(ui::toansi(QString::fromUtf8("a\u4E2Db")), "a?b");
  EXPECT_EQ(ui::toansi(QString::fromUtf8("\u0100")), "?");
  // a character outside the 16-bit range is still one character
  EXPECT_EQ(ui::toansi(QString::fromUtf8("x\U0001F600y")), "x?y");
  // a lone half of such a pair
  EXPECT_EQ(ui::toansi(QString(QChar(0xD800)) + QLatin1Char('z')), "?z");
  // NUL bytes are carried through
  EXPECT_EQ(ui::toansi(ui::fromansi(std::string("a\0b", 3))), std::string("a\0b", 3));
}

TEST(TextConv, LineBreaksBetweenStoredTextsAndTextBoxes) {
  struct Row {
    QString stored, box, back;
  };
  const QString PS(QChar(0x2029));
  for (const Row& r : {Row{"a\r\nb", "a\nb", "a\r\nb"}, Row{"a\rb", "a\nb", "a\r\nb"},
                       Row{"a\nb", "a\nb", "a\r\nb"}, Row{"\r\n\r\rx\n", "\n\n\nx\n", "\r\n\r\n\r\nx\r\n"},
                       Row{"plain", "plain", "plain"}}) {
    EXPECT_EQ(ui::boxtext(r.stored), r.box) << r.stored.toStdString();
    EXPECT_EQ(ui::crlftext(r.box), r.back) << r.stored.toStdString();
  }
  // a text document's raw text breaks paragraphs with U+2029
  EXPECT_EQ(ui::crlftext("a" + PS + "b\nc"), "a\r\nb\r\nc");
  EXPECT_EQ(ui::showntext("\xB1" "5\r\n\rok"), QString::fromUtf8("\u00B15\n\nok"));
}

TEST(CentreForm, PlacesAboveTheMiddleWithoutClamping) {
  ui::setscreensizetwips(15360, 11520);  // 1024 x 768 pixels
  QWidget w;
  w.setFixedSize(300, 200);  // 4500 x 3000 twips
  ui::centreform(w);
  // top: 9792 / 2 - 1500 = 3396 twips; left: 7680 - 2250 = 5430 twips
  EXPECT_EQ(w.pos(), QPoint(ui::px(5430), ui::px(3396)));
  EXPECT_EQ(w.size(), QSize(300, 200));  // only the position changes

  QWidget big;
  big.setFixedSize(1100, 700);  // wider than the screen, taller than 0.85 of it
  ui::centreform(big);
  EXPECT_EQ(big.pos(), QPoint(ui::px(7680 - 8250), ui::px(4896 - 5250)));
  EXPECT_LT(big.x(), 0);
  EXPECT_LT(big.y(), 0);

  // 0.85 of the height rounds half to even: 10 * 0.85 = 8.5 -> 8, half 4
  ui::setscreensizetwips(20, 10);
  QWidget tiny;
  tiny.setFixedSize(0, 0);
  ui::centreform(tiny);
  EXPECT_EQ(tiny.pos(), QPoint(0, 0));
  ui::setscreensizetwips(0, 0);
}

}  // namespace
