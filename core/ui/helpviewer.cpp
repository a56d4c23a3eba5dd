#include "core/ui/helpviewer.h"

#include <QHash>
#include <QKeySequence>
#include <QScreen>
#include <QPointer>
#include <QShortcut>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFrame>
#include <QVariant>
#include <QVBoxLayout>
#include <algorithm>

#include "core/ui/messages.h"

namespace ui {
namespace {

// One help window per title, kept while it lives; a closed window is
// deleted and the next F1 makes a fresh one.
QHash<QString, QPointer<QWidget>>& helpwindows() {
  static QHash<QString, QPointer<QWidget>> windows;
  return windows;
}

// Puts the help window's centre on the centre of the window that asked,
// kept on that window's screen.
void centreover(QWidget& win, const QWidget* owner) {
  if (owner == nullptr) return;
  const QRect over = owner->frameGeometry();
  const QSize size = win.frameGeometry().size();
  QPoint corner = over.center() - QPoint(size.width() / 2, size.height() / 2);
  if (const QScreen* screen = owner->screen()) {
    const QRect room = screen->availableGeometry();
    corner.setX(std::max(room.left(), std::min(corner.x(), room.right() - size.width())));
    corner.setY(std::max(room.top(), std::min(corner.y(), room.bottom() - size.height())));
  }
  win.move(corner);
}

// Room below the last section as tall as the view, so that every section,
// the last ones too, can be scrolled to the top of the window.
void roombelow(QTextBrowser& browser) {
  QTextFrame* root = browser.document()->rootFrame();
  QTextFrameFormat format = root->frameFormat();
  const int room = browser.viewport()->height();
  if (format.bottomMargin() == room) return;
  format.setBottomMargin(room);
  root->setFrameFormat(format);
}

}  // namespace

QWidget* showhelp(QWidget* parent, const QString& title, const QString& html, const QString& anchor) {
  QPointer<QWidget>& slot = helpwindows()[title];
  // A top-level window of its own, never modal, owned by the window that
  // asked: it goes when that window goes, and stays usable while that
  // window is modal.
  QWidget* owner = parent != nullptr ? parent->window() : nullptr;
  // A closed window is already on its way out (it deletes itself once the
  // events are run): it is left to go and a fresh one made.
  if (!slot.isNull() && !slot->isVisible()) slot = nullptr;
  if (!slot.isNull() && slot->parentWidget() != owner) {
    // Asked from another window: the open help moves to its new owner.
    slot->setParent(owner, slot->windowFlags());
  }
  if (slot.isNull()) {
    auto* win = new QWidget(owner, Qt::Window);
    win->setAttribute(Qt::WA_DeleteOnClose);
    win->setWindowModality(Qt::NonModal);
    win->setObjectName(QStringLiteral("helpwindow"));
    auto* layout = new QVBoxLayout(win);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* browser = new QTextBrowser(win);
    browser->setObjectName(QStringLiteral("helpbrowser"));
    browser->setOpenExternalLinks(false);
    layout->addWidget(browser);
    win->resize(420, 360);
    // Escape closes it, so that the keyboard alone can put it away, and
    // gives the keyboard back to the window that asked for it.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), win);
    QObject::connect(escape, &QShortcut::activated, win, [win] {
      QWidget* back = win->parentWidget();
      win->close();
      givebackkeyboard(back);
    });
    slot = win;
  }
  QWidget* win = slot.data();
  win->setWindowTitle(title);
  if (auto* browser = win->findChild<QTextBrowser*>(QStringLiteral("helpbrowser"))) {
    // The text is set again only when it changed, so a reopened window keeps
    // its scroll position.
    if (browser->property("helpsource").toString() != html) {
      browser->setHtml(html);
      browser->setProperty("helpsource", html);
    }
  }
  centreover(*win, owner);
  win->show();
  // Shown, the view has its height: the section is scrolled to the top.
  if (auto* browser = win->findChild<QTextBrowser*>(QStringLiteral("helpbrowser"))) {
    roombelow(*browser);
    if (!anchor.isEmpty()) browser->scrollToAnchor(anchor);
  }
  win->raise();
  win->activateWindow();
  return win;
}

void installhelpkey(QWidget& window, const QString& title, const QString& html, const QString& anchor) {
  auto* key = new QShortcut(QKeySequence(Qt::Key_F1), &window);
  key->setContext(Qt::WindowShortcut);
  QWidget* target = &window;
  QObject::connect(key, &QShortcut::activated, target,
                   [target, title, html, anchor] { showhelp(target, title, html, anchor); });
  // Kept with the window, so that its message boxes open the same section.
  window.setProperty("helptitle", title);
  window.setProperty("helphtml", html);
  window.setProperty("helpanchor", anchor);
}

void inherithelpkey(const QWidget& from, QWidget& box) {
  const QWidget* owner = from.window();
  const QString title = owner->property("helptitle").toString();
  if (title.isEmpty()) return;
  installhelpkey(box, title, owner->property("helphtml").toString(), owner->property("helpanchor").toString());
}

}  // namespace ui
