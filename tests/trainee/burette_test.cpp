// The burette: drip intervals, the scroll bar that sets the drip only while
// dragged, the falling drop, the one-minute counter and testforivon. The
// timers are driven by calling their handlers.
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "trainee/burette.h"

namespace {

using trainee::Burette;

class BuretteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.resize(620, 440);
    b = new Burette(&window);
    image1 = new QLabel(&window);
  }
  QWidget window;
  Burette* b = nullptr;
  QLabel* image1 = nullptr;
};

TEST_F(BuretteTest, ControlsAtTheirDesignValues) {
  EXPECT_TRUE(b->IVpan->isHidden());
  EXPECT_EQ(b->IVpan->parentWidget(), &window);
  EXPECT_EQ(b->IVpan->geometry(), QRect(424, 32, 177, 209));  // 6360, 480, 2655 x 3135 twips
  EXPECT_EQ(b->IVpancaption->text(), "IV Burette");
  EXPECT_EQ(b->IVpan->frameShadow(), QFrame::Raised);
  EXPECT_FALSE(b->imgburette->pixmap().isNull());
  EXPECT_EQ(b->Shpdrip->parentWidget(), b->IVpan);
  EXPECT_EQ(b->Shpdrip->geometry(), QRect(80, 56, 9, 14));  // 1200, 840, 135 x 210
  EXPECT_EQ(b->Lblclock->text(), "Time: ");
  EXPECT_EQ(b->scriv->orientation(), Qt::Horizontal);
  EXPECT_EQ(b->scriv->minimum(), 1);
  EXPECT_EQ(b->scriv->maximum(), 120);
  EXPECT_EQ(b->scriv->value(), 1);
  EXPECT_TRUE(b->scriv->isHidden());
  EXPECT_EQ(b->scriv->parentWidget(), b->IVpan);
  EXPECT_EQ(b->frmivcount->title(), "Counter");
  EXPECT_EQ(b->frmivcount->geometry(), QRect(424, 248, 177, 49));  // 6360, 3720, 2655 x 735
  EXPECT_TRUE(b->frmivcount->isHidden());
  EXPECT_EQ(b->Lblivcounttime->text(), "Time:");
  EXPECT_EQ(b->Lblivcount->text(), "Drops:");
  EXPECT_EQ(b->tmrdrip->interval(), 1);
  EXPECT_FALSE(b->tmrdrip->isActive());
  EXPECT_EQ(b->tmrclock->interval(), 1000);
  EXPECT_FALSE(b->tmrclock->isActive());
  EXPECT_FALSE(b->counting);
  EXPECT_EQ(b->drops, 0);
  EXPECT_EQ(b->secs, -1);
}

TEST_F(BuretteTest, DripIntervalRule) {
  EXPECT_EQ(Burette::dripinterval(44), 1363);
  EXPECT_EQ(Burette::dripinterval(50), 1200);
  EXPECT_EQ(Burette::dripinterval(60), 1000);
  EXPECT_EQ(Burette::dripinterval(120), 500);
  EXPECT_EQ(Burette::dripinterval(30), 2000);
  EXPECT_EQ(Burette::dripinterval(20), 3000);
  EXPECT_EQ(Burette::dripinterval(68), 882);
  EXPECT_EQ(Burette::dripinterval(1), 60000);
  // No rate to drip at.
  EXPECT_EQ(Burette::dripinterval(0), 0);
  EXPECT_EQ(Burette::dripinterval(0.5), 0);
  EXPECT_EQ(Burette::dripinterval(-10), 0);
  EXPECT_EQ(Burette::dripinterval(std::nan("")), 0);
  EXPECT_EQ(Burette::dripinterval(std::numeric_limits<double>::infinity()), 1);

  b->setdriprate(44);
  EXPECT_EQ(b->tmrdrip->interval(), 1363);
  EXPECT_FALSE(b->tmrdrip->isActive());  // setting the rate does not start it
  b->tmrdrip->start();
  b->setdriprate(120);
  EXPECT_EQ(b->tmrdrip->interval(), 500);
  EXPECT_TRUE(b->tmrdrip->isActive());
}

