#include "authoring/pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace authoring {
namespace {

constexpr int W = 28;
constexpr int H = 22;

QPixmap canvas() {
  QPixmap p(W, H);
  p.fill(Qt::transparent);
  return p;
}

// A rounded blue arrow head pointing left or right.
QPixmap arrow(bool right) {
  QPixmap p = canvas();
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing, true);
  QPolygonF head;
  if (right)
    head << QPointF(8, 3) << QPointF(22, 11) << QPointF(8, 19);
  else
    head << QPointF(20, 3) << QPointF(6, 11) << QPointF(20, 19);
  QLinearGradient fill(0, 3, 0, 19);
  fill.setColorAt(0, QColor(120, 170, 235));
  fill.setColorAt(1, QColor(30, 80, 170));
  g.setBrush(fill);
  g.setPen(QPen(QColor(20, 50, 120), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  g.drawPolygon(head);
  return p;
}

}  // namespace

QPixmap previouspicture() { return arrow(false); }
QPixmap nextpicture() { return arrow(true); }

QPixmap deletepicture() {
  // A waste bin with a red cross over it.
  QPixmap p = canvas();
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing, true);
  QLinearGradient body(7, 0, 21, 0);
  body.setColorAt(0, QColor(200, 200, 205));
  body.setColorAt(1, QColor(130, 130, 140));
  g.setPen(QPen(QColor(70, 70, 80), 1));
  g.setBrush(body);
  QPainterPath bin;
  bin.moveTo(7.5, 6.5);
  bin.lineTo(20.5, 6.5);
  bin.lineTo(19, 20.5);
  bin.lineTo(9, 20.5);
  bin.closeSubpath();
  g.drawPath(bin);
  g.drawRect(QRectF(6, 4, 16, 2.5));
  g.drawRect(QRectF(11.5, 2, 5, 2));
  for (double x : {11.5, 14.0, 16.5}) g.drawLine(QPointF(x, 9), QPointF(x, 18));
  g.setPen(QPen(QColor(200, 30, 30), 2.6, Qt::SolidLine, Qt::RoundCap));
  g.drawLine(QPointF(17, 11), QPointF(25, 19));
  g.drawLine(QPointF(25, 11), QPointF(17, 19));
  return p;
}

}  // namespace authoring
