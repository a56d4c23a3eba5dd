#include "core/ui/artwork.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPolygonF>
#include <QRadialGradient>
#include <QVariant>
#include <QWidget>
#include <cmath>
#include <cstdint>
#include <functional>

namespace ui {
namespace {

// Every picture is drawn once and then handed out as a shared copy, so all
// copies of one picture carry the same cacheKey(). The pixmaps are never
// freed: they must outlive every window, and freeing them after the
// application object has gone is not safe.
const QPixmap& cached(QPixmap*& slot, const std::function<QPixmap()>& draw) {
  if (slot == nullptr) slot = new QPixmap(draw());
  return *slot;
}

// A small fixed pseudo-random sequence, so the texture is the same on every
// run and every machine.
struct Lcg {
  std::uint32_t state;
  std::uint32_t next() {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  }
  int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }
};

QPixmap blank(int w, int h, const QColor& fill = Qt::transparent) {
  QPixmap p(w, h);
  p.fill(fill);
  return p;
}

void prepare(QPainter& g) {
  g.setRenderHint(QPainter::Antialiasing, true);
  g.setRenderHint(QPainter::TextAntialiasing, true);
}

// A soft frame around a picture card, so every picture sits on its own
// light panel.
void card(QPainter& g, int w, int h, const QColor& top, const QColor& bottom) {
  QLinearGradient bg(0, 0, 0, h);
  bg.setColorAt(0, top);
  bg.setColorAt(1, bottom);
  g.fillRect(0, 0, w, h, bg);
  g.setPen(QPen(QColor(150, 150, 160), 1));
  g.setBrush(Qt::NoBrush);
  g.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
}

QFont smallfont(int pixels, bool bold = false) {
  QFont f(QStringLiteral("Sans Serif"));
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

// ---- backgrounds -----------------------------------------------------------

QPixmap drawtextured() {
  // A light linen weave: fine warp and weft threads over a warm paper tone,
  // with a sprinkle of darker and lighter fibres.
  const int n = 96;
  QImage img(n, n, QImage::Format_RGB32);
  Lcg rnd{12345u};
  const QColor base(236, 230, 214);
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      int shade = rnd.below(9) - 4;
      if (y % 3 == 0) shade -= 5;   // weft threads
      if (x % 4 == 1) shade -= 3;   // warp threads
      if ((x + y) % 7 == 0) shade += 2;
      img.setPixel(x, y, qRgb(qBound(0, base.red() + shade, 255), qBound(0, base.green() + shade, 255),
                              qBound(0, base.blue() + shade - 1, 255)));
    }
  }
  QPixmap p = QPixmap::fromImage(img);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing, true);
  for (int i = 0; i < 40; ++i) {
    const int x = rnd.below(n), y = rnd.below(n), len = 3 + rnd.below(7);
    const bool dark = rnd.below(2) == 0;
    g.setPen(QPen(dark ? QColor(200, 190, 168, 110) : QColor(250, 247, 238, 140), 1));
    if (rnd.below(2) == 0) {
      g.drawLine(x, y, std::min(n - 1, x + len), y);
    } else {
      g.drawLine(x, y, x, std::min(n - 1, y + len));
    }
  }
  return p;
}

QPixmap drawplain() { return blank(64, 64, QColor(232, 232, 226)); }

// ---- module pictures ---------------------------------------------------------

constexpr int MW = 177, MH = 241;

