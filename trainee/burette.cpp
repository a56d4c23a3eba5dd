#include "trainee/burette.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QTime>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <limits>

#include "core/ui/artwork.h"
#include "core/ui/focusmark.h"
#include "core/ui/twips.h"

namespace trainee {
namespace {

// Where the drop starts and ends its fall inside the panel, in twips.
constexpr int DROPLEFT = 1200;
constexpr int DROPTOP = 840;
constexpr int DROPBOTTOM = 1440;
constexpr int DROPSTEP = 20;
constexpr int DROPWIDTH = 135;
constexpr int DROPHEIGHT = 210;
constexpr int DROPPOSITIONS = (DROPBOTTOM - DROPTOP) / DROPSTEP;  // 30
// A fall takes at most this long, so that a person sees it even at a slow drip.
constexpr int FALLMS = 400;

constexpr std::int16_t COUNTMAX = std::numeric_limits<std::int16_t>::max();

// The drop: a blue tear, pointed at the top and round below, drawn on a
// transparent ground so that the burette picture shows around it.
class DropShape : public QWidget {
 public:
  explicit DropShape(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = width(), h = height();
    const qreal r = std::min(w, h) / 2.0 - 0.5;
    const QPointF centre(w / 2.0, h - r - 0.5);
    QPainterPath path;
    path.moveTo(w / 2.0, 0.5);
    path.cubicTo(w / 2.0 + r * 0.2, h * 0.3, centre.x() + r, centre.y() - r * 0.6, centre.x() + r, centre.y());
    path.arcTo(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 0, -180);
    path.cubicTo(centre.x() - r, centre.y() - r * 0.6, w / 2.0 - r * 0.2, h * 0.3, w / 2.0, 0.5);
    QLinearGradient fill(0, 0, w, h);
    fill.setColorAt(0, QColor(110, 170, 255));
    fill.setColorAt(1, QColor(0, 60, 200));
    p.setPen(QPen(QColor(0, 40, 140), 1));
    p.setBrush(fill);
    p.drawPath(path);
    // a small highlight
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawEllipse(QPointF(centre.x() - r * 0.35, centre.y() - r * 0.3), r * 0.22, r * 0.3);
  }
};

// A counter display or design label of the burette.
QLabel* label(const QString& text, QWidget* parent, int left, int top, int width, int height) {
  auto* l = new QLabel(text, parent);
  ui::placetw(l, left, top, width, height);
  return l;
}

}  // namespace

Burette::Burette(QWidget* window) : QObject(window) {
  // The "IV Burette" panel: a raised 3-D panel over the module picture.
  IVpan = new QFrame(window);
  IVpan->setObjectName(QStringLiteral("IVpan"));
  IVpan->setFrameStyle(QFrame::Panel | QFrame::Raised);
  IVpan->setLineWidth(2);
  IVpan->setAutoFillBackground(true);
  IVpan->setAccessibleName(QStringLiteral("IV Burette"));
  ui::placetw(IVpan, 6360, 480, 2655, 3135);
  IVpan->hide();

  // The picture is drawn at the panel's size, its drip chamber round the
  // drop's path, so it fills the panel unscaled.
  imgburette = new QLabel(IVpan);
  imgburette->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  ui::placetw(imgburette, 0, 0, 2655, 3135);
  imgburette->setPixmap(ui::burettepicture());

  // The caption beside the drip chamber, where the picture leaves room.
  IVpancaption = label(QStringLiteral("IV Burette"), IVpan, 1650, 900, 930, 540);
  IVpancaption->setAlignment(Qt::AlignCenter);
  IVpancaption->setWordWrap(true);

  Shpdrip = new DropShape(IVpan);
  Shpdrip->setObjectName(QStringLiteral("Shpdrip"));
  ui::placetw(Shpdrip, DROPLEFT, DROPTOP, DROPWIDTH, DROPHEIGHT);
  Shpdrip->hide();  // shown while a drop falls

  // The clock and the flow-rate scroll bar in the panel's lower part.
  Lblclock = label(QStringLiteral("Time: "), IVpan, 60, 2640, 1395, 240);
  Lblclock->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

  scriv = new QScrollBar(Qt::Horizontal, IVpan);
  scriv->setObjectName(QStringLiteral("scriv"));
  scriv->setRange(1, 120);
  scriv->setValue(1);
  scriv->setSingleStep(1);
  scriv->setPageStep(10);
  // Reachable with the keyboard: the arrow keys move it, Left and Down
  // towards the slower end (a scroll bar inverts its keys unless told not
  // to).
  scriv->setFocusPolicy(Qt::StrongFocus);
  ui::showfocusmark(*scriv);  // the style draws no focus on a scroll bar
  scriv->setInvertedControls(false);
  ui::placetw(scriv, 60, 2880, 2535, 210);
  scriv->hide();

  // The drop counter below the panel.
  frmivcount = new QGroupBox(QStringLiteral("Counter"), window);
  frmivcount->setObjectName(QStringLiteral("frmivcount"));
  ui::placetw(frmivcount, 6360, 3720, 2655, 735);
  Lblivcounttime = label(QStringLiteral("Time:"), frmivcount, 120, 330, 555, 285);
  Lblct = label(QString(), frmivcount, 690, 330, 555, 285);
  Lblivcount = label(QStringLiteral("Drops:"), frmivcount, 1320, 330, 615, 285);
  lblc = label(QString(), frmivcount, 1950, 330, 585, 285);
  frmivcount->hide();

  tmrdrip = new QTimer(this);
  tmrdrip->setTimerType(Qt::PreciseTimer);  // the student counts these drops
  tmrdrip->setInterval(1);
  connect(tmrdrip, &QTimer::timeout, this, &Burette::tmrdrip_Timer);

  tmrclock = new QTimer(this);
  tmrclock->setInterval(1000);
  connect(tmrclock, &QTimer::timeout, this, &Burette::tmrclock_Timer);

  tmrdropstep = new QTimer(this);
  tmrdropstep->setTimerType(Qt::PreciseTimer);
  connect(tmrdropstep, &QTimer::timeout, this, &Burette::dropstep);

  // The drip shows the value that "Accept" submits, however the bar is
  // moved: its box dragged, an arrow or the track clicked, a key pressed.
  // A value set while the bar is hidden (the drop-rate module sets it to
  // the answer) leaves the drip to the window.
  connect(scriv, &QScrollBar::sliderMoved, this, [this](int) { scriv_Scroll(); });
  connect(scriv, &QScrollBar::valueChanged, this, [this](int) {
    if (!scriv->isHidden()) scriv_Scroll();
  });
}

int Burette::dripinterval(double rate) {
  if (!(rate >= 1)) return 0;  // also NaN
  const double ms = std::floor(60.0 / rate * 1000.0);
  // A rate above 60000 a minute would give 0 ms: the shortest timer instead.
  return std::max(1, static_cast<int>(ms));
}

void Burette::setdriprate(double rate) {
  const int interval = dripinterval(rate);
  if (interval <= 0) {
    // No rate to drip at: the burette stands still.
    hasrate = false;
    tmrdrip->stop();
    return;
  }
  hasrate = true;
  tmrdrip->setInterval(interval);  // a running timer restarts with it
}

void Burette::tmrdrip_Timer() {
  if (counting) {
    // The counts are 16-bit: they stop at the largest value rather than
    // wrapping to negative numbers.
    if (drops < COUNTMAX) ++drops;
    // The counted minute starts with the first counted drop.
    if (drops == 1) secs = 0;
    if (secs < 61) lblc->setText(QString::number(drops));
  }
  dripanim();
}

void Burette::tmrclock_Timer() {
  Lblclock->setText(timeofday());
  if (counting) {
    if (secs < COUNTMAX) ++secs;
    if (secs < 61) Lblct->setText(QString::number(secs));
  }
}

void Burette::scriv_Scroll() {
  tmrdrip->stop();
  // While the box is dragged its position is the value being set.
  setdriprate(scriv->sliderPosition());
  if (hasrate) tmrdrip->start();
}

void Burette::dripanim() {
  // A new drop starts at the top, even when the last one is still falling.
  droptop = DROPTOP;
  ui::placetw(Shpdrip, DROPLEFT, droptop, DROPWIDTH, DROPHEIGHT);
  Shpdrip->show();
  Shpdrip->raise();
  // The fall is paced so that it is seen, and ends before the next drop:
  // thirty steps down and one more that takes the drop away.
  const int span = std::min(tmrdrip->interval(), FALLMS);
  tmrdropstep->setInterval(std::max(1, span / (DROPPOSITIONS + 1)));
  tmrdropstep->start();
}

void Burette::dropstep() {
  if (Shpdrip->isHidden()) {
    tmrdropstep->stop();
    return;
  }
  if (droptop >= DROPBOTTOM) {
    // The drop has been seen at the bottom: it is gone.
    tmrdropstep->stop();
    Shpdrip->hide();
    return;
  }
  droptop = std::min(droptop + DROPSTEP, DROPBOTTOM);
  ui::placetw(Shpdrip, DROPLEFT, droptop, DROPWIDTH, DROPHEIGHT);
}

void Burette::finishdrop() {
  while (!Shpdrip->isHidden()) dropstep();
  tmrdropstep->stop();
}

void Burette::ivcount() {
  if (frmivcount->isHidden()) {
    // Fresh displays, so that the last count is not read as this one.
    Lblct->clear();
    lblc->clear();
    frmivcount->show();
    counting = true;
  } else {
    frmivcount->hide();
    counting = false;
  }
  drops = 0;
  secs = -1;
}

void Burette::testforivon(bool ivmodule, bool ivrun, bool ivsetrate, double answer, QWidget* image1) {
  if (!ivmodule) return;
  if (ivrun) {
    // Drip at the right rate of the question.
    IVpan->show();
    if (image1) image1->hide();
    setdriprate(answer);
    Lblclock->show();
    scriv->hide();
    runtimers();
  } else if (!ivsetrate) {
    // Module 3 between answers: the module picture instead of the burette.
    if (image1) image1->show();
    tmrdrip->stop();
    IVpan->hide();
    tmrclock->stop();
    Lblclock->hide();
  }
  // Modules 1 and 2 keep dripping as they are until the next question.
}

void Burette::runtimers() {
  if (hasrate) tmrdrip->start();
  tmrclock->start();
}

void Burette::stop() {
  tmrdrip->stop();
  tmrclock->stop();
  tmrdropstep->stop();
  Shpdrip->hide();
}

QString Burette::timeofday() {
  // The system's long time format without its time-zone field.
  const QLocale locale = QLocale::system();
  const QString format = locale.timeFormat(QLocale::LongFormat);
  QString kept;
  bool quoted = false;
  for (const QChar c : format) {
    if (c == QLatin1Char('\'')) quoted = !quoted;
    if (!quoted && c == QLatin1Char('t')) continue;
    kept += c;
  }
  kept = kept.trimmed();
  if (kept.isEmpty()) kept = QStringLiteral("HH:mm:ss");
  return locale.toString(QTime::currentTime(), kept);
}

}  // namespace trainee
