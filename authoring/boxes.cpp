#include "authoring/boxes.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>

#include "core/ui/textconv.h"

namespace authoring {
namespace {
// A key that types a character (Enter and Backspace included): the keys the
// key-press hook sees.
bool typesacharacter(const QKeyEvent* event) { return !event->text().isEmpty(); }
}  // namespace

QString crlftext(const QString& boxtext) { return ui::crlftext(boxtext); }

QString boxtext(const QString& crlf) { return ui::boxtext(crlf); }

TextBox::TextBox(int maxlength, QWidget* parent)
    : QPlainTextEdit(parent), maxlength_(maxlength), ceiling_(maxlength) {
  setTabChangesFocus(true);
  connect(this, &QPlainTextEdit::textChanged, this, [this] { enforcelimit(); });
}

// The raw text: toPlainText() would turn the no-break spaces that line up
// the generated solutions into ordinary blanks.
QString TextBox::text() const { return crlftext(document()->toRawText()); }

void TextBox::setText(const QString& text) {
  ceiling_ = std::max(maxlength_, static_cast<int>(crlftext(boxtext(text)).size()));
  setPlainText(boxtext(text));
}

int TextBox::room() const {
  return maxlength_ - static_cast<int>(text().size() - crlftext(textCursor().selectedText()).size());
}

void TextBox::keyPressEvent(QKeyEvent* event) {
  if (typesacharacter(event) && onkeypress && !onkeypress(event)) return;
  // A character that would pass the limit is not typed (a line break
  // counts two).
  const QString typed = event->text();
  const bool inserts = typed.size() == 1 && (typed[0] >= QLatin1Char(' ') || typed[0] == QLatin1Char('\r'));
  const int needed = typed == QStringLiteral("\r") ? 2 : 1;
  if (inserts && typed[0] != QChar(0x7F) && room() < needed) return;
  QPlainTextEdit::keyPressEvent(event);
}

void TextBox::pastetext(const QString& text) {
  // As much of the text as fits, never half a line break.
  QString fits = crlftext(boxtext(text)).left(std::max(0, room()));
  if (fits.endsWith(QLatin1Char('\r'))) fits.chop(1);
  insertPlainText(boxtext(fits));
}

void TextBox::insertFromMimeData(const QMimeData* source) {
  // Pasted text is plain text, whatever the clipboard holds besides.
  if (source != nullptr && source->hasText()) pastetext(source->text());
}

void TextBox::enforcelimit() {
  if (limiting_) return;
  const QString all = text();
  if (all.size() <= ceiling_) {
    // A long text set by the program may shrink, never grow again.
    ceiling_ = std::max(maxlength_, static_cast<int>(all.size()));
    return;
  }
  // Whatever went past the limit is cut off, and a line break is never cut
  // in half.
  QString kept = all.left(ceiling_);
  if (kept.endsWith(QLatin1Char('\r'))) kept.chop(1);
  const int at = textCursor().position();
  limiting_ = true;
  setPlainText(boxtext(kept));
  QTextCursor c = textCursor();
  c.setPosition(std::min(at, static_cast<int>(toPlainText().size())));
  setTextCursor(c);
  limiting_ = false;
}

LineBox::LineBox(int maxlength, QWidget* parent) : QLineEdit(parent) { setMaxLength(maxlength); }

void LineBox::keyPressEvent(QKeyEvent* event) {
  if (typesacharacter(event) && onkeypress && !onkeypress(event)) return;
  QLineEdit::keyPressEvent(event);
}

NameLabel::NameLabel(Fit fit, QWidget* parent) : QLabel(parent), fit_(fit) { setTextFormat(Qt::PlainText); }

void NameLabel::paintEvent(QPaintEvent*) {
  QPainter g(this);
  g.setPen(palette().color(QPalette::WindowText));
  const QRectF area = contentsRect();
  if (fit_ == Fit::elide) {
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, contentsRect().width());
    setToolTip(shown == text() ? QString() : text());
    g.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, shown);
    return;
  }
  QTextOption layout(Qt::AlignHCenter);
  layout.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  const QRectF used = g.boundingRect(area, text(), layout);
  const double top = area.top() + std::max(0.0, (area.height() - used.height()) / 2);
  g.drawText(QRectF(area.left(), top, area.width(), area.bottom() - top), text(), layout);
}

}  // namespace authoring
