#include "core/ui/icons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

namespace ui {
namespace {

// Every icon is drawn on a 256-unit square and scaled to the size asked for.
constexpr double UNITS = 256.0;

// The rounded tile both icons stand on, in the program's two colours.
void tile(QPainter& g, const QColor& top, const QColor& bottom) {
  const QRectF box(10, 10, 236, 236);
  QLinearGradient fill(0, box.top(), 0, box.bottom());
  fill.setColorAt(0, top);
  fill.setColorAt(1, bottom);
  g.setPen(QPen(bottom.darker(140), 4));
  g.setBrush(fill);
  g.drawRoundedRect(box, 46, 46);
  // a soft light across the upper half
  QLinearGradient shine(0, box.top(), 0, 128);
  shine.setColorAt(0, QColor(255, 255, 255, 70));
  shine.setColorAt(1, QColor(255, 255, 255, 0));
  g.setPen(Qt::NoPen);
  g.setBrush(shine);
  g.drawRoundedRect(box.adjusted(6, 6, -6, -118), 40, 40);
}

// A capsule centred on the origin, lying along the x axis: two coloured
// halves, a seam and a highlight.
void capsule(QPainter& g, double length, double width, const QColor& left, const QColor& right) {
  const double r = width / 2;
  QPainterPath whole;
  whole.addRoundedRect(QRectF(-length / 2, -r, length, width), r, r);
  g.setPen(Qt::NoPen);
  g.setBrush(right);
  g.drawPath(whole);
  g.save();
  g.setClipRect(QRectF(-length / 2 - 1, -r - 1, length / 2 + 1, width + 2));
  g.setBrush(left);
  g.drawPath(whole);
  g.restore();
  g.setPen(QPen(QColor(255, 255, 255, 150), 7, Qt::SolidLine, Qt::RoundCap));
  g.drawLine(QPointF(-length / 2 + r, -r / 2), QPointF(length / 2 - r, -r / 2));
  g.setPen(QPen(QColor(40, 40, 50), 5));
  g.setBrush(Qt::NoBrush);
  g.drawPath(whole);
  g.drawLine(QPointF(0, -r), QPointF(0, r));
}

// dosavo: a drop of infusion with a plus sign, and a capsule.
void drawdosavo(QPainter& g) {
  tile(g, QColor(44, 160, 178), QColor(16, 88, 124));
  // the drop
  QPainterPath drop;
  drop.moveTo(104, 30);
  drop.cubicTo(122, 66, 164, 100, 164, 146);
  drop.arcTo(QRectF(44, 86, 120, 120), 0, -180);
  drop.cubicTo(44, 100, 86, 66, 104, 30);
  QRadialGradient water(QPointF(88, 120), 110);
  water.setColorAt(0, QColor(255, 255, 255));
  water.setColorAt(1, QColor(206, 236, 246));
  g.setPen(QPen(QColor(12, 70, 100), 5));
  g.setBrush(water);
  g.drawPath(drop);
  // a plus inside it, in the tile's own colour (a red cross on white is a
  // protected emblem)
  g.setPen(Qt::NoPen);
  g.setBrush(QColor(20, 128, 156));
  g.drawRoundedRect(QRectF(92, 110, 24, 68), 4, 4);
  g.drawRoundedRect(QRectF(70, 132, 68, 24), 4, 4);
  // the capsule across the lower right corner
  g.save();
  g.translate(176, 186);
  g.rotate(-38);
  capsule(g, 118, 48, QColor(244, 150, 40), QColor(250, 250, 246));
  g.restore();
}

// quizwright: a test paper with ticked answers, and a pencil.
void drawquizwright(QPainter& g) {
  tile(g, QColor(124, 92, 190), QColor(66, 42, 124));
  // the paper, slightly turned
  g.save();
  g.translate(116, 124);
  g.rotate(-6);
  const QRectF sheet(-70, -94, 140, 188);
  g.setPen(Qt::NoPen);
  g.setBrush(QColor(0, 0, 0, 60));
  g.drawRoundedRect(sheet.translated(6, 6), 8, 8);
  g.setPen(QPen(QColor(60, 50, 90), 4));
  g.setBrush(QColor(255, 255, 252));
  g.drawRoundedRect(sheet, 8, 8);
  for (int i = 0; i < 4; ++i) {
    const double y = -62 + i * 42;
    // answer box and its line
    g.setPen(QPen(QColor(90, 90, 110), 4));
    g.setBrush(Qt::white);
    g.drawRect(QRectF(-52, y - 12, 24, 24));
    g.setPen(QPen(QColor(150, 160, 200), 6, Qt::SolidLine, Qt::RoundCap));
    g.drawLine(QPointF(-16, y), QPointF(i % 2 == 0 ? 50 : 36, y));
    // a tick in the first three boxes
    if (i < 3) {
      g.setPen(QPen(QColor(30, 150, 60), 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      g.setBrush(Qt::NoBrush);
      g.drawPolyline(QPolygonF{QPointF(-50, y), QPointF(-41, y + 10), QPointF(-24, y - 18)});
    }
  }
  g.restore();
  // the pencil, writing towards the paper
  g.save();
  g.translate(186, 178);
  g.rotate(-48);
  g.setPen(QPen(QColor(60, 40, 10), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  g.setBrush(QColor(250, 196, 40));
  g.drawRect(QRectF(-44, -14, 92, 28));  // body
  g.setBrush(QColor(200, 205, 215));
  g.drawRect(QRectF(48, -14, 12, 28));   // ferrule
  g.setBrush(QColor(240, 140, 150));
  g.drawRoundedRect(QRectF(60, -14, 18, 28), 6, 6);  // eraser
  g.setBrush(QColor(238, 208, 160));
  g.drawPolygon(QPolygonF{QPointF(-44, -14), QPointF(-80, 0), QPointF(-44, 14)});  // wood
  g.setBrush(QColor(50, 50, 60));
  g.drawPolygon(QPolygonF{QPointF(-66, -5), QPointF(-80, 0), QPointF(-66, 5)});  // lead
  g.restore();
}

}  // namespace

const char* programname(Program program) { return program == Program::quizwright ? "quizwright" : "dosavo"; }

QPixmap programpicture(Program program, int size) {
  QPixmap p(size, size);
  p.fill(Qt::transparent);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing, true);
  g.scale(size / UNITS, size / UNITS);
  if (program == Program::quizwright) {
    drawquizwright(g);
  } else {
    drawdosavo(g);
  }
  return p;
}

QIcon programicon(Program program) {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(programpicture(program, size));
  return icon;
}

}  // namespace ui