// 0: an infusion bag on its hook, the drip chamber, the line and the clamp.
QPixmap drawivbag() {
  QPixmap p = blank(MW, MH);
  QPainter g(&p);
  prepare(g);
  card(g, MW, MH, QColor(236, 244, 252), QColor(210, 226, 242));
  // stand and hook
  g.setPen(QPen(QColor(110, 110, 120), 3));
  g.drawLine(30, 8, 150, 8);
  g.drawLine(88, 8, 88, 18);
  g.setPen(QPen(QColor(110, 110, 120), 2));
  g.drawArc(QRectF(82, 14, 12, 12), 0, -180 * 16);
  // bag
  QPainterPath bag;
  bag.moveTo(55, 30);
  bag.lineTo(121, 30);
  bag.quadTo(130, 30, 130, 42);
  bag.lineTo(128, 108);
  bag.quadTo(126, 122, 104, 126);
  bag.lineTo(72, 126);
  bag.quadTo(50, 122, 48, 108);
  bag.lineTo(46, 42);
  bag.quadTo(46, 30, 55, 30);
  g.setPen(QPen(QColor(90, 120, 150), 1.5));
  g.setBrush(QColor(250, 252, 255, 230));
  g.drawPath(bag);
  // fluid in the bag
  g.save();
  g.setClipPath(bag);
  QLinearGradient fl(0, 60, 0, 126);
  fl.setColorAt(0, QColor(170, 210, 245));
  fl.setColorAt(1, QColor(110, 170, 230));
  g.fillRect(QRectF(40, 60, 100, 70), fl);
  g.restore();
  g.setBrush(Qt::NoBrush);
  g.drawPath(bag);
  // label on the bag
  g.setPen(QPen(QColor(60, 90, 130), 1));
  g.setBrush(Qt::white);
  g.drawRect(QRectF(62, 40, 52, 18));
  g.setFont(smallfont(9, true));
  g.setPen(QColor(20, 60, 120));
  g.drawText(QRectF(62, 40, 52, 18), Qt::AlignCenter, QStringLiteral("1000 mL"));
  // graduation marks
  g.setPen(QPen(QColor(60, 90, 130), 1));
  for (int i = 0; i < 5; ++i) {
    const int y = 66 + i * 11;
    g.drawLine(52, y, i % 2 == 0 ? 62 : 58, y);
  }
  // neck and spike
  g.setBrush(QColor(220, 225, 232));
  g.drawRect(QRectF(83, 126, 10, 10));
  // drip chamber
  QRectF chamber(76, 136, 24, 40);
  QLinearGradient cg(76, 0, 100, 0);
  cg.setColorAt(0, QColor(210, 225, 240));
  cg.setColorAt(0.5, QColor(250, 252, 255));
  cg.setColorAt(1, QColor(200, 218, 236));
  g.setBrush(cg);
  g.setPen(QPen(QColor(90, 120, 150), 1.2));
  g.drawRoundedRect(chamber, 5, 5);
  g.setBrush(QColor(120, 175, 230));
  g.setPen(Qt::NoPen);
  g.drawRoundedRect(QRectF(77, 162, 22, 13), 4, 4);
  // falling drop
  QPainterPath drop;
  drop.moveTo(88, 144);
  drop.cubicTo(92, 150, 92, 154, 88, 155);
  drop.cubicTo(84, 154, 84, 150, 88, 144);
  g.setBrush(QColor(70, 140, 215));
  g.drawPath(drop);
  // line and roller clamp
  g.setPen(QPen(QColor(140, 170, 200), 3));
  g.setBrush(Qt::NoBrush);
  QPainterPath line;
  line.moveTo(88, 176);
  line.cubicTo(88, 200, 60, 205, 62, 232);
  g.drawPath(line);
  g.setPen(QPen(QColor(70, 70, 80), 1));
  g.setBrush(QColor(90, 150, 90));
  g.drawRoundedRect(QRectF(78, 192, 20, 14), 3, 3);
  g.setBrush(QColor(240, 240, 240));
  g.drawEllipse(QRectF(84, 195, 8, 8));
  return p;
}

