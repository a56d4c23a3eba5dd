#include "core/ui/focusmark.h"

#include <QEvent>
#include <QPainter>
#include <QPalette>
#include <QPlainTextEdit>

namespace ui {
namespace {

// Drawn over the widget as a child of its own, so that it comes on top of
// whatever the widget paints (a list's items, a scroll bar's box); clicks
// pass through it.
class FocusMark : public QWidget {
 public:
  explicit FocusMark(QWidget& owner) : QWidget(&owner), owner_(owner) {
    setObjectName(QStringLiteral("focusmark"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    owner.installEventFilter(this);
    follow();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &owner_) {
      switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::ChildAdded:
          follow();
          break;
        default:
          break;
      }
    }
    return QWidget::eventFilter(watched, event);
  }
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QPen pen(owner_.palette().color(QPalette::Active, QPalette::Highlight));
    pen.setWidth(2);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
  }

 private:
  void follow() {
    setGeometry(owner_.rect());
    setVisible(owner_.hasFocus());
    // Children the widget makes later (a scroll area's bars) stay below.
    raise();
  }
  QWidget& owner_;
};

}  // namespace

void showfocusmark(QWidget& widget) {
  if (widget.findChild<QWidget*>(QStringLiteral("focusmark"), Qt::FindDirectChildrenOnly) != nullptr) return;
  new FocusMark(widget);
}

void readingbox(QPlainTextEdit& box) {
  box.setReadOnly(true);
  box.setTabChangesFocus(true);
  showfocusmark(box);
}

}  // namespace ui
