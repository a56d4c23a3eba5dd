// The simulated intravenous burette of the exercise window: the "IV Burette"
// panel with its picture, the falling drop, the drip and clock timers, the
// clock label, the flow-rate scroll bar, and the drop counter frame.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>

class QFrame;
class QGroupBox;
class QLabel;
class QScrollBar;
class QTimer;
class QWidget;

namespace trainee {

class Burette : public QObject {
  Q_OBJECT
 public:
  // Creates the controls as children of the exercise window, at their
  // design places, hidden.
  explicit Burette(QWidget* window);

  QFrame* IVpan = nullptr;        // 3-D panel "IV Burette"
  QLabel* imgburette = nullptr;   // burette picture
  QWidget* Shpdrip = nullptr;     // the drop
  QTimer* tmrdrip = nullptr;      // one tick = one drop
  QTimer* tmrclock = nullptr;     // 1000 ms
  QLabel* Lblclock = nullptr;     // "Time: "
  QScrollBar* scriv = nullptr;    // 1 to 120
  QGroupBox* frmivcount = nullptr;  // "Counter"
  QLabel* Lblivcounttime = nullptr;
  QLabel* Lblct = nullptr;        // seconds
  QLabel* Lblivcount = nullptr;
  QLabel* lblc = nullptr;         // drops

  QLabel* IVpancaption = nullptr;  // the panel's caption "IV Burette"
  QTimer* tmrdropstep = nullptr;   // paces the fall of one drop

  bool counting = false;
  std::int16_t drops = 0;
  std::int16_t secs = -1;
  // Top of the falling drop in twips, 840 to 1440.
  int droptop = 840;
  // False while the burette has no rate to drip at (a rate below 1).
  bool hasrate = true;

  // The drip interval rule: the whole part of 60 / rate x 1000 ms. A rate
  // below 1 has no interval: the drip timer is stopped.
  static int dripinterval(double rate);
  // Sets the drip timer's interval from a rate (stopping it for a rate below 1).
  void setdriprate(double rate);

  void tmrdrip_Timer();
  void tmrclock_Timer();
  // The scroll bar has moved (dragged, clicked or keyed): the drip follows.
  void scriv_Scroll();
  void dripanim();
  // One step of the falling drop: 20 twips down, down to 1440 twips; the
  // step after the bottom hides it.
  void dropstep();
  // Ends a fall at once (the drop reaches the bottom and is hidden).
  void finishdrop();
  void ivcount();
  // Brings the burette in line with the exercise window's flags; image1 is
  // the window's module picture.
  void testforivon(bool ivmodule, bool ivrun, bool ivsetrate, double answer, QWidget* image1);
  // Enables the drip timer (when there is a rate to drip at) and the clock.
  void runtimers();
  // Stops both timers (the window is closing).
  void stop();
  // The time of day in the system's time format, as the clock label shows it.
  static QString timeofday();
};

}  // namespace trainee
