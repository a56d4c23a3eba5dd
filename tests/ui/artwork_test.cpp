// The pictures drawn in code: present, not blank, stable, and the rules
// that pick and remember a window's background.
#include <QImage>
#include <QPalette>
#include <QWidget>
#include <gtest/gtest.h>

#include <cstdlib>

#include "core/ui/artwork.h"

namespace {

// True when the picture holds at least two different pixels.
bool drawn(const QPixmap& p) {
  const QImage img = p.toImage();
  const QRgb first = img.pixel(0, 0);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixel(x, y) != first) return true;
  return false;
}

TEST(Artwork, EveryPictureIsDrawnAtItsSize) {
  struct Case {
    const char* name;
    QPixmap pic;
    QSize size;
  };
  const Case cases[] = {
      {"module 0", ui::modulepicture(0), {177, 241}}, {"module 1", ui::modulepicture(1), {177, 241}},
      {"module 2", ui::modulepicture(2), {177, 241}}, {"module 3", ui::modulepicture(3), {177, 241}},
      {"module 4", ui::modulepicture(4), {177, 241}}, {"burette", ui::burettepicture(), {177, 209}},
      {"calculator", ui::calculatoricon(), {32, 32}}, {"tick", ui::correctimage(2), {41, 41}},
      {"star", ui::correctimage(3), {41, 41}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_FALSE(c.pic.isNull());
    EXPECT_EQ(c.pic.size(), c.size);
    EXPECT_TRUE(drawn(c.pic));
  }
  EXPECT_TRUE(drawn(ui::texturedbackground()));
  EXPECT_TRUE(drawn(ui::settingspicture()));
  EXPECT_FALSE(ui::plainbackground().isNull());
  // the five module pictures and the two animation pictures differ
  for (int i = 0; i < 5; ++i)
    for (int j = i + 1; j < 5; ++j) EXPECT_NE(ui::modulepicture(i).toImage(), ui::modulepicture(j).toImage());
  EXPECT_NE(ui::correctimage(2).toImage(), ui::correctimage(3).toImage());
}

TEST(Artwork, TheBuretteDropFallsInsideTheDripChamber) {
  // The drop is 9 x 14 pixels at x 80 with its top running from 56 to 96:
  // all of its path lies on drawn glass, none of it on a chamber wall.
  const QImage img = ui::burettepicture().toImage();
  for (int y = 56; y < 110; ++y)
    for (int x = 80; x < 89; ++x) ASSERT_GT(qAlpha(img.pixel(x, y)), 0) << x << "," << y;
}

TEST(Artwork, TheTabletPictureKeepsItsSubjectClearOfTheDrugLabel) {
  // The exercise window lays the drug label (129 x 97 pixels) over the
  // tablet picture 24 pixels in and 120 down. Drawn pixels are those that
  // stand out from the card's background at the same height (its left
  // inner edge, never drawn on): nearly all of them lie outside the label.
  const QImage img = ui::modulepicture(3).toImage();
  const QRect label(24, 120, 129, 97);
  int inside = 0, outside = 0;
  for (int y = 1; y < img.height() - 1; ++y) {
    const QRgb card = img.pixel(2, y);
    for (int x = 3; x < img.width() - 1; ++x) {
      const QRgb p = img.pixel(x, y);
      const int d = std::abs(qRed(p) - qRed(card)) + std::abs(qGreen(p) - qGreen(card)) + std::abs(qBlue(p) - qBlue(card));
      if (d < 24) continue;
      (label.contains(x, y) ? inside : outside) += 1;
    }
  }
  EXPECT_GT(outside, 5000);
  EXPECT_EQ(inside, 0);
}

TEST(Artwork, PicturesAreCachedAndBackgroundsFollowTheSetting) {
  EXPECT_EQ(ui::texturedbackground().cacheKey(), ui::texturedbackground().cacheKey());
  EXPECT_EQ(ui::modulepicture(3).cacheKey(), ui::modulepicture(3).cacheKey());
  EXPECT_NE(ui::texturedbackground().cacheKey(), ui::plainbackground().cacheKey());
  EXPECT_EQ(ui::backgroundfor(1).cacheKey(), ui::texturedbackground().cacheKey());
  for (int v : {0, -1, 2, 32767})
    EXPECT_EQ(ui::backgroundfor(v).cacheKey(), ui::plainbackground().cacheKey()) << v;
  // an index out of range still gives a picture
  EXPECT_FALSE(ui::modulepicture(9).isNull());

  QWidget a, b;
  EXPECT_TRUE(ui::backgroundof(a).isNull());
  ui::setbackground(a, ui::backgroundfor(1));
  EXPECT_TRUE(a.autoFillBackground());
  EXPECT_EQ(a.palette().brush(QPalette::Window).texture().cacheKey(), ui::texturedbackground().cacheKey());
  ui::setbackground(b, ui::backgroundof(a));  // one window takes another's picture
  EXPECT_EQ(ui::backgroundof(b).cacheKey(), ui::texturedbackground().cacheKey());
  ui::setbackground(a, ui::backgroundfor(0));
  EXPECT_EQ(ui::backgroundof(a).cacheKey(), ui::plainbackground().cacheKey());
  EXPECT_EQ(ui::backgroundof(b).cacheKey(), ui::texturedbackground().cacheKey());

  // taking the picture of a window that has none leaves the ordinary colour
  QWidget none;
  ui::setbackground(b, ui::backgroundof(none));
  EXPECT_TRUE(ui::backgroundof(b).isNull());
  EXPECT_EQ(b.palette().brush(QPalette::Window).style(), Qt::SolidPattern);
}

}  // namespace
