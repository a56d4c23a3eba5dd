// dosavo's own help text, shown in the help viewer by F1 and by the menu's
// Help item.
#pragma once

#include <QString>

class QWidget;

namespace trainee {

QString helptitle();
QString helphtml();
// Opens the help viewer with dosavo's help, at the named section
// ("starting", "menu", "exercise", "calculator", "progress", "settings",
// "finishing") when one is given.
QWidget* showdosavohelp(QWidget* parent, const QString& section = {});
// Makes F1 open the help in a window, at the window's own section.
void installdosavohelp(QWidget& window, const QString& section = {});

}  // namespace trainee
