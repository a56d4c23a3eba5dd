// A raised 3-D panel with a caption. The caption is kept exactly as set
// (a carriage return alone breaks its line, as the windows' texts expect)
// and shown with that break as a line break.
#pragma once

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QString>

namespace ui {

// A long text (a test's instructions, question or description) is set in a
// smaller type, half a point at a time, until its wrapped lines fit the
// label, rather than being cut off at the bottom; a shorter one goes back
// to the label's own type.
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
    QString shown = caption;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setText(shown);
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
