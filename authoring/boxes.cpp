#include "authoring/boxes.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>
#include <cmath>

#include "authoring/app.h"
#include "core/ui/focusmark.h"
#include "core/ui/messages.h"
#include "core/ui/textconv.h"
#include "core/ui/typing.h"

namespace authoring {
namespace {
// A key that types a character (Enter and Backspace included): the keys the
// key-press hook sees.
bool typesacharacter(const QKeyEvent* event) { return !event->text().isEmpty(); }

void tellunstorable(QWidget* box, const QString& character) {
  ui::showbox(box->window(), ui::unstorablemessage(character, APPTITLE), APPTITLE);
}

// A key that no box of the tool types: a character with Alt (an access key
// that nothing answered), or one the tool's files cannot hold (told).
bool refusedkey(QWidget* box, QKeyEvent* event) {
  if (ui::altcharacter(event)) {
    event->ignore();
    return true;
  }
  const QString bad = ui::unstorable(event->text());
  if (bad.isEmpty()) return false;
  tellunstorable(box, bad);
  return true;
}
}  // namespace

void storableonly(QLineEdit& box) {
  ui::refusealtcharacters(box);
  ui::keepstorable(box, [&box](const QString& character) { tellunstorable(&box, character); });
}

TextBox::TextBox(int maxlength, QWidget* parent)
    : QPlainTextEdit(parent), maxlength_(maxlength), ceiling_(maxlength) {
  // The style draws no focus frame round a box of several lines.
  ui::showfocusmark(*this);
  setTabChangesFocus(true);
  connect(this, &QPlainTextEdit::textChanged, this, [this] { enforcelimit(); });
}

// The raw text: toPlainText() would turn the no-break spaces that line up
// the generated solutions into ordinary blanks. Until the teacher edits it,
// the text is the one set, line breaks as they stood.
QString TextBox::text() const { return edited_ ? ui::crlftext(document()->toRawText()) : set_; }

void TextBox::setText(const QString& text) {
  set_ = text;
  edited_ = false;
  // The text as set is what the field stores: edited, it may not grow past
  // that (its lone line breaks would become two characters each).
  ceiling_ = std::max(maxlength_, static_cast<int>(text.size()));
  setting_ = true;
  setPlainText(ui::boxtext(text));
  setting_ = false;
  kept_ = document()->toRawText();
}

int TextBox::room() const {
  // Counted as the text will be stored once edited.
  const QString all = ui::crlftext(document()->toRawText());
  return maxlength_ - static_cast<int>(all.size() - ui::crlftext(textCursor().selectedText()).size());
}

void TextBox::keyPressEvent(QKeyEvent* event) {
  if (refusedkey(this, event)) return;
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
  QString fits = ui::crlftext(ui::boxtext(text)).left(std::max(0, room()));
  if (fits.endsWith(QLatin1Char('\r'))) fits.chop(1);
  insertPlainText(ui::boxtext(fits));
}

void TextBox::insertFromMimeData(const QMimeData* source) {
  // Pasted text is plain text, whatever the clipboard holds besides.
  if (source != nullptr && source->hasText()) pastetext(source->text());
}

void TextBox::enforcelimit() {
  if (limiting_) return;
  const QString now = document()->toRawText();
  if (now == kept_) return;
  // Counted as the field will store it once edited (every line break two
  // characters), so that an edit never makes the stored field longer
  // than its width.
  const QString stored = ui::crlftext(now);
  const QString bad = setting_ ? QString() : ui::unstorable(stored);
  if (setting_ || (bad.isEmpty() && stored.size() <= ceiling_)) {
    // A long text set by the program may shrink, never grow again.
    if (!setting_) ceiling_ = std::max(maxlength_, static_cast<int>(stored.size()));
    kept_ = now;
    if (!setting_) edited_ = true;
    return;
  }
  // A change that passes the limit (an input method's text, a composed
  // character, an edit of a text whose lone line breaks become two
  // characters) or brings in a character the files cannot hold is refused
  // whole: the box keeps its text, and the cursor goes back to where the
  // change began.
  qsizetype same = 0;
  while (same < now.size() && same < kept_.size() && now[same] == kept_[same]) ++same;
  limiting_ = true;
  setPlainText(ui::boxtext(ui::crlftext(kept_)));
  QTextCursor c = textCursor();
  c.setPosition(static_cast<int>(std::min(same, kept_.size())));
  setTextCursor(c);
  limiting_ = false;
  if (!bad.isEmpty()) tellunstorable(this, bad);
}

LineBox::LineBox(int maxlength, QWidget* parent) : QLineEdit(parent) {
  setMaxLength(maxlength);
  storableonly(*this);
}

void LineBox::keyPressEvent(QKeyEvent* event) {
  if (refusedkey(this, event)) return;
  if (typesacharacter(event) && onkeypress && !onkeypress(event)) return;
  QLineEdit::keyPressEvent(event);
}

NameLabel::NameLabel(Fit fit, QWidget* parent) : QLabel(parent), fit_(fit) { setTextFormat(Qt::PlainText); }

namespace {
QTextOption wrapping() {
  QTextOption layout(Qt::AlignHCenter);
  layout.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  return layout;
}
}  // namespace

int NameLabel::heightForWidth(int width) const {
  if (fit_ == Fit::elide) return QLabel::heightForWidth(width);
  QTextLayout lines(text(), font());
  lines.setTextOption(wrapping());
  lines.beginLayout();
  qreal height = 0;
  for (QTextLine line = lines.createLine(); line.isValid(); line = lines.createLine()) {
    line.setLineWidth(width);
    height += line.height();
  }
  lines.endLayout();
  const QMargins m = contentsMargins();
  return static_cast<int>(std::ceil(height)) + m.top() + m.bottom();
}

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
  const QTextOption layout = wrapping();
  const QRectF used = g.boundingRect(area, text(), layout);
  const double top = area.top() + std::max(0.0, (area.height() - used.height()) / 2);
  g.drawText(QRectF(area.left(), top, area.width(), area.bottom() - top), text(), layout);
}

}  // namespace authoring