// A drop-rate answer of 0: the burette stands still, nothing divides by zero.
TEST_F(BuretteTest, RateZeroLeavesTheBuretteStill) {
  b->setdriprate(60);
  b->tmrdrip->start();
  b->setdriprate(0);
  EXPECT_FALSE(b->tmrdrip->isActive());
  EXPECT_FALSE(b->hasrate);
  b->runtimers();
  EXPECT_FALSE(b->tmrdrip->isActive());
  EXPECT_TRUE(b->tmrclock->isActive());

  b->stop();
  b->scriv->setValue(0);
  EXPECT_EQ(b->scriv->value(), 1);
  b->testforivon(true, true, false, 0.0, image1);
  EXPECT_FALSE(b->IVpan->isHidden());
  EXPECT_TRUE(image1->isHidden());
  EXPECT_FALSE(b->tmrdrip->isActive());
  EXPECT_TRUE(b->tmrclock->isActive());
  EXPECT_EQ(b->scriv->value(), 1);
  // The next question with a rate drips again.
  b->testforivon(true, true, false, 30.0, image1);
  EXPECT_TRUE(b->hasrate);
  EXPECT_TRUE(b->tmrdrip->isActive());
  EXPECT_EQ(b->tmrdrip->interval(), 2000);
}

// However the scroll bar moves (its box dragged, an arrow or the track
// clicked, a key pressed), the drip follows its value; a value set while the
// bar is hidden (the drop-rate module sets it to the answer) leaves the drip.
TEST_F(BuretteTest, TheDripFollowsTheScrollBarHoweverItMoves) {
  b->scriv->setValue(50);
  b->setdriprate(b->scriv->value());
  b->tmrdrip->start();
  b->scriv->setValue(30);
  EXPECT_EQ(b->tmrdrip->interval(), 1200);

  window.show();
  b->IVpan->show();
  b->scriv->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const struct {
    const char* how;
    std::function<void()> move;
    int value;
  } rows[] = {
      {"drag", [this] { b->scriv->setSliderDown(true); b->scriv->setSliderPosition(40); b->scriv->setSliderDown(false); }, 40},
      {"arrow", [this] { b->scriv->triggerAction(QAbstractSlider::SliderSingleStepAdd); }, 41},
      {"track", [this] { b->scriv->triggerAction(QAbstractSlider::SliderPageStepSub); }, 31},
      {"key", [this] { QTest::keyClick(b->scriv, Qt::Key_Left); }, 30},
      {"page key", [this] { QTest::keyClick(b->scriv, Qt::Key_PageUp); }, 40},
      {"click", [this] { QTest::mouseClick(b->scriv, Qt::LeftButton, {}, QPoint(b->scriv->width() - 3, b->scriv->height() / 2)); }, 41},
  };
  for (const auto& row : rows) {
    row.move();
    EXPECT_EQ(b->scriv->value(), row.value) << row.how;
    EXPECT_EQ(b->tmrdrip->interval(), Burette::dripinterval(row.value)) << row.how;
    EXPECT_TRUE(b->tmrdrip->isActive()) << row.how;
  }

  // A real drag of the box with the mouse.
  QStyleOptionSlider option;
  option.initFrom(b->scriv);
  option.orientation = Qt::Horizontal;
  option.minimum = b->scriv->minimum();
  option.maximum = b->scriv->maximum();
  option.sliderPosition = b->scriv->sliderPosition();
  option.sliderValue = b->scriv->value();
  option.singleStep = b->scriv->singleStep();
  option.pageStep = b->scriv->pageStep();
  const QRect handle =
      b->scriv->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, b->scriv);
  const int before = b->scriv->value();
  QTest::mousePress(b->scriv, Qt::LeftButton, {}, handle.center());
  QTest::mouseMove(b->scriv, handle.center() + QPoint(30, 0));
  QTest::mouseRelease(b->scriv, Qt::LeftButton, {}, handle.center() + QPoint(30, 0));
  ASSERT_GT(b->scriv->value(), before);
  EXPECT_EQ(b->tmrdrip->interval(), Burette::dripinterval(b->scriv->value()));
  b->stop();
}