// 1: a measuring cylinder and a metric ruler, with the unit names.
QPixmap drawmetric() {
  QPixmap p = blank(MW, MH);
  QPainter g(&p);
  prepare(g);
  card(g, MW, MH, QColor(248, 246, 236), QColor(230, 226, 206));
  // measuring cylinder
  QRectF body(28, 30, 52, 176);
  QLinearGradient glass(28, 0, 80, 0);
  glass.setColorAt(0, QColor(215, 228, 238));
  glass.setColorAt(0.45, QColor(252, 253, 255));
  glass.setColorAt(1, QColor(205, 220, 232));
  g.setPen(QPen(QColor(90, 110, 130), 1.5));
  g.setBrush(glass);
  g.drawRect(body);
  // spout and foot
  g.drawLine(QPointF(28, 30), QPointF(22, 24));
  g.setBrush(QColor(90, 110, 130));
  g.drawRoundedRect(QRectF(18, 206, 72, 10), 3, 3);
  // liquid
  QLinearGradient liq(0, 100, 0, 206);
  liq.setColorAt(0, QColor(150, 200, 120));
  liq.setColorAt(1, QColor(90, 160, 80));
  g.setPen(Qt::NoPen);
  g.setBrush(liq);
  g.drawRect(QRectF(29.5, 100, 49, 105.5));
  g.setPen(QPen(QColor(70, 130, 60), 1));
  g.drawArc(QRectF(29.5, 96, 49, 8), 180 * 16, 180 * 16);
  // graduations in mL
  g.setFont(smallfont(8));
  for (int i = 0; i <= 10; ++i) {
    const double y = 196 - i * 16;
    g.setPen(QPen(QColor(40, 50, 70), 1));
    g.drawLine(QPointF(30, y), QPointF(i % 2 == 0 ? 46 : 40, y));
    if (i % 2 == 0 && i > 0) g.drawText(QPointF(49, y + 3), QString::number(i * 10));
  }
  g.setFont(smallfont(10, true));
  g.setPen(QColor(40, 50, 70));
  g.drawText(QRectF(28, 12, 52, 14), Qt::AlignCenter, QStringLiteral("mL"));
  // ruler
  g.save();
  g.translate(134, 24);
  QRectF ruler(-16, 0, 32, 188);
  g.setPen(QPen(QColor(140, 110, 40), 1.2));
  g.setBrush(QColor(244, 214, 120));
  g.drawRect(ruler);
  g.setPen(QPen(QColor(60, 45, 10), 1));
  g.setFont(smallfont(8));
  for (int mm = 0; mm <= 90; ++mm) {
    const double y = 4 + mm * 2;
    const int len = mm % 10 == 0 ? 12 : (mm % 5 == 0 ? 8 : 4);
    g.drawLine(QPointF(-16, y), QPointF(-16 + len, y));
    if (mm % 10 == 0 && mm > 0) g.drawText(QPointF(-1, y + 3), QString::number(mm / 10));
  }
  g.restore();
  g.setFont(smallfont(10, true));
  g.setPen(QColor(80, 60, 10));
  g.drawText(QRectF(112, 212, 44, 14), Qt::AlignCenter, QStringLiteral("cm"));
  // unit prefixes along the bottom
  g.setFont(smallfont(9, true));
  g.setPen(QColor(30, 70, 40));
  g.drawText(QRectF(4, 222, MW - 8, 16), Qt::AlignCenter, QStringLiteral("kg  g  mg  \u00b5g  L  mL"));
  return p;
}

