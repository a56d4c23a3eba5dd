#include "core/ui/messages.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "core/ui/helpviewer.h"

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

int titlewidth(const QString& title) {
  // The window system draws the title in a bold face of about the
  // program's size, beside the window's icon and its title-bar buttons.
  QFont bold = QApplication::font();
  bold.setBold(true);
  const QFontMetrics metrics(bold);
  return metrics.horizontalAdvance(title) + 6 * metrics.height();
}

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
  // A short message makes a narrow box: the box is kept wide enough for
  // its title to show whole. The box sizes itself to its layout.
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
    grid->addItem(new QSpacerItem(titlewidth(title), 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(),
                  0, 1, grid->columnCount());
  // F1 opens the help at the section of the window that shows the box.
  if (parent != nullptr) inherithelpkey(*parent, box);
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

void unloadwindow(QWidget* window, std::vector<QPointer<QWidget>>& pending) {
  if (window == nullptr) return;
  window->hide();
  pending.emplace_back(window);
  window->deleteLater();
}

void endapplication() {
  for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
  QCoreApplication::exit(0);
}

}  // namespace ui