TEST_F(BuretteTest, ScrollHandlerRestartsTheDrip) {
  b->scriv->setValue(120);
  b->scriv_Scroll();
  EXPECT_EQ(b->tmrdrip->interval(), 500);
  EXPECT_TRUE(b->tmrdrip->isActive());
  b->scriv->setValue(1);
  b->scriv_Scroll();
  EXPECT_EQ(b->tmrdrip->interval(), 60000);
  b->stop();
}

TEST_F(BuretteTest, OneDropFallsPerTick) {
  b->setdriprate(60);
  b->tmrdrip_Timer();
  EXPECT_FALSE(b->Shpdrip->isHidden());
  EXPECT_EQ(b->droptop, 840);
  // The fall is paced by its own timer and does not hold up the window.
  EXPECT_TRUE(b->tmrdropstep->isActive());
  EXPECT_EQ(b->tmrdropstep->interval(), 400 / 31);
  // Thirty positions, 860 to 1440, each shown.
  for (int i = 1; i <= 30; ++i) {
    b->dropstep();
    EXPECT_EQ(b->droptop, 840 + 20 * i);
    EXPECT_FALSE(b->Shpdrip->isHidden());
  }
  EXPECT_EQ(b->Shpdrip->y(), 1440 / 15);
  EXPECT_TRUE(b->tmrdropstep->isActive());
  b->dropstep();  // then the drop is gone
  EXPECT_EQ(b->droptop, 1440);
  EXPECT_TRUE(b->Shpdrip->isHidden());
  EXPECT_FALSE(b->tmrdropstep->isActive());

  // A tick while a drop falls starts a new drop at the top.
  b->dripanim();
  b->dropstep();
  b->dropstep();
  EXPECT_EQ(b->droptop, 880);
  b->dripanim();
  EXPECT_EQ(b->droptop, 840);
  EXPECT_EQ(b->Shpdrip->y(), 56);
  b->finishdrop();
  EXPECT_TRUE(b->Shpdrip->isHidden());
  EXPECT_EQ(b->droptop, 1440);

  // A fast drip falls within its tick.
  b->setdriprate(500);
  b->dripanim();
  EXPECT_EQ(b->tmrdropstep->interval(), 120 / 31);
  b->stop();
  EXPECT_TRUE(b->Shpdrip->isHidden());
  EXPECT_FALSE(b->tmrdropstep->isActive());
}

TEST_F(BuretteTest, CounterFirstDropAndFreeze) {
  b->ivcount();
  EXPECT_FALSE(b->frmivcount->isHidden());
  EXPECT_TRUE(b->counting);
  EXPECT_EQ(b->drops, 0);
  EXPECT_EQ(b->secs, -1);

  b->tmrdrip_Timer();
  EXPECT_EQ(b->lblc->text(), "1");
  EXPECT_EQ(b->secs, 0);
  b->tmrclock_Timer();
  EXPECT_EQ(b->Lblct->text(), "1");
  // One drop and one second at a time up to the sixtieth second.
  for (int s = 2; s <= 60; ++s) {
    b->tmrdrip_Timer();
    b->tmrclock_Timer();
  }
  EXPECT_EQ(b->Lblct->text(), "60");
  b->tmrdrip_Timer();
  EXPECT_EQ(b->lblc->text(), "61");
  // The sixty-first second freezes both displays.
  b->tmrclock_Timer();
  EXPECT_EQ(b->secs, 61);
  EXPECT_EQ(b->Lblct->text(), "60");
  b->tmrdrip_Timer();
  b->tmrclock_Timer();
  EXPECT_EQ(b->lblc->text(), "61");
  EXPECT_EQ(b->Lblct->text(), "60");
  // Counting goes on unseen.
  EXPECT_EQ(b->drops, 62);
  EXPECT_EQ(b->secs, 62);

  // Hiding the counter stops it.
  b->ivcount();
  EXPECT_TRUE(b->frmivcount->isHidden());
  EXPECT_FALSE(b->counting);
  EXPECT_EQ(b->drops, 0);
  EXPECT_EQ(b->secs, -1);
  b->tmrdrip_Timer();
  b->tmrclock_Timer();
  EXPECT_EQ(b->drops, 0);
  EXPECT_EQ(b->secs, -1);

  // Shown again, the displays start empty.
  b->ivcount();
  EXPECT_EQ(b->lblc->text(), "");
  EXPECT_EQ(b->Lblct->text(), "");
}