// 2: a marked test paper with ticks and a pencil.
QPixmap drawtestpaper() {
  QPixmap p = blank(MW, MH);
  QPainter g(&p);
  prepare(g);
  card(g, MW, MH, QColor(236, 240, 236), QColor(214, 222, 214));
  // shadow and sheet
  g.setPen(Qt::NoPen);
  g.setBrush(QColor(0, 0, 0, 40));
  g.drawRect(QRectF(26, 18, 130, 206));
  g.setBrush(QColor(255, 255, 252));
  g.setPen(QPen(QColor(150, 150, 150), 1));
  g.drawRect(QRectF(20, 12, 130, 206));
  // margin and heading
  g.setPen(QPen(QColor(230, 120, 120), 1));
  g.drawLine(QPointF(40, 12), QPointF(40, 218));
  g.setPen(QColor(30, 40, 90));
  g.setFont(smallfont(11, true));
  g.drawText(QRectF(44, 16, 100, 16), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("TEST"));
  g.setPen(QPen(QColor(30, 40, 90), 1));
  g.drawLine(QPointF(84, 28), QPointF(140, 28));
  // question lines with ticks (one cross)
  for (int i = 0; i < 7; ++i) {
    const double y = 48 + i * 24;
    g.setPen(QPen(QColor(170, 190, 220), 1));
    g.drawLine(QPointF(44, y + 8), QPointF(144, y + 8));
    g.setPen(QPen(QColor(60, 60, 80), 1));
    g.setFont(smallfont(8));
    g.drawText(QPointF(44, y + 5), QString::number(i + 1) + QLatin1Char('.'));
    // scribbled working
    QPainterPath w;
    w.moveTo(58, y + 4);
    for (int k = 0; k < 6; ++k) w.quadTo(62 + k * 8, y - 1 + (k % 2) * 6, 66 + k * 8, y + 4);
    g.drawPath(w);
    if (i == 4) {
      g.setPen(QPen(QColor(200, 40, 40), 2.2));
      g.drawLine(QPointF(120, y - 4), QPointF(130, y + 6));
      g.drawLine(QPointF(130, y - 4), QPointF(120, y + 6));
    } else {
      g.setPen(QPen(QColor(200, 40, 40), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      QPolygonF tick{QPointF(118, y), QPointF(123, y + 6), QPointF(134, y - 6)};
      g.drawPolyline(tick);
    }
  }
  // score circle
  g.setPen(QPen(QColor(200, 40, 40), 2));
  g.setBrush(Qt::NoBrush);
  g.drawEllipse(QRectF(108, 192, 34, 22));
  g.setFont(smallfont(10, true));
  g.setPen(QColor(200, 40, 40));
  g.drawText(QRectF(108, 192, 34, 22), Qt::AlignCenter, QStringLiteral("6/7"));
  // pencil across the corner
  g.save();
  g.translate(40, 214);
  g.rotate(-40);
  g.setPen(QPen(QColor(120, 90, 20), 1));
  g.setBrush(QColor(250, 200, 40));
  g.drawRect(QRectF(0, -4, 60, 8));
  g.setBrush(QColor(240, 150, 150));
  g.drawRect(QRectF(60, -4, 8, 8));
  g.setBrush(QColor(235, 210, 170));
  g.drawPolygon(QPolygonF{QPointF(0, -4), QPointF(-10, 0), QPointF(0, 4)});
  g.restore();
  return p;
}

void capsule(QPainter& g, QPointF centre, double angle, const QColor& a, const QColor& b) {
  g.save();
  g.translate(centre);
  g.rotate(angle);
  g.setPen(QPen(QColor(60, 60, 60), 1));
  QPainterPath left, right;
  left.addRoundedRect(QRectF(-18, -7, 22, 14), 7, 7);
  right.addRoundedRect(QRectF(-4, -7, 22, 14), 7, 7);
  g.setBrush(b);
  g.drawPath(right);
  g.setBrush(a);
  g.drawPath(left);
  g.setPen(QPen(QColor(255, 255, 255, 150), 2));
  g.drawLine(QPointF(-12, -3), QPointF(10, -3));
  g.restore();
}

void tablet(QPainter& g, QPointF centre, double r, const QColor& c, bool scored) {
  QRadialGradient rg(centre - QPointF(r / 3, r / 3), r * 1.4);
  rg.setColorAt(0, Qt::white);
  rg.setColorAt(1, c);
  g.setPen(QPen(c.darker(140), 1));
  g.setBrush(rg);
  g.drawEllipse(centre, r, r);
  if (scored) {
    g.setPen(QPen(c.darker(160), 1.2));
    g.drawLine(centre - QPointF(r * 0.75, 0), centre + QPointF(r * 0.75, 0));
  }
}

// 3: a blister strip with a row of loose tablets and a capsule below it.
// The tablet module lays its drug label panel over the lower part of this
// picture (from 120 pixels down, 24 pixels in from either side), so the
// subject is drawn in the upper part and left clear of it.
QPixmap drawtablets() {
  QPixmap p = blank(MW, MH);
  QPainter g(&p);
  prepare(g);
  card(g, MW, MH, QColor(248, 240, 246), QColor(228, 212, 226));
  // blister strip: two rows of four, one pocket already empty
  g.setPen(QPen(QColor(140, 140, 150), 1));
  g.setBrush(QColor(215, 218, 225));
  g.drawRoundedRect(QRectF(20, 10, 137, 68), 6, 6);
  g.setPen(QPen(QColor(185, 188, 198), 1, Qt::DashLine));
  g.drawLine(QPointF(88.5, 12), QPointF(88.5, 76));  // perforation
  for (int row = 0; row < 2; ++row) {
    for (int col = 0; col < 4; ++col) {
      const QPointF c(39 + col * 33 + (col >= 2 ? 2 : 0), 28 + row * 32);
      g.setPen(QPen(QColor(170, 175, 185), 1));
      g.setBrush(QColor(240, 242, 246));
      g.drawEllipse(c, 12, 12);
      if (!(row == 1 && col == 3)) tablet(g, c, 9, QColor(250, 250, 250), true);
    }
  }
  // loose tablets and a capsule beneath the strip
  tablet(g, QPointF(32, 98), 11, QColor(245, 245, 245), true);
  tablet(g, QPointF(62, 100), 9, QColor(255, 210, 130), false);
  capsule(g, QPointF(104, 98), -12, QColor(200, 40, 50), QColor(250, 230, 90));
  tablet(g, QPointF(146, 97), 11, QColor(170, 200, 250), true);
  return p;
}

// 4: a medicine bottle with its label, a measuring cup and a syringe.
QPixmap drawbottle() {
  QPixmap p = blank(MW, MH);
  QPainter g(&p);
  prepare(g);
  card(g, MW, MH, QColor(244, 248, 240), QColor(222, 232, 212));
  // bottle
  QPainterPath bottle;
  bottle.moveTo(44, 64);
  bottle.lineTo(44, 52);
  bottle.lineTo(76, 52);
  bottle.lineTo(76, 64);
  bottle.quadTo(98, 70, 98, 92);
  bottle.lineTo(98, 200);
  bottle.quadTo(98, 210, 88, 210);
  bottle.lineTo(32, 210);
  bottle.quadTo(22, 210, 22, 200);
  bottle.lineTo(22, 92);
  bottle.quadTo(22, 70, 44, 64);
  QLinearGradient amber(22, 0, 98, 0);
  amber.setColorAt(0, QColor(150, 80, 20));
  amber.setColorAt(0.35, QColor(210, 130, 50));
  amber.setColorAt(1, QColor(130, 65, 15));
  g.setPen(QPen(QColor(90, 45, 10), 1.5));
  g.setBrush(amber);
  g.drawPath(bottle);
  // cap
  g.setBrush(QColor(245, 245, 245));
  g.setPen(QPen(QColor(120, 120, 120), 1));
  g.drawRoundedRect(QRectF(40, 30, 40, 24), 3, 3);
  for (int x = 44; x < 80; x += 4) g.drawLine(x, 32, x, 52);
  // label
  g.setBrush(QColor(255, 255, 250));
  g.setPen(QPen(QColor(120, 100, 80), 1));
  g.drawRect(QRectF(28, 110, 64, 62));
  g.setPen(QColor(40, 80, 40));
  g.setFont(smallfont(9, true));
  g.drawText(QRectF(28, 114, 64, 14), Qt::AlignCenter, QStringLiteral("SYRUP"));
  g.setFont(smallfont(8));
  g.drawText(QRectF(28, 130, 64, 12), Qt::AlignCenter, QStringLiteral("125 mg"));
  g.drawText(QRectF(28, 142, 64, 12), Qt::AlignCenter, QStringLiteral("in 5 mL"));
  g.setPen(QPen(QColor(200, 60, 60), 2));
  g.drawLine(QPointF(34, 162), QPointF(86, 162));
  // syringe, lying diagonally on the right
  g.save();
  g.translate(140, 40);
  g.rotate(8);
  g.setPen(QPen(QColor(90, 100, 110), 1));
  g.setBrush(QColor(250, 252, 255, 235));
  g.drawRect(QRectF(-9, 20, 18, 120));          // barrel
  g.setBrush(QColor(120, 180, 230, 200));
  g.drawRect(QRectF(-8, 80, 16, 59));           // fluid
  g.setBrush(QColor(60, 60, 70));
  g.drawRect(QRectF(-8, 76, 16, 5));            // plunger seal
  g.setBrush(QColor(220, 225, 230));
  g.drawRect(QRectF(-3, 0, 6, 76));             // plunger rod
  g.drawRect(QRectF(-12, -4, 24, 5));           // thumb rest
  g.drawRect(QRectF(-16, 20, 32, 4));           // flange
  for (int i = 0; i < 10; ++i) {
    const double y = 34 + i * 10;
    g.drawLine(QPointF(-9, y), QPointF(i % 2 == 0 ? -1 : -4, y));
  }
  g.setBrush(QColor(200, 205, 210));
  g.drawRect(QRectF(-3, 140, 6, 6));             // hub
  g.setPen(QPen(QColor(150, 155, 160), 1.2));
  g.drawLine(QPointF(0, 146), QPointF(0, 176));  // needle
  g.restore();
  return p;
}

// ---- burette -------------------------------------------------------------------

// Drawn at the size of the "IV Burette" panel. The drop falls at x 80 to 89
// px from y 56 to 110 px (its top running 56 to 96), so the drip chamber
// spans x 64 to 106 and y 50 to 140, clear of the drop's path.
QPixmap drawburette() {
  const int w = 177, h = 209;
  QPixmap p = blank(w, h);
  QPainter g(&p);
  prepare(g);
  // graduated burette chamber at the top
  QRectF tube(50, 4, 70, 34);
  QLinearGradient glass(50, 0, 120, 0);
  glass.setColorAt(0, QColor(205, 220, 235));
  glass.setColorAt(0.45, QColor(252, 253, 255));
  glass.setColorAt(1, QColor(195, 212, 230));
  g.setPen(QPen(QColor(80, 100, 125), 1.2));
  g.setBrush(glass);
  g.drawRoundedRect(tube, 4, 4);
  g.setPen(Qt::NoPen);
  g.setBrush(QColor(130, 185, 235, 210));
  g.drawRoundedRect(QRectF(51, 16, 68, 21), 3, 3);
  g.setPen(QPen(QColor(40, 60, 90), 1));
  g.setFont(smallfont(7));
  for (int i = 0; i < 6; ++i) {
    const double y = 8 + i * 5.5;
    g.drawLine(QPointF(52, y), QPointF(i % 2 == 0 ? 62 : 58, y));
  }
  g.drawText(QPointF(92, 13), QStringLiteral("mL"));
  // air vent on the side
  g.setPen(QPen(QColor(80, 100, 125), 1));
  g.setBrush(QColor(230, 235, 240));
  g.drawRect(QRectF(120, 8, 8, 6));
  // neck down to the nozzle
  QPainterPath neck;
  neck.moveTo(76, 38);
  neck.lineTo(94, 38);
  neck.lineTo(89, 50);
  neck.lineTo(81, 50);
  neck.closeSubpath();
  g.setBrush(QColor(220, 228, 236));
  g.drawPath(neck);
  // drip chamber: clear cylinder with a pool at the bottom
  QRectF chamber(64, 50, 42, 90);
  QLinearGradient cg(64, 0, 106, 0);
  cg.setColorAt(0, QColor(212, 226, 240, 230));
  cg.setColorAt(0.5, QColor(250, 252, 255, 230));
  cg.setColorAt(1, QColor(200, 218, 236, 230));
  g.setBrush(cg);
  g.setPen(QPen(QColor(80, 100, 125), 1.4));
  g.drawRoundedRect(chamber, 8, 8);
  // drip nozzle inside the top of the chamber
  g.setBrush(QColor(180, 190, 200));
  g.setPen(QPen(QColor(100, 110, 120), 1));
  g.drawRect(QRectF(82, 50, 6, 5));
  // pool of fluid
  g.setPen(Qt::NoPen);
  g.setBrush(QColor(120, 178, 232));
  g.drawRoundedRect(QRectF(65.5, 118, 39, 21), 6, 6);
  g.setPen(QPen(QColor(90, 150, 215), 1));
  g.drawLine(QPointF(67, 118), QPointF(103, 118));
  // highlight on the glass
  g.setPen(QPen(QColor(255, 255, 255, 180), 2));
  g.drawLine(QPointF(70, 58), QPointF(70, 112));
  // outlet and line
  g.setPen(QPen(QColor(80, 100, 125), 1));
  g.setBrush(QColor(220, 228, 236));
  g.drawRect(QRectF(79, 140, 12, 8));
  g.setPen(QPen(QColor(140, 170, 200), 4, Qt::SolidLine, Qt::RoundCap));
  g.setBrush(Qt::NoBrush);
  QPainterPath line;
  line.moveTo(85, 148);
  // The line ends above the panel's lower strip, where the clock and the
  // flow-rate scroll bar sit.
  line.cubicTo(85, 170, 106, 174, 108, 184);
  g.drawPath(line);
  // roller clamp on the line
  g.setPen(QPen(QColor(60, 60, 70), 1));
  g.setBrush(QColor(80, 140, 90));
  g.drawRoundedRect(QRectF(78, 158, 18, 14), 3, 3);
  g.setBrush(QColor(235, 235, 235));
  g.drawEllipse(QRectF(83, 161, 8, 8));
  return p;
}

// ---- small pictures ----------------------------------------------------------------

QPixmap drawcalculator() {
  QPixmap p = blank(32, 32);
  QPainter g(&p);
  prepare(g);
  g.setPen(QPen(QColor(40, 40, 50), 1));
  g.setBrush(QColor(70, 80, 100));
  g.drawRoundedRect(QRectF(4.5, 1.5, 23, 29), 3, 3);
  g.setBrush(QColor(190, 220, 180));
  g.setPen(QPen(QColor(30, 40, 30), 1));
  g.drawRect(QRectF(7.5, 4.5, 17, 6));
  g.setPen(QColor(30, 60, 30));
  g.drawLine(QPointF(17, 6), QPointF(17, 9));
  g.drawLine(QPointF(20, 6), QPointF(22, 6));
  g.drawLine(QPointF(22, 6), QPointF(22, 9));
  g.setPen(Qt::NoPen);
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 4; ++col) {
      const bool op = col == 3;
      g.setBrush(op ? QColor(240, 150, 60) : QColor(230, 230, 235));
      g.drawRect(QRectF(7.5 + col * 4.5, 13 + row * 4.2, 3.3, 3));
    }
  }
  return p;
}

