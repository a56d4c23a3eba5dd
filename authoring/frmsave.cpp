#include "authoring/frmsave.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTextOption>
#include <algorithm>

#include "authoring/app.h"
#include "authoring/helptext.h"
#include "core/ui/twips.h"

namespace authoring {
namespace {

// The question, centred; a file name too long for a line is broken where
// it must be rather than cut off.
class QuestionLabel : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter g(this);
    g.setPen(palette().color(QPalette::WindowText));
    QTextOption layout(Qt::AlignHCenter);
    layout.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    const QRectF area = contentsRect();
    const QRectF used = g.boundingRect(area, text(), layout);
    const double top = area.top() + std::max(0.0, (area.height() - used.height()) / 2);
    g.drawText(QRectF(area.left(), top, area.width(), area.bottom() - top), text(), layout);
  }
};

}  // namespace

Frmsave::Frmsave(Quizwright& app, QWidget* parent) : ui::YesNo(parent), app_(app) {
  setObjectName(QStringLiteral("Frmsave"));
  setWindowTitle(QStringLiteral(" "));
  Label1 = new QuestionLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  // The question names files and drugs as typed: never markup.
  Label1->setTextFormat(Qt::PlainText);
  Label1->setGeometry(questionplace());
  for (int i = 0; i < 2; ++i) Command1[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
  installquizwrighthelp(*this);
  Form_Load();
}

void Frmsave::Form_Load() { ui::centreform(*this); }

void Frmsave::Command1_Click(int index) {
  app_.saveanswer = index == 0;
  done(index == 0 ? QDialog::Accepted : QDialog::Rejected);
}

}  // namespace authoring