TEST_F(BuretteTest, ClockTicksBeforeTheFirstDrop) {
  b->ivcount();
  b->tmrclock_Timer();
  EXPECT_EQ(b->Lblct->text(), "0");
  b->tmrclock_Timer();
  EXPECT_EQ(b->Lblct->text(), "1");
  b->tmrclock_Timer();
  EXPECT_EQ(b->Lblct->text(), "2");
  // The first drop starts the minute again; the display changes at the next tick.
  b->tmrdrip_Timer();
  EXPECT_EQ(b->secs, 0);
  EXPECT_EQ(b->lblc->text(), "1");
  EXPECT_EQ(b->Lblct->text(), "2");
  b->tmrclock_Timer();
  EXPECT_EQ(b->Lblct->text(), "1");
  b->tmrdrip_Timer();
  EXPECT_EQ(b->secs, 1);  // only the first drop restarts it
  EXPECT_EQ(b->lblc->text(), "2");
}

TEST_F(BuretteTest, CountsStopAtTheLargest16BitValue) {
  b->ivcount();
  b->tmrdrip_Timer();
  b->drops = 32766;
  b->tmrdrip_Timer();
  b->tmrdrip_Timer();
  EXPECT_EQ(b->drops, 32767);
  b->secs = 32766;
  b->tmrclock_Timer();
  b->tmrclock_Timer();
  EXPECT_EQ(b->secs, 32767);
}

TEST_F(BuretteTest, ClockShowsTheTimeOfDay) {
  b->tmrclock_Timer();
  const QString shown = b->Lblclock->text();
  EXPECT_NE(shown, "Time: ");
  EXPECT_FALSE(shown.isEmpty());
  EXPECT_TRUE(shown.contains(QLatin1Char(':')) || shown.contains(QLatin1Char('.'))) << shown.toStdString();
  EXPECT_FALSE(b->counting);
  EXPECT_EQ(b->secs, -1);
}

TEST_F(BuretteTest, TestForIvOn) {
  // Not a burette module: nothing changes.
  b->testforivon(false, true, true, 44, image1);
  EXPECT_TRUE(b->IVpan->isHidden());
  EXPECT_FALSE(image1->isHidden());
  EXPECT_FALSE(b->tmrdrip->isActive());

  // Dripping at the right rate.
  b->scriv->show();
  b->Lblclock->hide();
  b->testforivon(true, true, false, 44, image1);
  EXPECT_FALSE(b->IVpan->isHidden());
  EXPECT_TRUE(image1->isHidden());
  EXPECT_EQ(b->tmrdrip->interval(), 1363);
  EXPECT_FALSE(b->Lblclock->isHidden());
  EXPECT_TRUE(b->scriv->isHidden());
  EXPECT_TRUE(b->tmrdrip->isActive());
  EXPECT_TRUE(b->tmrclock->isActive());

  // Modules 1 and 2 between answers: unchanged.
  b->setdriprate(50);
  b->testforivon(true, false, true, 44, image1);
  EXPECT_FALSE(b->IVpan->isHidden());
  EXPECT_EQ(b->tmrdrip->interval(), 1200);
  EXPECT_TRUE(b->tmrdrip->isActive());
  EXPECT_TRUE(b->tmrclock->isActive());
  EXPECT_TRUE(image1->isHidden());

  // Module 3 between answers: the module picture again.
  b->testforivon(true, false, false, 44, image1);
  EXPECT_FALSE(image1->isHidden());
  EXPECT_TRUE(b->IVpan->isHidden());
  EXPECT_TRUE(b->Lblclock->isHidden());
  EXPECT_FALSE(b->tmrdrip->isActive());
  EXPECT_FALSE(b->tmrclock->isActive());

  // No module picture given: still sound.
  b->testforivon(true, true, false, 60, nullptr);
  EXPECT_EQ(b->tmrdrip->interval(), 1000);
  b->stop();
  EXPECT_FALSE(b->tmrdrip->isActive());
  EXPECT_FALSE(b->tmrclock->isActive());
}

}  // namespace
