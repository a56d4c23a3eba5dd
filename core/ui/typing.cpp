#include "core/ui/typing.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <memory>

#include "core/ui/textconv.h"

namespace ui {

QString unstorable(const QString& text) {
  for (qsizetype at = 0; at < text.size(); ++at) {
    // A character beyond the 16-bit range is held in two halves.
    const qsizetype length = text.at(at).isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
    const QString character = text.mid(at, length);
    if (!fitsansi(character)) return character;
    at += length - 1;
  }
  return {};
}

QString unstorablemessage(const QString& character, const QString& program) {
  return QStringLiteral("The character \u201C") + character + QStringLiteral("\u201D cannot be stored by ") + program +
         QStringLiteral(". Please type it without that character.");
}

bool altcharacter(const QKeyEvent* event) {
  // AltGr, which types characters on many keyboards, is not Alt here; on
  // Windows it arrives as Ctrl and Alt together.
  const Qt::KeyboardModifiers m = event->modifiers();
  return (m & Qt::AltModifier) && !(m & Qt::ControlModifier) && !event->text().isEmpty() &&
         event->text().at(0).isPrint();
}

namespace {
class AltCharacters : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject*, QEvent* event) override {
    return event->type() == QEvent::KeyPress && altcharacter(static_cast<QKeyEvent*>(event));
  }
};

class NoEscape : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject*, QEvent* event) override {
    return event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
  }
};
}  // namespace

void refusealtcharacters(QWidget& box) { box.installEventFilter(new AltCharacters(&box)); }

void ignoreescape(QWidget& window) { window.installEventFilter(new NoEscape(&window)); }

void keepstorable(QLineEdit& box, std::function<void(const QString& character)> refused) {
  // The text and cursor after the last change the box took.
  struct Kept {
    QString text;
    int cursor = 0;
  };
  auto kept = std::make_shared<Kept>(Kept{box.text(), box.cursorPosition()});
  QPointer<QLineEdit> self = &box;
  QObject::connect(&box, &QLineEdit::cursorPositionChanged, &box, [kept, self](int, int now) {
    if (self->text() == kept->text) kept->cursor = now;
  });
  QObject::connect(&box, &QLineEdit::textChanged, &box, [kept, self, refused](const QString& text) {
    const QString bad = unstorable(text);
    if (bad.isEmpty() || !self->isModified()) {
      kept->text = text;
      kept->cursor = self->cursorPosition();
      return;
    }
    self->setText(kept->text);
    self->setCursorPosition(kept->cursor);
    if (refused) refused(bad);
  });
}

}  // namespace ui