// The right-answer pictures: 2 a green tick on a disc, 3 a gold star.
QPixmap drawtick() {
  QPixmap p = blank(41, 41);
  QPainter g(&p);
  prepare(g);
  QRadialGradient rg(QPointF(15, 14), 26);
  rg.setColorAt(0, QColor(150, 230, 140));
  rg.setColorAt(1, QColor(30, 140, 40));
  g.setPen(QPen(QColor(20, 100, 30), 1.5));
  g.setBrush(rg);
  g.drawEllipse(QRectF(1.5, 1.5, 38, 38));
  g.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  g.drawPolyline(QPolygonF{QPointF(10, 21), QPointF(17, 28), QPointF(31, 12)});
  return p;
}

QPixmap drawstar() {
  QPixmap p = blank(41, 41);
  QPainter g(&p);
  prepare(g);
  QPolygonF star;
  const double cx = 20.5, cy = 21.5;
  for (int i = 0; i < 10; ++i) {
    const double r = i % 2 == 0 ? 19.5 : 8.5;
    const double a = -M_PI / 2 + i * M_PI / 5;
    star << QPointF(cx + r * std::cos(a), cy + r * std::sin(a));
  }
  QRadialGradient rg(QPointF(16, 15), 24);
  rg.setColorAt(0, QColor(255, 250, 190));
  rg.setColorAt(1, QColor(240, 170, 20));
  g.setPen(QPen(QColor(170, 110, 10), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  g.setBrush(rg);
  g.drawPolygon(star);
  g.setPen(Qt::NoPen);
  g.setBrush(QColor(255, 255, 255, 200));
  g.drawEllipse(QPointF(15, 14), 2.5, 2.5);
  return p;
}

// A check list with a small gear: the settings picture.
QPixmap drawsettings() {
  QPixmap p = blank(48, 48);
  QPainter g(&p);
  prepare(g);
  g.setPen(QPen(QColor(110, 110, 120), 1));
  g.setBrush(QColor(255, 255, 250));
  g.drawRect(QRectF(4.5, 3.5, 30, 40));
  for (int i = 0; i < 4; ++i) {
    const double y = 9 + i * 9;
    g.setPen(QPen(QColor(90, 90, 100), 1));
    g.setBrush(Qt::white);
    g.drawRect(QRectF(8.5, y + 0.5, 6, 6));
    g.setPen(QPen(QColor(150, 160, 190), 1));
    g.drawLine(QPointF(18, y + 3.5), QPointF(31, y + 3.5));
    if (i != 2) {
      g.setPen(QPen(QColor(30, 140, 40), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      g.drawPolyline(QPolygonF{QPointF(9.5, y + 3.5), QPointF(11.5, y + 6), QPointF(16, y - 1)});
    }
  }
  // gear
  g.save();
  g.translate(35, 35);
  g.setPen(QPen(QColor(60, 70, 90), 1));
  g.setBrush(QColor(120, 135, 160));
  QPainterPath gear;
  for (int i = 0; i < 8; ++i) {
    QPainterPath tooth;
    tooth.addRect(QRectF(-2.5, -11, 5, 5));
    gear.addPath(QTransform().rotate(i * 45).map(tooth));
  }
  gear.addEllipse(QPointF(0, 0), 8, 8);
  gear.setFillRule(Qt::WindingFill);
  g.drawPath(gear.simplified());
  g.setBrush(QColor(255, 255, 250));
  g.drawEllipse(QPointF(0, 0), 3, 3);
  g.restore();
  return p;
}

const char* const BACKGROUND_PROPERTY = "dosavo_background";

}  // namespace

QPixmap texturedbackground() {
  static QPixmap* pic = nullptr;
  return cached(pic, drawtextured);
}

QPixmap plainbackground() {
  static QPixmap* pic = nullptr;
  return cached(pic, drawplain);
}

QPixmap backgroundfor(int textured) { return textured == 1 ? texturedbackground() : plainbackground(); }

void setbackground(QWidget& w, const QPixmap& picture) {
  QPalette pal = w.palette();
  if (picture.isNull()) {
    // No picture (taken from a window that has none yet): the window keeps
    // the ordinary background colour rather than an empty texture.
    pal.setBrush(QPalette::Window, QApplication::palette(&w).brush(QPalette::Window));
    w.setPalette(pal);
    w.setProperty(BACKGROUND_PROPERTY, QVariant());
    return;
  }
  pal.setBrush(QPalette::Window, QBrush(picture));
  w.setPalette(pal);
  w.setAutoFillBackground(true);
  w.setProperty(BACKGROUND_PROPERTY, QVariant::fromValue(picture));
}

QPixmap backgroundof(const QWidget& w) {
  const QVariant v = w.property(BACKGROUND_PROPERTY);
  return v.isValid() ? v.value<QPixmap>() : QPixmap();
}

QPixmap modulepicture(int index) {
  static QPixmap* pics[5] = {};
  static QPixmap (*const draw[5])() = {drawivbag, drawmetric, drawtestpaper, drawtablets, drawbottle};
  // An index out of range falls back to the teachers' test picture rather
  // than failing: every module shows some picture.
  if (index < 0 || index > 4) index = 2;
  return cached(pics[index], draw[index]);
}

QPixmap burettepicture() {
  static QPixmap* pic = nullptr;
  return cached(pic, drawburette);
}

QPixmap calculatoricon() {
  static QPixmap* pic = nullptr;
  return cached(pic, drawcalculator);
}

QPixmap correctimage(int which) {
  static QPixmap* tick = nullptr;
  static QPixmap* star = nullptr;
  return which == 3 ? cached(star, drawstar) : cached(tick, drawtick);
}

QPixmap settingspicture() {
  static QPixmap* pic = nullptr;
  return cached(pic, drawsettings);
}

}  // namespace ui
