#include "core/ui/messages.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace ui {
namespace {
MessageHook& messagehook() {
  static MessageHook h;
  return h;
}
ModalHook& modalhook() {
  static ModalHook h;
  return h;
}
// The window that gets the keyboard back when a box or dialog closes: the
// active one, or else the owner's. Boxes shown one after another can leave
// no window active in between (the closed box took the keyboard with it).
QWidget* windowtogiveback(QWidget* owner) {
  QWidget* active = QApplication::activeWindow();
  if (active == nullptr && owner != nullptr) active = owner->window();
  return active;
}
}  // namespace

void setmessagehook(MessageHook hook) { messagehook() = std::move(hook); }
void setmodalhook(ModalHook hook) { modalhook() = std::move(hook); }

void showbox(QWidget* parent, const QString& text, const QString& title, QMessageBox::Icon icon) {
  if (messagehook()) {
    messagehook()(title, text, icon);
    return;
  }
  QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
  // Messages carry paths and values from the data files: never markup.
  box.setTextFormat(Qt::PlainText);
  QWidget* before = windowtogiveback(parent);
  box.exec();
  givebackkeyboard(before);
}

int runmodal(QDialog& dialog) {
  if (modalhook()) {
    dialog.setModal(true);
    dialog.show();
    modalhook()(dialog);
    if (dialog.isVisible()) dialog.done(QDialog::Rejected);
    return dialog.result();
  }
  QWidget* before = windowtogiveback(dialog.parentWidget());
  const int result = dialog.exec();
  givebackkeyboard(before);
  return result;
}

void givebackkeyboard(QWidget* window) {
  QPointer<QWidget> back = window;
  QTimer::singleShot(0, [back] {
    const QWidget* active = QApplication::activeWindow();
    if (back.isNull() || !back->isVisible() || (active != nullptr && active->isVisible())) return;
    back->activateWindow();
  });
}

void showactive(QWidget& window) {
  window.show();
  window.activateWindow();
}

void endapplication() {
  for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
  QCoreApplication::exit(0);
}

}  // namespace ui
