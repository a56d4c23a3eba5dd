#include "core/ui/helpviewer.h"

#include <QHash>
#include <QKeySequence>
#include <QPointer>
#include <QShortcut>
#include <QTextBrowser>
#include <QVariant>
#include <QVBoxLayout>

namespace ui {
namespace {

// One help window per title, kept while it lives; a closed window is
// deleted and the next F1 makes a fresh one.
QHash<QString, QPointer<QWidget>>& helpwindows() {
  static QHash<QString, QPointer<QWidget>> windows;
  return windows;
}

}  // namespace

QWidget* showhelp(QWidget* parent, const QString& title, const QString& html) {
  QPointer<QWidget>& slot = helpwindows()[title];
  if (slot.isNull()) {
    // A top-level window of its own (owned by the parent's window, so it
    // goes when that window goes), never modal.
    QWidget* owner = parent != nullptr ? parent->window() : nullptr;
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
  win->show();
  win->raise();
  win->activateWindow();
  return win;
}

void installhelpkey(QWidget& window, const QString& title, const QString& html) {
  auto* key = new QShortcut(QKeySequence(Qt::Key_F1), &window);
  key->setContext(Qt::WindowShortcut);
  QWidget* target = &window;
  QObject::connect(key, &QShortcut::activated, target, [target, title, html] { showhelp(target, title, html); });
}

}  // namespace ui
