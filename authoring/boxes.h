// The tool's text boxes: a character limit counted as the file counts it (a
// line break is two characters), texts in and out with CR LF line breaks,
// and a key-press hook that sees each typed character first and may discard
// it. And a label for texts that name files.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <functional>

namespace authoring {

// The key-press hook: returns false to discard the key.
using KeyPress = std::function<bool(QKeyEvent* event)>;

class TextBox : public QPlainTextEdit {
  Q_OBJECT
 public:
  TextBox(int maxlength, QWidget* parent = nullptr);
  // The text as it was set, until it is edited; then with CR LF line
  // breaks. A text set here is kept whole even past the limit: the limit
  // holds typing, pasting and input methods, counted as the field will
  // store the edited text, and a change that would pass it is refused
  // whole, so that the box keeps its text.
  QString text() const;
  void setText(const QString& text);
  int maxlength() const { return maxlength_; }
  // Replaces the selection by as much of the text as the limit leaves room for.
  void pastetext(const QString& text);
  KeyPress onkeypress;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  int room() const;  // characters that may still be typed over the selection
  void enforcelimit();
  int maxlength_;
  // The longest the stored text may be after an edit: the limit, or the
  // length of a longer text put in by the program while it is shortened.
  int ceiling_;
  bool limiting_ = false;
  QString set_;           // the text as the program last set it
  bool edited_ = false;   // changed since then
  bool setting_ = false;
  QString kept_;          // the box's text after the last change it took
};

class LineBox : public QLineEdit {
  Q_OBJECT
 public:
  LineBox(int maxlength, QWidget* parent = nullptr);
  KeyPress onkeypress;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

// A label for a text that names a file: a long name is never cut off at its
// end. On one line (elide) it loses its middle and the whole text shows as
// the tip; wrapped (wrap, centred) it is broken anywhere a line must end.
class NameLabel : public QLabel {
  Q_OBJECT
 public:
  enum class Fit { elide, wrap };
  explicit NameLabel(Fit fit, QWidget* parent = nullptr);
  // Wrapped, the height the text takes at that width, in pixels.
  int heightForWidth(int width) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Fit fit_;
};

// Every text box of the tool types no character with Alt, and refuses with
// a message a character that its files cannot hold (they are Windows-1252).
// TextBox and LineBox do so themselves; this makes another one-line box do it.
void storableonly(QLineEdit& box);

}  // namespace authoring
