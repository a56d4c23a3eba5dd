// A raised 3-D panel with a caption, the one panel of both programs. The
// caption is kept exactly as set (a carriage return alone breaks its line,
// as the windows' texts expect) and shown with that break as a line break.
// And the one way a label's text is fitted to its label.
#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QString>

#include "core/ui/textconv.h"

namespace ui {

// Sets a label's type smaller, half a point at a time down to 6 points,
// until its text fits: within its height when the label wraps, on one line
// otherwise. Each fit starts again from the size the label had at its
// first fit, so a short text after a long one is shown at full size.
void fittext(QLabel& label);

class Panel : public QLabel {
 public:
  explicit Panel(const QString& caption = QString(), QWidget* parent = nullptr) : QLabel(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    // Captions carry module and test texts typed by teachers: never read
    // them as markup.
    setTextFormat(Qt::PlainText);
    setCaption(caption);
  }
  void setCaption(const QString& caption) {
    caption_ = caption;
    setText(boxtext(caption));
  }
  const QString& caption() const { return caption_; }
  // The look of a program's name on its first window: large, bold and
  // italic, in navy.
  void setheading(int pointsize) {
    QFont big = font();
    big.setPointSize(pointsize);
    big.setBold(true);
    big.setItalic(true);
    setFont(big);
    QPalette navy = palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    setPalette(navy);
  }

 private:
  QString caption_;
};

}  // namespace ui
